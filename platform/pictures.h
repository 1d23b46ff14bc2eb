// Our pictures and icons, from bitmaps drawn ahead at build time from our SVG
// art, so that they stay sharp at the usual screen scales.
#pragma once

#include <QIcon>
#include <QImage>
#include <QMetaMethod>
#include <QPushButton>

namespace kx {

// A PNG file, read by Qt's own reader: without a format named and fixed,
// reading any image loads and asks every image format plugin installed.
// A null image where the file is missing.
QImage readPng(const QString& fileName);

// An icon from the bitmaps drawn ahead at build time from the SVG of that
// name, at the pixel sizes the usual screen scales need; any other size is
// scaled down from the next larger one.
QIcon drawnIcon(QLatin1StringView name);

// One of our pictures, from bitmaps drawn ahead at build time, so it stays
// sharp at the usual screen scales. Clickable and, where it takes the focus,
// operable with Space and Return.
class Picture : public QWidget {
    Q_OBJECT
public:
    enum class Border { None, Single, Sunken };
    Picture(QLatin1StringView name, Border border, QWidget* parent = nullptr);
    QSize pictureSize() const;
    int borderWidth() const;
    // Whether a click does anything: only then is the picture a button.
    bool isClickable() const { return isSignalConnected(QMetaMethod::fromSignal(&Picture::clicked)); }

signals:
    void clicked();

protected:
    void paintEvent(QPaintEvent*) override;

private:
    // The bitmap for a scale and a corner's place inside a device pixel,
    // and how far its corner is from there (0 where drawn for that place).
    struct Drawn {
        qreal ratio = 0;
        QPointF inPixel;
        QImage image;
        QPointF shift;
    };
    void drawPicture(QPainter& p, QPointF at);
    QString drawnFile(qreal ratio, QPointF corner) const;
    const Drawn& drawnFor(qreal ratio, QPointF inPixel);
    const QImage& nearestDrawn(qreal ratio);

    QString name_;
    Border border_;
    QSize size_;
    Drawn drawn_;
    qreal nearestFor_ = 0;
    QImage nearest_;  // only at scales with no bitmap of their own
};

// A button showing one of our drawn icons. The style takes an icon's bitmap
// for the screen's scale; on paper, where the painter enlarges far beyond
// it, the button draws the icon from its largest bitmap itself.
class IconButton : public QPushButton {
    Q_OBJECT
public:
    using QPushButton::QPushButton;

protected:
    void paintEvent(QPaintEvent* e) override;
};

}  // namespace kx
