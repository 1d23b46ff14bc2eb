// The yardstick of the start-up benchmark: an empty Qt Widgets window of the
// calculator's size, shown the way the program shows its window.
#include <QApplication>
#include <QWidget>

#include "layout.h"

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QWidget window;
    window.setFixedSize(kx::twipsToPixels(kx::kClientWidthTwips), kx::twipsToPixels(kx::kClientHeightTwips));
    window.show();
    return QApplication::exec();
}
