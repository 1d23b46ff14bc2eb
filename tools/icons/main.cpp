// Renders the program icon from its SVG into the bitmap files the desktops
// want: one PNG per size and, where asked, a Windows icon holding them all.
//   kx-icons SVG OUTDIR SIZE... [--ico FILE]
// Each PNG is drawn from the vector art at its own size, never scaled from
// another bitmap, so even the smallest one stays sharp.
#include <QBuffer>
#include <QDataStream>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>
#include <cstdio>

namespace {

QImage renderIcon(QSvgRenderer& svg, int size) {
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::SmoothPixmapTransform);
    svg.render(&p, QRectF(0, 0, size, size));
    return image;
}

// A Windows icon file with one PNG-compressed entry per size up to 256
// pixels (the format's limit); Windows reads these since Vista. Qt's own ICO
// writer stores a single picture per file, so the container is written here.
bool writeIco(const QString& fileName, const QList<QImage>& images) {
    QList<QByteArray> pngs;
    QList<int> sizes;
    for (const QImage& image : images) {
        if (image.width() > 256)
            continue;
        QByteArray png;
        QBuffer buffer(&png);
        buffer.open(QIODevice::WriteOnly);
        if (!image.save(&buffer, "PNG"))
            return false;
        pngs << png;
        sizes << image.width();
    }
    QFile file(fileName);
    if (pngs.isEmpty() || !file.open(QIODevice::WriteOnly))
        return false;
    QDataStream out(&file);
    out.setByteOrder(QDataStream::LittleEndian);
    out << quint16(0) << quint16(1) << quint16(pngs.size());  // reserved, type icon, count
    quint32 offset = 6 + 16 * quint32(pngs.size());
    for (qsizetype i = 0; i < pngs.size(); ++i) {
        const auto side = quint8(sizes[i] == 256 ? 0 : sizes[i]);  // 0 stands for 256
        out << side << side << quint8(0) << quint8(0)                // no palette, reserved
            << quint16(1) << quint16(32)                             // planes, bits per pixel
            << quint32(pngs[i].size()) << offset;
        offset += quint32(pngs[i].size());
    }
    for (const QByteArray& png : std::as_const(pngs))
        out.writeRawData(png.constData(), int(png.size()));
    return out.status() == QDataStream::Ok && file.flush();
}

int usage() {
    std::fputs("usage: kx-icons SVG OUTDIR SIZE... [--ico FILE]\n", stderr);
    return 2;
}

}  // namespace

int main(int argc, char* argv[]) {
    // Only raster painting is needed: no display, whatever the environment says.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QStringList args = QGuiApplication::arguments().mid(1);
    QString icoFile;
    if (const qsizetype at = args.indexOf(QStringLiteral("--ico")); at >= 0) {
        if (at + 1 >= args.size())
            return usage();
        icoFile = args.at(at + 1);
        args.remove(at, 2);
    }
    if (args.size() < 3)
        return usage();

    QSvgRenderer svg(args.at(0));
    if (!svg.isValid()) {
        std::fprintf(stderr, "kx-icons: cannot read %s\n", qPrintable(args.at(0)));
        return 1;
    }
    const QDir out(args.at(1));
    if (!QDir().mkpath(out.path()))
        return 1;

    QList<QImage> images;
    for (const QString& word : args.mid(2)) {
        bool ok = false;
        const int size = word.toInt(&ok);
        if (!ok || size < 1 || size > 1024)
            return usage();
        const QImage image = renderIcon(svg, size);
        const QString file = out.filePath(QStringLiteral("%1.png").arg(size));
        if (!image.save(file, "PNG")) {
            std::fprintf(stderr, "kx-icons: cannot write %s\n", qPrintable(file));
            return 1;
        }
        images << image;
    }

    if (!icoFile.isEmpty() && !writeIco(icoFile, images)) {
        std::fprintf(stderr, "kx-icons: cannot write %s\n", qPrintable(icoFile));
        return 1;
    }
    return 0;
}
