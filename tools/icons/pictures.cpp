// Draws the window's pictures ahead, at build time, exactly as the window
// would draw them from their SVG at the usual screen scales, so that the
// program shows them without loading the SVG renderer at start-up.
//   kx-pictures SVG OUTDIR NAME VARIANT...
// A VARIANT is "<ratio>x+<dx>+<dy>": the device pixel ratio and where the
// picture's corner falls inside a device pixel (0 or 0.5 at 150 %). Each
// becomes OUTDIR/NAME@VARIANT.png, drawn on the window's white like on screen
// (the colour is stored in the file as its "Background" text).
#include <QColor>
#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QRegularExpression>
#include <QSvgRenderer>
#include <QTemporaryDir>
#include <cmath>
#include <cstdio>

#include "drawing.h"

int main(int argc, char* argv[]) {
    // Only raster painting is needed: no display, whatever the environment
    // says, and a runtime folder of its own where a build (in a plain root, a
    // container) has none, which the platform would warn of.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir runtime;
    if (qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR"))
        qputenv("XDG_RUNTIME_DIR", QFile::encodeName(runtime.path()));
    QGuiApplication app(argc, argv);
    const QStringList args = QGuiApplication::arguments().mid(1);
    if (args.size() < 4) {
        std::fputs("usage: kx-pictures SVG OUTDIR NAME VARIANT...\n", stderr);
        return 2;
    }
    QSvgRenderer svg;
    QDir out;
    if (!startDrawing("kx-pictures", args.at(0), args.at(1), svg, out))
        return 1;
    const QColor background(Qt::white);
    const QSizeF size = svg.defaultSize();
    static const QRegularExpression variantPattern(QStringLiteral("^([0-9.]+)x\\+([0-9.]+)\\+([0-9.]+)$"));
    for (const QString& variant : args.mid(3)) {
        const QRegularExpressionMatch m = variantPattern.match(variant);
        if (!m.hasMatch()) {
            std::fprintf(stderr, "kx-pictures: bad variant %s\n", qPrintable(variant));
            return 2;
        }
        const double ratio = m.captured(1).toDouble();
        const double dx = m.captured(2).toDouble(), dy = m.captured(3).toDouble();
        // Every device pixel the picture touches, whole.
        QImage image(int(std::ceil(size.width() * ratio + dx)), int(std::ceil(size.height() * ratio + dy)),
                     QImage::Format_RGB32);
        image.fill(background);
        QPainter p(&image);
        p.translate(dx, dy);
        p.scale(ratio, ratio);
        svg.render(&p, QRectF(QPointF(0, 0), size));
        p.end();
        image.setText(QStringLiteral("Background"), background.name());
        const QString file = out.filePath(QStringLiteral("%1@%2.png").arg(args.at(2), variant));
        if (!image.save(file, "PNG")) {
            std::fprintf(stderr, "kx-pictures: cannot write %s\n", qPrintable(file));
            return 1;
        }
    }
    return 0;
}
