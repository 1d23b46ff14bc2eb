#include "printing.h"

#include <QBuffer>
#include <QClipboard>
#include <QDir>
#include <QFileDialog>
#include <QGuiApplication>
#include <QLibrary>
#include <QLocale>
#include <QMimeData>
#include <QPaintEngine>
#include <QPainter>
#include <QPdfWriter>
#include <QPicture>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <QSaveFile>
#include <QStandardPaths>
#include <QWidget>
#include <algorithm>

namespace kx {

namespace {

// The footer line's size, and its distance from the window, in points.
constexpr double kFooterPoints = 7;
constexpr double kFooterGapPoints = 6;

// A copy of a recording with nothing transparent in it: every picture laid
// on what the screen shows beneath it, every translucent colour mixed with
// the paper's white (the style's translucent lines lie on white fields).
// Whatever has transparency is printed as a bitmap of all it covers, of the
// whole page where there are many such places, by CUPS's PostScript filter
// (every PostScript printer, the "print to PDF" printer of Linux desktops)
// and by the Windows print engine, and the text there would be no text on
// paper. It hands its drawing on to the copy the way Qt's own engine for
// such printers does.
class OpaqueCopy final : public QPaintDevice, public QPaintEngine {
public:
    OpaqueCopy(QPicture& out, QImage screen) : QPaintEngine(AllFeatures), out_(out), screen_(std::move(screen)) {}

    QPaintEngine* paintEngine() const override { return const_cast<OpaqueCopy*>(this); }
    int metric(PaintDeviceMetric m) const override {
        switch (m) {
            case PdmWidth: return int(screen_.deviceIndependentSize().width());
            case PdmHeight: return int(screen_.deviceIndependentSize().height());
            case PdmWidthMM: return int(screen_.deviceIndependentSize().width() * 25.4 / 96);
            case PdmHeightMM: return int(screen_.deviceIndependentSize().height() * 25.4 / 96);
            case PdmNumColors: return 16777216;
            case PdmDepth: return 24;
            case PdmDevicePixelRatio: return 1;
            case PdmDevicePixelRatioScaled: return int(devicePixelRatioFScale());
            default: return 96;  // the dots per inch the recording was made at
        }
    }

    Type type() const override { return User; }
    bool begin(QPaintDevice*) override { return into_.begin(&out_); }
    bool end() override { return into_.end(); }
    void updateState(const QPaintEngineState& changed) override {
        // The copy gets `changed`, the painter's own state, with opaque paint
        // in it, while the painter keeps the recording's. Set to none first,
        // the pen and the brush go to the copy again, mixed for the opacity.
        QPainter* p = painter();
        const QPen pen = p->pen();
        const QBrush brush = p->brush();
        const qreal opacity = p->opacity();
        p->setPen(Qt::NoPen);
        p->setBrush(Qt::NoBrush);
        p->setPen(onPaper(pen, opacity));
        p->setBrush(onPaper(brush, opacity));
        p->setOpacity(1);
        into_.setPen(p->pen());
        into_.setBrush(p->brush());
        into_.setBrushOrigin(p->brushOrigin());
        into_.setFont(p->font());
        into_.setOpacity(p->opacity());
        into_.setTransform(p->combinedTransform());
        engine()->updateState(changed);
        p->setPen(pen);
        p->setBrush(brush);
        p->setOpacity(opacity);
    }
    void drawRects(const QRect* r, int n) override { engine()->drawRects(r, n); }
    void drawRects(const QRectF* r, int n) override { engine()->drawRects(r, n); }
    void drawLines(const QLine* l, int n) override { engine()->drawLines(l, n); }
    void drawLines(const QLineF* l, int n) override { engine()->drawLines(l, n); }
    void drawEllipse(const QRectF& r) override { engine()->drawEllipse(r); }
    void drawEllipse(const QRect& r) override { engine()->drawEllipse(r); }
    void drawPath(const QPainterPath& path) override { engine()->drawPath(path); }
    void drawPoints(const QPointF* p, int n) override { engine()->drawPoints(p, n); }
    void drawPoints(const QPoint* p, int n) override { engine()->drawPoints(p, n); }
    void drawPolygon(const QPointF* p, int n, PolygonDrawMode m) override { engine()->drawPolygon(p, n, m); }
    void drawPolygon(const QPoint* p, int n, PolygonDrawMode m) override { engine()->drawPolygon(p, n, m); }
    void drawTextItem(const QPointF& p, const QTextItem& item) override { engine()->drawTextItem(p, item); }
    void drawPixmap(const QRectF& r, const QPixmap& pm, const QRectF& sr) override {
        engine()->drawImage(r, opaque(pm.toImage(), r, sr), sr);
    }
    void drawImage(const QRectF& r, const QImage& image, const QRectF& sr, Qt::ImageConversionFlags) override {
        engine()->drawImage(r, opaque(image, r, sr), sr);
    }
    void drawTiledPixmap(const QRectF& r, const QPixmap& pm, const QPointF& s) override {
        engine()->drawTiledPixmap(r, pm.hasAlpha() ? QPixmap::fromImage(opaque(pm.toImage(), r, {})) : pm, s);
    }

private:
    QPaintEngine* engine() { return into_.paintEngine(); }
    // The part `sr` of `image`, shown at `r`, as the screen shows it: the
    // image's own pixels where they hide what lies beneath, the screen's
    // where they let some of it through (laid once more on the screen, which
    // already holds them, they would come out darker).
    QImage opaque(const QImage& image, const QRectF& r, const QRectF& sr) {
        const qreal opacity = painter()->opacity();
        if (!image.hasAlphaChannel() && opacity == 1)
            return image;
        const QRectF on = painter()->combinedTransform().mapRect(r);
        const qreal ratio = screen_.devicePixelRatio();
        const QRectF part = sr.isEmpty() ? QRectF(image.rect()) : sr;
        QImage own = image.convertToFormat(QImage::Format_ARGB32);
        for (int y = 0; y < own.height(); ++y) {
            auto* line = reinterpret_cast<QRgb*>(own.scanLine(y));
            for (int x = 0; x < own.width(); ++x)
                if (qAlpha(line[x]) < 255 || opacity < 1)
                    line[x] = 0;
        }
        QImage flat(image.size(), QImage::Format_RGB32);
        QPainter paint(&flat);
        paint.fillRect(flat.rect(), Qt::white);
        paint.drawImage(part, screen_, QRectF(on.topLeft() * ratio, on.size() * ratio));
        paint.drawImage(0, 0, own);
        return flat;
    }
    // Translucent paint mixed with the paper's white.
    static QBrush onPaper(QBrush brush, qreal opacity) {
        const QColor c = brush.color();
        const float a = c.alphaF() * float(opacity);
        brush.setColor(QColor::fromRgbF(c.redF() * a + 1 - a, c.greenF() * a + 1 - a, c.blueF() * a + 1 - a));
        return brush;
    }
    static QPen onPaper(QPen pen, qreal opacity) {
        pen.setBrush(onPaper(pen.brush(), opacity));
        return pen;
    }
    QPicture& out_;
    QImage screen_;
    QPainter into_;
};

void drawPage(QPainter& p, int dpi, const Page& page) {
    QWidget* window = page.window;
    const double perPoint = dpi / 72.0;
    QFont font = window->font();
    font.setPixelSize(std::max(1, qRound(kFooterPoints * perPoint)));
    const QFontMetricsF metrics(font, p.device());
    const QSizeF client = window->size();
    const double footer = kFooterGapPoints * perPoint + metrics.height();
    // On a 96-dpi screen a pixel is 1/96 inch.
    const QRect area = p.viewport();
    const double scale =
        std::min({dpi / 96.0, area.width() / client.width(), (area.height() - footer) / client.height()});
    // The toolkit renders a widget onto a printer through one bitmap of the
    // whole; into a recording it keeps every control's drawing as it is.
    QPicture drawn;
    QPainter recorder(&drawn);
    window->render(&recorder, QPoint(), QRegion(), QWidget::DrawWindowBackground | QWidget::DrawChildren);
    recorder.end();
    QPicture opaque;
    OpaqueCopy copy(opaque, window->grab().toImage());
    QPainter(&copy).drawPicture(0, 0, drawn);
    // A recording plays back enlarged by the device's dots per inch over its own.
    const double playback = double(p.device()->logicalDpiX()) / opaque.logicalDpiX();
    p.save();
    p.scale(scale / playback, scale / playback);
    p.drawPicture(0, 0, opaque);
    p.restore();
    p.setFont(font);
    p.drawText(QPointF(0, client.height() * scale + kFooterGapPoints * perPoint + metrics.ascent()), page.footer);
}

// Qt hands a job to CUPS and drops CUPS's answer, which CUPS keeps for this
// thread until its next call. Its library is looked up only now, when Qt's
// print support has loaded it: linked into the program it would load, with
// its own dozen libraries, at every start.
bool cupsRefused() {
#if defined(Q_OS_UNIX) && !defined(Q_OS_DARWIN)
    using LastError = int (*)();
    static const auto lastError = reinterpret_cast<LastError>(QLibrary::resolve(u"cups"_qs, 2, "cupsLastError"));
    constexpr int kLastSuccessful = 0x00ff;  // IPP's status codes of success: 0x0000 to 0x00ff
    return lastError && lastError() > kLastSuccessful;
#else
    return false;
#endif
}

// Where the toolkit hears of a job the system refused but does not say so,
// this listens for it while one page is printed.
class RefusalWatch {
public:
    RefusalWatch() {
        active_ = this;
        previous_ = qInstallMessageHandler(&RefusalWatch::listen);
    }
    ~RefusalWatch() {
        qInstallMessageHandler(previous_);
        active_ = nullptr;
    }
    RefusalWatch(const RefusalWatch&) = delete;
    RefusalWatch& operator=(const RefusalWatch&) = delete;

    bool refused() const { return warned_ || cupsRefused(); }

private:
    static void listen(QtMsgType type, const QMessageLogContext& context, const QString& message) {
        // Windows: a spooler that refuses the job at its end is only warned of.
        if (message.startsWith(u"QWin32PrintEngine::"))
            active_->warned_ = true;
        active_->previous_(type, context, message);
    }
    static inline RefusalWatch* active_ = nullptr;
    QtMessageHandler previous_ = nullptr;
    bool warned_ = false;
};

Printer::Result printOn(QPrinter& printer, const Page& page) {
    printer.setDocName(page.window->windowTitle());
    const Printer::Result refused{Printer::Outcome::Refused, printer.printerName(), {}};
    RefusalWatch watch;
    QPainter painter;
    if (!painter.begin(&printer))
        return refused;
    drawPage(painter, printer.resolution(), page);
    if (!painter.end() || printer.printerState() == QPrinter::Error || watch.refused())
        return refused;
    return {};
}

QPageLayout paperLayout() {
    const QPrinterInfo info = QPrinterInfo::defaultPrinter();
    if (!info.isNull())
        return QPrinter(info, QPrinter::HighResolution).pageLayout();
    const bool letter = QLocale().measurementSystem() == QLocale::ImperialUSSystem;
    return {QPageSize(letter ? QPageSize::Letter : QPageSize::A4), QPageLayout::Portrait,
            QMarginsF(6.35, 6.35, 6.35, 6.35), QPageLayout::Millimeter};
}

}  // namespace

QByteArray pdfOf(const Page& page) {
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    QPdfWriter writer(&buffer);
    writer.setPageLayout(paperLayout());
    writer.setResolution(600);
    writer.setTitle(page.window->windowTitle());
    writer.setCreator(page.window->windowTitle());
    QPainter painter(&writer);
    drawPage(painter, writer.resolution(), page);
    painter.end();
    return buffer.data();
}

Printer::Result SystemPrinter::printDefault(const Page& page) {
    const QPrinterInfo info = QPrinterInfo::defaultPrinter();
    if (info.isNull())
        return {Outcome::NoPrinter, {}, {}};
    QPrinter printer(info, QPrinter::HighResolution);
    return printOn(printer, page);
}

Printer::Result SystemPrinter::printChoosing(const Page& page) {
    if (QPrinterInfo::availablePrinterNames().isEmpty())
        return {Outcome::NoPrinter, {}, {}};
    QPrinter printer(QPrinter::HighResolution);
    QPrintDialog dialog(&printer, page.window);
    // One page, on paper: a file is what "Save as PDF" makes.
    dialog.setOptions(QAbstractPrintDialog::PrintShowPageSize);
    dialog.setMinMax(1, 1);
    if (dialog.exec() != QDialog::Accepted)
        return {Outcome::Cancelled, {}, {}};
    return printOn(printer, page);
}

Printer::Result SystemPrinter::savePdf(const Page& page, const FileChoice& choice) {
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    QFileDialog dialog(page.window, choice.title, folder, choice.filter);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix(QStringLiteral("pdf"));
    dialog.selectFile(QDir(folder).filePath(choice.fileName));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {Outcome::Cancelled, {}, {}};
    const QString path = dialog.selectedFiles().constFirst();
    const QByteArray pdf = pdfOf(page);
    // Written whole or not at all: a full disk or a lost folder leaves an
    // existing file as it was.
    QSaveFile file(path);
    qint64 written = 0;
    if (file.open(QIODevice::WriteOnly))
        // A full disk first takes part of a write without a word; the next
        // write says why.
        for (qint64 n = 0;
             written < pdf.size() && (n = file.write(pdf.constData() + written, pdf.size() - written)) > 0;)
            written += n;
    if (written == pdf.size() && file.commit())
        return {};
    return {Outcome::NotSaved, QDir::toNativeSeparators(path), file.errorString()};
}

bool SystemClipboard::put(const QString& text, const QImage& image) {
    auto* data = new QMimeData;
    data->setText(text);
    data->setImageData(image);
    QClipboard* clipboard = QGuiApplication::clipboard();
    clipboard->setMimeData(data);
    // A clipboard that another program holds open, or that no one serves,
    // drops the data with no more than a warning: read it back.
    const QMimeData* now = clipboard->mimeData();
    return now && now->text() == text;
}

}  // namespace kx
