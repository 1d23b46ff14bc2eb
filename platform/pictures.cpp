#include "pictures.h"

#include <QDir>
#include <QFile>
#include <QIconEngine>
#include <QImageReader>
#include <QPaintEngine>
#include <QPainter>
#include <QStyleOption>
#include <QStylePainter>
#include <algorithm>
#include <cmath>
#include <vector>

#include "controls.h"

namespace kx {

namespace {
// A painter that records the drawing for a page (see printing.h) knows no
// resolution yet: our bitmaps go into it at their largest.
bool isRecording(QPainter& p) { return p.paintEngine() && p.paintEngine()->type() == QPaintEngine::Picture; }
constexpr qreal kLargestScale = 1000;
}  // namespace

QImage readPng(const QString& fileName) {
    if (!QFile::exists(fileName))
        return {};  // quietly: the reader would warn
    QImageReader reader(fileName, "png");
    reader.setAutoDetectImageFormat(false);
    return reader.read();
}

namespace {

// The names of the files in a folder of the program's resources that start
// and end as given. Not by a name filter: that is a regular expression,
// whose compiler would load at every start for this alone.
QStringList drawnFiles(const QString& folder, const QString& start, const QString& end) {
    QStringList files;
    for (const QString& file : QDir(folder).entryList(QDir::Files))
        if (file.startsWith(start) && file.endsWith(end))
            files << file;
    return files;
}

// An icon from the bitmaps drawn ahead from its SVG at build time (see
// window/CMakeLists.txt), each read only when a size needs it: the exact
// size where one was drawn, else the next larger one scaled down. Like the
// SVG it was drawn from it names no sizes of its own, so the X11 window icon
// takes the usual four instead of every bitmap.
class DrawnIconEngine : public QIconEngine {
public:
    explicit DrawnIconEngine(QLatin1StringView name) : folder_(QStringLiteral(":/kx/icons/%1").arg(name)) {
        for (const QString& file : drawnFiles(folder_, {}, QStringLiteral(".png")))
            sizes_.push_back(QStringView(file).chopped(4).toInt());
        std::ranges::sort(sizes_);
    }

    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override {
        return devicePixmap(size, mode, state);
    }
    QPixmap scaledPixmap(const QSize& size, QIcon::Mode mode, QIcon::State state, qreal scale) override {
#if QT_VERSION >= QT_VERSION_CHECK(6, 8, 0)
        return devicePixmap((QSizeF(size) * scale).toSize(), mode,
                            state);  // device-independent from 6.8 on
#else
        Q_UNUSED(scale);
        return devicePixmap(size, mode, state);  // already in device pixels
#endif
    }
    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State state) override {
        const qreal ratio = painter->device()->devicePixelRatio();
        QPixmap pm = devicePixmap((QSizeF(rect.size()) * ratio).toSize(), mode, state);
        pm.setDevicePixelRatio(ratio);
        painter->drawPixmap(rect, pm);
    }
    QSize actualSize(const QSize& size, QIcon::Mode, QIcon::State) override { return size; }
    QList<QSize> availableSizes(QIcon::Mode, QIcon::State) override { return {}; }
    QString key() const override { return QStringLiteral("KXDrawnIcon"); }
    QIconEngine* clone() const override { return new DrawnIconEngine(*this); }

private:
    QPixmap devicePixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) {
        if (sizes_.empty())
            return {};
        const int wanted = std::max(size.width(), size.height());
        const auto larger = std::ranges::lower_bound(sizes_, wanted);
        const int drawn = larger == sizes_.end() ? sizes_.back() : *larger;
        if (!read_.contains(drawn)) {
            read_.push_back(drawn);
            drawn_.addPixmap(QPixmap::fromImage(readPng(QStringLiteral("%1/%2.png").arg(folder_).arg(drawn))));
        }
        // The icon picks the bitmap read for this size, scales it where it
        // must, and draws the disabled look.
        return drawn_.pixmap(size, 1.0, mode, state);
    }

    QString folder_;
    std::vector<int> sizes_;
    QList<int> read_;
    QIcon drawn_;
};

}  // namespace

QIcon drawnIcon(QLatin1StringView name) { return QIcon(new DrawnIconEngine(name)); }

// --- Picture

// A picture is shown from bitmaps drawn ahead from our SVG art at build time
// (window/CMakeLists.txt), so the program needs no SVG renderer. At the
// common scales there is one for each place the picture's corner can fall
// inside a device pixel, each exactly what the SVG renderer paints; at the
// other usual scales one for a whole-pixel corner, shown at the nearest
// device pixel. At any other scale the nearest larger bitmap is scaled.
Picture::Picture(QLatin1StringView name, Border border, QWidget* parent)
    : QWidget(parent), name_(name), border_(border) {
    // At 100 % the bitmap has the picture's own size.
    size_ = drawnFor(1, QPointF(0, 0)).image.size();
    actAsButton(this, [this] { emit clicked(); });
}

QSize Picture::pictureSize() const { return size_; }

int Picture::borderWidth() const { return border_ == Border::Sunken ? 2 : border_ == Border::Single ? 1 : 0; }

QString Picture::drawnFile(qreal ratio, QPointF corner) const {
    return QStringLiteral(":/kx/pictures/%1@%2x+%3+%4.png")
        .arg(name_, QString::number(ratio), QString::number(corner.x()), QString::number(corner.y()));
}

const Picture::Drawn& Picture::drawnFor(qreal ratio, QPointF inPixel) {
    if (drawn_.ratio == ratio && drawn_.inPixel == inPixel)
        return drawn_;
    drawn_ = {ratio, inPixel, readPng(drawnFile(ratio, inPixel)), inPixel};
    if (drawn_.image.isNull() && !inPixel.isNull()) {
        drawn_.image = readPng(drawnFile(ratio, QPointF(0, 0)));
        drawn_.shift = inPixel - QPointF(std::round(inPixel.x()), std::round(inPixel.y()));
    }
    drawn_.image.setDevicePixelRatio(ratio);
    return drawn_;
}

const QImage& Picture::nearestDrawn(qreal ratio) {
    if (nearest_.isNull() || nearestFor_ != ratio) {
        // The scales drawn are those the build chose (window/CMakeLists.txt):
        // the smallest at or above this one, else the largest.
        const QString prefix = name_ + u'@';
        qreal best = 0;
        for (const QString& file : drawnFiles(QStringLiteral(":/kx/pictures"), prefix, QStringLiteral("x+0+0.png"))) {
            const qreal r = QStringView(file).sliced(prefix.size()).chopped(int(qstrlen("x+0+0.png"))).toDouble();
            const bool covers = r >= ratio, bestCovers = best >= ratio;
            if (best == 0 || (covers && (!bestCovers || r < best)) || (!covers && !bestCovers && r > best))
                best = r;
        }
        nearest_ = readPng(drawnFile(best, QPointF(0, 0)));
        nearestFor_ = ratio;
    }
    return nearest_;
}

void Picture::drawPicture(QPainter& p, QPointF at) {
    if (isRecording(p)) {
        p.drawImage(QRectF(at, QSizeF(pictureSize())), nearestDrawn(kLargestScale));
        return;
    }
    const QTransform t = p.deviceTransform();
    if (t.type() <= QTransform::TxScale && t.m11() == t.m22() && t.m11() > 0) {
        const qreal ratio = t.m11();
        const QPointF corner = t.map(at);
        const QPointF inPixel(corner.x() - std::floor(corner.x()), corner.y() - std::floor(corner.y()));
        const Drawn& drawn = drawnFor(ratio, inPixel);
        if (!drawn.image.isNull()) {
            // Pixel for pixel onto device pixels.
            p.drawImage(at - drawn.shift / ratio, drawn.image);
            return;
        }
    }
    p.setRenderHint(QPainter::SmoothPixmapTransform);
    p.drawImage(QRectF(at, QSizeF(pictureSize())), nearestDrawn(std::max(t.m11(), t.m22())));
}

void Picture::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.fillRect(rect(), palette().color(QPalette::Window));
    const int b = borderWidth();
    p.save();
    p.setClipRect(rect().adjusted(b, b, -b, -b));
    drawPicture(p, QPointF(b, b));
    p.restore();
    if (border_ == Border::Single) {
        p.setPen(QPen(Qt::black, 0));
        p.drawRect(rect().adjusted(0, 0, -1, -1));
    } else if (border_ == Border::Sunken) {
        QStyleOptionFrame frame;
        frame.initFrom(this);
        frame.lineWidth = 2;
        frame.state |= QStyle::State_Sunken;
        frame.frameShape = QFrame::Panel;
        style()->drawPrimitive(QStyle::PE_Frame, &frame, &p, this);
    }
    if (hasFocus()) {
        QStyleOptionFocusRect focus;
        focus.initFrom(this);
        focus.rect = rect();
        style()->drawPrimitive(QStyle::PE_FrameFocusRect, &focus, &p, this);
    }
}

// --- IconButton

// --- IconButton

void IconButton::paintEvent(QPaintEvent* e) {
    QStylePainter p(this);
    if (icon().isNull() || !text().isEmpty() || !isRecording(p)) {
        p.end();
        QPushButton::paintEvent(e);
        return;
    }
    QStyleOptionButton option;
    initStyleOption(&option);
    const QSize size = option.iconSize;
    option.icon = QIcon();
    option.state &= ~QStyle::State_HasFocus;  // a click on Print gives it the focus; paper needs no sign of it
    p.drawControl(QStyle::CE_PushButton, option);
    // Centred in the button's contents as the style centres it.
    const QRect contents = style()->subElementRect(QStyle::SE_PushButtonContents, &option, this);
    QRect at(contents.x() + (contents.width() - size.width()) / 2,
             contents.y() + (contents.height() - size.height()) / 2, size.width(), size.height());
    if (option.state & (QStyle::State_On | QStyle::State_Sunken))
        at.translate(style()->pixelMetric(QStyle::PM_ButtonShiftHorizontal, &option, this),
                     style()->pixelMetric(QStyle::PM_ButtonShiftVertical, &option, this));
    p.drawPixmap(at, icon().pixmap(size, kLargestScale, isEnabled() ? QIcon::Normal : QIcon::Disabled));
}

}  // namespace kx
