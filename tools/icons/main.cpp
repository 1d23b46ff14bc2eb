// Renders the program icon from its SVG into the bitmap files the desktops
// want: one PNG per size and, where asked, a Windows icon (.ico) and a macOS
// icon (.icns) holding the sizes those systems look for.
//   kx-icons SVG OUTDIR SIZE... [--ico FILE] [--icns FILE]
// Every bitmap is drawn from the vector art at its own size, never scaled
// from another bitmap, so even the smallest one stays sharp.
#include <QBuffer>
#include <QCoreApplication>
#include <QDataStream>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>
#include <cstdio>
#include <utility>

#include "drawing.h"

namespace {

QImage renderIcon(QSvgRenderer& svg, int size) {
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    image.setDotsPerMeterX(3780);  // 96 dots per inch: icons are meant 1:1 on screen
    image.setDotsPerMeterY(3780);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::SmoothPixmapTransform);
    svg.render(&p, QRectF(0, 0, size, size));
    return image;
}

QByteArray pngBytes(const QImage& image) {
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    return image.save(&buffer, "PNG") ? png : QByteArray();
}

// A Windows icon file with one PNG-compressed entry per size; Windows reads
// these since Vista. Qt's own ICO writer stores a single picture per file,
// so the container is written here.
bool writeIco(const QString& fileName, QSvgRenderer& svg) {
    const int sizes[] = {16, 24, 32, 48, 64, 128, 256};  // 256 is the format's limit
    QList<QByteArray> pngs;
    for (int size : sizes)
        pngs << pngBytes(renderIcon(svg, size));
    QFile file(fileName);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    QDataStream out(&file);
    out.setByteOrder(QDataStream::LittleEndian);
    out << quint16(0) << quint16(1) << quint16(pngs.size());  // reserved, type icon, count
    quint32 offset = 6 + 16 * quint32(pngs.size());
    for (qsizetype i = 0; i < pngs.size(); ++i) {
        if (pngs[i].isEmpty())
            return false;
        const auto side = quint8(sizes[i] == 256 ? 0 : sizes[i]);  // 0 stands for 256
        out << side << side << quint8(0) << quint8(0)              // no palette, reserved
            << quint16(1) << quint16(32)                           // planes, bits per pixel
            << quint32(pngs[i].size()) << offset;
        offset += quint32(pngs[i].size());
    }
    for (const QByteArray& png : std::as_const(pngs))
        out.writeRawData(png.constData(), int(png.size()));
    return out.status() == QDataStream::Ok && file.flush();
}

// A macOS icon file: big-endian chunks of a four-letter type and a PNG, one
// per size and pixel density the Finder and the Dock ask for.
bool writeIcns(const QString& fileName, QSvgRenderer& svg) {
    const std::pair<const char*, int> entries[] = {{"icp4", 16},  {"icp5", 32},  {"ic11", 32},  {"ic12", 64},
                                                   {"ic07", 128}, {"ic13", 256}, {"ic08", 256}, {"ic14", 512},
                                                   {"ic09", 512}, {"ic10", 1024}};
    QByteArray body;
    QDataStream chunks(&body, QIODevice::WriteOnly);  // big-endian by default
    for (const auto& [type, size] : entries) {
        const QByteArray png = pngBytes(renderIcon(svg, size));
        if (png.isEmpty())
            return false;
        chunks.writeRawData(type, 4);
        chunks << quint32(8 + png.size());
        chunks.writeRawData(png.constData(), int(png.size()));
    }
    QFile file(fileName);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    QDataStream out(&file);
    out.writeRawData("icns", 4);
    out << quint32(8 + body.size());
    out.writeRawData(body.constData(), int(body.size()));
    return out.status() == QDataStream::Ok && file.flush();
}

int usage() {
    std::fputs("usage: kx-icons SVG OUTDIR SIZE... [--ico FILE] [--icns FILE]\n", stderr);
    return 2;
}

// Removes "OPTION FILE" from the arguments; false when FILE is missing.
bool takeOption(QStringList& args, const QString& option, QString& value) {
    const qsizetype at = args.indexOf(option);
    if (at < 0)
        return true;
    if (at + 1 >= args.size())
        return false;
    value = args.at(at + 1);
    args.remove(at, 2);
    return true;
}

}  // namespace

int main(int argc, char* argv[]) {
    // Raster painting of shapes only: no display, no fonts, no GUI
    // application object.
    QCoreApplication app(argc, argv);
    QStringList args = QCoreApplication::arguments().mid(1);
    QString icoFile, icnsFile;
    if (!takeOption(args, QStringLiteral("--ico"), icoFile) || !takeOption(args, QStringLiteral("--icns"), icnsFile) ||
        args.size() < 3)
        return usage();

    QSvgRenderer svg;
    QDir out;
    if (!startDrawing("kx-icons", args.at(0), args.at(1), svg, out))
        return 1;

    for (const QString& word : args.mid(2)) {
        bool ok = false;
        const int size = word.toInt(&ok);
        if (!ok || size < 1 || size > 1024)
            return usage();
        const QString file = out.filePath(QStringLiteral("%1.png").arg(size));
        if (!renderIcon(svg, size).save(file, "PNG")) {
            std::fprintf(stderr, "kx-icons: cannot write %s\n", qPrintable(file));
            return 1;
        }
    }
    if (!icoFile.isEmpty() && !writeIco(icoFile, svg)) {
        std::fprintf(stderr, "kx-icons: cannot write %s\n", qPrintable(icoFile));
        return 1;
    }
    if (!icnsFile.isEmpty() && !writeIcns(icnsFile, svg)) {
        std::fprintf(stderr, "kx-icons: cannot write %s\n", qPrintable(icnsFile));
        return 1;
    }
    return 0;
}
