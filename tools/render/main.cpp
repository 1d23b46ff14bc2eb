// Renders the window in each language to PNG files, as a person sees it, and
// the page the English window's print button puts on paper: printed-page.pdf,
// as "Save as PDF" writes it, and printed-page.png, the top of that page.
//   kx-render OUTDIR [SCALE]
#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QPainter>
#include <QProcess>
#include <QTemporaryDir>

#include "kxcalc.h"
#include "printing.h"
#include "system_services.h"

namespace {

// The print button's page kept as a PDF instead of printed.
struct KeptPage : kx::SystemPrinter {
    Result printDefault(const kx::Page& page) override {
        pdf = kx::pdfOf(page);
        return {};
    }
    QByteArray pdf;
};

// The window and its date line at the top of the paper, at 100 dpi as
// poppler draws the PDF, in a grey frame that sets the white page off.
bool savePageTop(const QString& pdf, const QString& png) {
    QProcess pdftoppm;
    pdftoppm.start(u"pdftoppm"_qs,
                   {u"-png"_qs, u"-singlefile"_qs, u"-r"_qs, u"100"_qs, u"-W"_qs, u"680"_qs, u"-H"_qs, u"740"_qs, pdf});
    if (!pdftoppm.waitForFinished(60000) || pdftoppm.exitCode() != 0)
        return false;
    const QImage top = QImage::fromData(pdftoppm.readAllStandardOutput(), "PNG");
    if (top.isNull())
        return false;
    QImage framed(top.size() + QSize(2, 2), QImage::Format_RGB32);
    framed.fill(QColor(0xB0, 0xB0, 0xB0));
    QPainter(&framed).drawImage(1, 1, top);
    return framed.save(png);
}

}  // namespace

int main(int argc, char* argv[]) {
    if (argc >= 3)
        qputenv("QT_SCALE_FACTOR", argv[2]);
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    // The page's date line in one regional format, whatever the machine's.
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    const QDir out(argc >= 2 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("."));
    QDir().mkpath(out.path());
    // The window's own services, its language setting kept in a folder of its own.
    QTemporaryDir store;
    kx::QtSettingsStore settings(store.path());
    kx::DesktopBrowser browser;
    KeptPage printer;
    kx::SystemClipboard clipboard;
    kx::QuitApplication end;
    kx::MessageBoxes messages;
    const kx::SettingName& n = kx::kLanguageSetting;
    for (const kx::Language& language : kx::kLanguages) {
        const QLatin1StringView word(language.settingWord);
        settings.write(QLatin1StringView(n.app), QLatin1StringView(n.section), QLatin1StringView(n.key), word);
        kx::KXcalc window({settings, browser, printer, clipboard, end, messages});
        window.formLoad();
        window.show();
        QApplication::processEvents();
        if (!window.grab().save(out.filePath(QStringLiteral("kxcalc-%1.png").arg(word))))
            return 1;
        if (word != u"english")
            continue;
        qobject_cast<QAbstractButton*>(window.control(u"cmdPrint"_qs))->click();
        QFile pdf(out.filePath(u"printed-page.pdf"_qs));
        if (!pdf.open(QIODevice::WriteOnly) || pdf.write(printer.pdf) != printer.pdf.size())
            return 1;
        pdf.close();
        if (!savePageTop(pdf.fileName(), out.filePath(u"printed-page.png"_qs)))
            return 1;
    }
    return 0;
}
