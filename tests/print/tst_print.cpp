// Printing, saving as PDF and copying as a person does them, through the real
// system: a print scheduler of the test's own (it runs under `private-cups
// run`: CUPS in a temporary folder, its one queue writing each page to a PDF
// file), Qt's own print and file dialogs answered as a person answers them,
// the clipboard. What came out is read back with poppler's pdftotext and
// pdfimages. The Windows build runs the same table under Wine, on an X display
// of its own: Wine prints through the same scheduler and shares the clipboard
// with X, where xclip reads it as another program would.
#include <QtPrintSupport>
#include <QtTest>
#include <QtWidgets>
#include <optional>
#ifdef Q_OS_WIN
#include <windows.h>
#else
#include <sys/resource.h>

#include <csignal>
#endif

#include "controls.h"
#include "kxcalc.h"
#include "printing.h"
#include "regional.h"
#include "stand_ins.h"

using namespace kx;

namespace {

#ifdef Q_OS_WIN
constexpr bool kWindows = true;
// Holds the clipboard open, as a program that hangs in the middle of a copy
// does: Windows ties an open clipboard to a window, here one of its own.
struct ClipboardHolder {
    HWND window = CreateWindowA("STATIC", "holder", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
    ClipboardHolder() { OpenClipboard(window); }
    ~ClipboardHolder() {
        CloseClipboard();
        DestroyWindow(window);
    }
};
#else
constexpr bool kWindows = false;
#endif

// Acts on the first menu or dialog of type T that shows, from inside the
// event loop that shows it.
template <class T, class Act>
void whenShown(Act act) {
    auto* timer = new QTimer(qApp);
    QObject::connect(timer, &QTimer::timeout, [timer, act] {
        for (QWidget* w : QApplication::topLevelWidgets())
            if (auto* shown = qobject_cast<T*>(w); shown && shown->isVisible())
                return timer->stop(), timer->deleteLater(), act(shown);
    });
    timer->start(10);
}

// How the person asks: the print button, its menu's items (print with the
// dialog, save as PDF, copy), the keys; and how the dialog is answered.
enum Way { Button, MenuPrint, MenuPdf, MenuCopy, CtrlP, CtrlCInField, CtrlCOnSelection };
// Where a row runs: Qt's own print and file dialogs, which the test answers,
// are Linux's (Windows has the system's); Wine keeps the printers it found
// when the program started; a file size limit is POSIX's; a clipboard held
// open is how Windows fails a copy.
enum On { Both, LinuxOnly, WindowsOnly };
// clang-format off
const struct Case { const char* name; const char* system; Way way; const char* answer, *out, *notice; On on = Both; } kCases[] = {
    // system: a queue command first, or "hold the clipboard". answer: the
    // dialog's (a file name for the file dialog, cancelled at cancel.pdf;
    // "gone": the queue is deleted while the dialog is open).
    // out: where the setting must arrive, "" nowhere. notice: what the person
    // is told (%1: the chosen file).
    {"print button", "", Button, "", "page", ""},
    {"Ctrl+P", "", CtrlP, "", "page", ""},
    {"print dialog", "", MenuPrint, "ok", "page", "", LinuxOnly},
    // CUPS's PDF-to-PostScript filter with the renderer that names Qt's
    // letters (its Ghostscript keeps them as a bitmap font, which no one
    // reads back as text), the way cups-pdf and PostScript printers go.
    {"PostScript printer", "lpadmin -p KX -m drv:///sample.drv/generic.ppd -o pdftops-renderer-default=pdftocairo", Button, "", "postscript", ""},
    {"queue refuses jobs", "cupsreject KX", Button, "", "", "Der Drucker „KX“ hat den Auftrag nicht angenommen."},
    {"printer gone while the dialog is open", "", MenuPrint, "gone", "", "Der Drucker „KX“ hat den Auftrag nicht angenommen.", LinuxOnly},
    {"no printer", "lpadmin -x KX", Button, "", "", "Es ist kein Drucker eingerichtet. Das Fenster wurde nicht gedruckt.", LinuxOnly},
    {"PDF", "", MenuPdf, "kx.pdf", "pdf", "", LinuxOnly},
    {"PDF cancelled", "", MenuPdf, "cancel.pdf", "", "", LinuxOnly},
    {"PDF where a folder is", "", MenuPdf, "folder.pdf", "",
     "Die PDF-Datei „%1“ konnte nicht gespeichert werden: Dateiname bezeichnet ein Verzeichnis", LinuxOnly},
    {"PDF on a full disk", "", MenuPdf, "full.pdf", "", "Die PDF-Datei „%1“ konnte nicht gespeichert werden: File too large", LinuxOnly},
    {"copy", "", MenuCopy, "", "clipboard", ""},
    {"Ctrl+C in a field", "", CtrlCInField, "", "clipboard", ""},
    {"Ctrl+C on selected text", "", CtrlCOnSelection, "", "selection", ""},
    {"Ctrl+C while another program holds the clipboard", "hold the clipboard", CtrlCInField, "", "",
     "Die Zwischenablage hat die Einstellung nicht angenommen. Es wurde nichts kopiert.", WindowsOnly},
};
// clang-format on
const char* const kAngles[] = {"angleSCIright", "37", "angleSCIleft", "52",
                               "angleTCIright", "11", "angleTCIleft", "-3"};

}  // namespace

class Print : public QObject {
    Q_OBJECT
    QString cups_;  // the scheduler's folder
    QTemporaryDir files_;
    StandIns stand_;
    SystemPrinter printer_;
    SystemClipboard clipboard_;
    std::unique_ptr<KXcalc> window_;

    // Runs a Linux program (the CUPS and poppler tools, xclip) and returns
    // its output. Wine starts one detached and without pipes: the output
    // comes back through a file in the scheduler's folder, whose name both
    // see alike.
    QString run(const QString& program, const QStringList& args) {
        if (!kWindows) {
            QProcess p;
            p.start(program, args);
            p.waitForFinished(60000);
            return QString::fromUtf8(p.readAllStandardOutput() + p.readAllStandardError());
        }
        QFile out(cups_ + u"/run.out"_qs);
        out.remove();
        const QString sh = u"o=$1; shift; \"$0\" \"$@\" >\"$o.part\" 2>&1; mv \"$o.part\" \"$o\""_qs;
        QProcess::startDetached(u"/bin/sh"_qs, QStringList{u"-c"_qs, sh, program, out.fileName()} + args);
        for (int i = 0; i < 3000 && !out.exists(); ++i)
            QTest::qWait(20);  // and hands the clipboard's data to xclip meanwhile
        out.open(QIODevice::ReadOnly);
        return QString::fromUtf8(out.readAll());
    }
    QString scheduler(const QString& what) { return run(QStringLiteral(KX_PRIVATE_CUPS), {what, cups_}); }
    QString cups(const char* command) {  // a client command, e.g. "lpadmin -x KX"
        const QStringList words = QString::fromLatin1(command).split(u' ');
        return run(words[0], QStringList{u"-h"_qs, cups_ + u"/sock"_qs} + words.mid(1));
    }
    QWidget* control(const char* name) { return window_->control(QLatin1StringView(name)); }
    // The page, the elements, the four angles and the date line it must show;
    // the pictures (the lettering, the logo, the photograph and a flag per
    // language) and the two icons from their largest bitmaps (288 dpi), and
    // no other sharp picture (a PostScript filter prints what it cannot keep
    // as it is as pictures at the printer's resolution).
    void checkPage(const QString& pdf, const QString& when) {
        // Printed through Wine, the minus sign reads back as a soft hyphen.
        checkShows(run(u"pdftotext"_qs, {pdf, u"-"_qs}).replace(QChar(0xad), u'-'), when);
        QVERIFY(run(u"pdfinfo"_qs, {pdf}).contains(u"(A4)"_qs));
        static const QRegularExpression sharp(u"^ +\\d+ +\\d+ image .* (2[89]\\d|[3-9]\\d\\d) +\\d+ +\\S+ +\\S+$"_qs,
                                              QRegularExpression::MultilineOption);
        QCOMPARE(run(u"pdfimages"_qs, {u"-list"_qs, pdf}).count(sharp), qsizetype(3 + kLanguageCount + 2));
    }
    // `when` holds %1 for the date and time, which may have turned a minute.
    void checkShows(const QString& text, const QString& when) {
        for (const char* name : {"txtFrontTableColor", "txtLeftTableColor", "txtRightTableColor", "angleSCIright",
                                 "angleSCIleft", "angleTCIright", "angleTCIleft"})
            QVERIFY2(text.contains(qobject_cast<QLineEdit*>(control(name))->text()), qPrintable(name + text));
        const QDateTime now = QDateTime::currentDateTime(), before = now.addSecs(-60);
        QVERIFY(text.contains(when.arg(regionalDateTime(now))) || text.contains(when.arg(regionalDateTime(before))));
    }

private slots:
    void initTestCase() {
        // Only the test's own home and print scheduler, whatever the machine
        // or the user chose.
        qputenv("HOME", QFile::encodeName(files_.path()));
        QLocale::setDefault(QLocale(u"de_DE"_qs));  // dates to the minute
        cups_ = QFileInfo(qEnvironmentVariable("CUPS_SERVER")).path();
        QVERIFY2(QFile::exists(cups_ + u"/cupsd.conf"_qs), "no private print scheduler: run me under private-cups run");
        stand_.settings.values.insert(MemorySettings::languageKey(), u"german"_qs);  // the dialogs too
        window_ = std::make_unique<KXcalc>(
            Services{stand_.settings, stand_.browser, printer_, clipboard_, stand_.end, stand_.messages});
        window_->formLoad();
        window_->show();
        // Angles no other field shows, so that the page must carry each.
        for (const char* const* angle : {kAngles, kAngles + 2, kAngles + 4, kAngles + 6})
            qobject_cast<TextBox*>(control(angle[0]))->write(QLatin1StringView(angle[1]));
    }
    void wayOut_data() {
        QTest::addColumn<int>("row");
        for (const Case& c : kCases)
            if (c.on != (kWindows ? LinuxOnly : WindowsOnly))
                QTest::newRow(c.name) << int(&c - kCases);
    }
    void wayOut() {
        QFETCH(int, row);
        const Case& c = kCases[row];
        const QString page = cups_ + u"/out/page.pdf"_qs, file = files_.filePath(QLatin1StringView(c.answer));
        scheduler(u"queue"_qs);
        QFile::remove(page);
        QFile old(files_.filePath(u"full.pdf"_qs));
        QVERIFY(old.open(QIODevice::WriteOnly) && old.write("kept") == 4 && old.flush());
        stand_.forgetRecords();
        window_->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(window_.get()));
        QApplication::clipboard()->clear();
        const bool hold = qstrcmp(c.system, "hold the clipboard") == 0;
        if (*c.system && !hold)
            cups(c.system);
#ifdef Q_OS_WIN
        std::optional<ClipboardHolder> holder;
        if (hold)
            holder.emplace();
#else
        // For the full disk, a file size limit that fails a write as a full
        // disk does.
        rlimit was{};
        getrlimit(RLIMIT_FSIZE, &was);
        const rlimit limit{file.endsWith(u"full.pdf") ? 1024 : was.rlim_cur, was.rlim_max};
        std::signal(SIGXFSZ, SIG_IGN);
        setrlimit(RLIMIT_FSIZE, &limit);
#endif
        if (*c.answer)
            whenShown<QDialog>([&](QDialog* d) {
                if (qstrcmp(c.answer, "gone") == 0)
                    cups("lpadmin -x KX");
                QCOMPARE(d->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Cancel)->text(), u"Abbrechen"_qs);
                if (auto* files = qobject_cast<QFileDialog*>(d)) {
                    QVERIFY(files->selectedFiles().value(0).endsWith(u".pdf"));
                    files->setOption(QFileDialog::DontConfirmOverwrite);
                    qobject_cast<QLineEdit*>(d->focusWidget())->setText(file);  // typed into the name field
                }
                QMetaObject::invokeMethod(d, file.endsWith(u"cancel.pdf") ? "reject" : "accept");
                if (file.endsWith(u"folder.pdf"))
                    QDir().mkdir(file);
            });
        auto* field = qobject_cast<QLineEdit*>(control("angleSCIleft"));
        QWidget* focus = c.way >= CtrlCInField ? field : control("cmdPrint");
        focus->setFocus();
        field->setSelection(0, c.way == CtrlCOnSelection ? 1 : 0);
        if (c.way >= MenuPrint && c.way <= MenuCopy) {
            whenShown<QMenu>([&](QMenu* menu) {
                menu->setActiveAction(menu->actions().at(c.way - MenuPrint));
                QTest::keyClick(menu, Qt::Key_Return);
            });
            QTest::keyClick(focus, Qt::Key_F10, Qt::ShiftModifier);
        } else if (c.way == Button) {
            QTest::mouseClick(focus, Qt::LeftButton);
        } else {
            QTest::keyClick(focus, c.way == CtrlP ? Qt::Key_P : Qt::Key_C, Qt::ControlModifier);
        }
#ifndef Q_OS_WIN
        setrlimit(RLIMIT_FSIZE, &was);
#endif

        for (int i = 0; i < 600 && !cups("lpstat -o").isEmpty(); ++i)
            QTest::qWait(100);
        const QString out = QString::fromLatin1(c.out), copied = QApplication::clipboard()->text();
        QCOMPARE(QFile::exists(page), out == u"page" || out == u"postscript");
        if (out == u"page" || out == u"pdf")
            checkPage(out == u"page" ? page : file, u"Gedruckt am %1"_qs);
        if (out == u"postscript") {  // read back through the PDF Ghostscript makes of it
            run(u"ps2pdf"_qs, {page, page + u".pdf"_qs});
            checkPage(page + u".pdf"_qs, u"Gedruckt am %1"_qs);
        }
        if (out == u"clipboard") {
            checkShows(copied, u"Kopiert am %1"_qs);
            QCOMPARE(qvariant_cast<QImage>(QApplication::clipboard()->mimeData()->imageData()).size(), window_->size());
            if (kWindows) {  // and as another program pastes it
                const QStringList clipboard{u"-selection"_qs, u"clipboard"_qs, u"-o"_qs};
                checkShows(run(u"xclip"_qs, clipboard), u"Kopiert am %1"_qs);
                QVERIFY(run(u"xclip"_qs, clipboard + QStringList{u"-t"_qs, u"image/bmp"_qs}).startsWith(u"BM"));
            }
        } else
            QCOMPARE(copied, out == u"selection" ? u"5"_qs : QString());
        QCOMPARE(stand_.messages.notices.join(u'|'), QString::fromUtf8(c.notice).replace(u"%1"_qs, file));
        if (out != u"pdf")  // nothing written, or half-written, and what was there is kept
            QVERIFY(!QFileInfo(file).isFile() || QFileInfo(file).size() == 4);
    }
};

QTEST_MAIN(Print)
#include "tst_print.moc"
