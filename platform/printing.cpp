#include "printing.h"

#include <QBuffer>
#include <QClipboard>
#include <QDir>
#include <QFileDialog>
#include <QGuiApplication>
#include <QLocale>
#include <QMimeData>
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

#if KX_HAVE_CUPS
#include <cups/cups.h>
#endif

namespace kx {

namespace {

// The footer line's size, and its distance from the window, in points.
constexpr double kFooterPoints = 7;
constexpr double kFooterGapPoints = 6;

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
    // A recording plays back as large on every device as on a 96-dpi screen.
    p.save();
    p.scale(scale * 96 / dpi, scale * 96 / dpi);
    p.drawPicture(0, 0, drawn);
    p.restore();
    p.setFont(font);
    p.setPen(Qt::black);
    p.drawText(QPointF(0, client.height() * scale + kFooterGapPoints * perPoint + metrics.ascent()), page.footer);
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

    bool refused() const {
#if KX_HAVE_CUPS
        // Qt hands the job to CUPS and drops CUPS's answer, which CUPS keeps
        // for this thread until its next call.
        if (cupsLastError() > IPP_STATUS_OK_EVENTS_COMPLETE)
            return true;
#endif
        return warned_;
    }

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

}  // namespace

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
