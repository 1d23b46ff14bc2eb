// The yardstick of the start-up benchmark: a Qt Widgets window of the
// calculator's size, shown the way the program shows its window, that draws
// one line of text in the window's font (Arial 8.25, falling back to its
// metric twin as the program's fonts do). Any window with text pays for
// setting up the system's fonts and shaping a line: the program's lead over
// this window is what it does beyond that.
#include <QApplication>
#include <QPainter>
#include <QWidget>

#include "layout.h"

namespace {

class BareWindow : public QWidget {
protected:
    void paintEvent(QPaintEvent*) override {
        QPainter(this).drawText(rect(), Qt::AlignLeft | Qt::AlignTop, QStringLiteral("KX Calculator"));
    }
};

}  // namespace

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    BareWindow window;
    QFont font;
    font.setFamilies({QStringLiteral("Arial"), QStringLiteral("Liberation Sans")});
    font.setPointSizeF(8.25);
    window.setFont(font);
    window.setFixedSize(kx::twipsToPixels(kx::kClientWidthTwips), kx::twipsToPixels(kx::kClientHeightTwips));
    window.show();
    return QApplication::exec();
}
