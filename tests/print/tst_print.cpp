// Printing, saving as PDF and copying as a person does them, through the real
// system: a print scheduler of the test's own (private-cups: CUPS in a
// temporary folder, its one queue writing each page to a PDF file), Qt's own
// print and file dialogs answered as a person answers them, the clipboard.
// What came out is read back with poppler's pdftotext and pdfimages.
#include <sys/resource.h>

#include <QtPrintSupport>
#include <QtTest>
#include <QtWidgets>
#include <csignal>

#include "controls.h"
#include "kxcalc.h"
#include "printing.h"
#include "regional.h"
#include "stand_ins.h"

using namespace kx;

namespace {

QString run(const QString& program, const QStringList& args) {
    QProcess p;
    p.start(program, args);
    p.waitForFinished(60000);
    return QString::fromUtf8(p.readAllStandardOutput() + p.readAllStandardError());
}

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
// clang-format off
const struct Case { const char* name; const char* system; Way way; const char* answer, *out, *notice; } kCases[] = {
    // system: a queue command first. answer: the dialog's (a file name for the
    // file dialog, cancelled at cancel.pdf; "gone": the queue is deleted while
    // the dialog is open).
    // out: where the setting must arrive, "" nowhere. notice: what the person
    // is told (%1: the chosen file).
    {"print button", "", Button, "", "page", ""},
    {"Ctrl+P", "", CtrlP, "", "page", ""},
    {"print dialog", "", MenuPrint, "ok", "page", ""},
    // CUPS's PDF-to-PostScript filter with the renderer that names Qt's
    // letters (its Ghostscript keeps them as a bitmap font, which no one
    // reads back as text), the way cups-pdf and PostScript printers go.
    {"PostScript printer", "lpadmin -p KX -m drv:///sample.drv/generic.ppd -o pdftops-renderer-default=pdftocairo", Button, "", "postscript", ""},
    {"queue refuses jobs", "cupsreject KX", Button, "", "", "Der Drucker „KX“ hat den Auftrag nicht angenommen."},
    {"printer gone while the dialog is open", "", MenuPrint, "gone", "", "Der Drucker „KX“ hat den Auftrag nicht angenommen."},
    {"no printer", "lpadmin -x KX", Button, "", "", "Es ist kein Drucker eingerichtet. Das Fenster wurde nicht gedruckt."},
    {"PDF", "", MenuPdf, "kx.pdf", "pdf", ""},
    {"PDF cancelled", "", MenuPdf, "cancel.pdf", "", ""},
    {"PDF where a folder is", "", MenuPdf, "folder.pdf", "",
     "Die PDF-Datei „%1“ konnte nicht gespeichert werden: Dateiname bezeichnet ein Verzeichnis"},
    {"PDF on a full disk", "", MenuPdf, "full.pdf", "", "Die PDF-Datei „%1“ konnte nicht gespeichert werden: File too large"},
    {"copy", "", MenuCopy, "", "clipboard", ""},
    {"Ctrl+C in a field", "", CtrlCInField, "", "clipboard", ""},
    {"Ctrl+C on selected text", "", CtrlCOnSelection, "", "selection", ""},
};
// clang-format on
const char* const kAngles[] = {"angleSCIright", "37", "angleSCIleft", "52",
                               "angleTCIright", "11", "angleTCIleft", "-3"};

}  // namespace

class Print : public QObject {
    Q_OBJECT
    QTemporaryDir cups_, files_;
    StandIns stand_;
    SystemPrinter printer_;
    SystemClipboard clipboard_;
    std::unique_ptr<KXcalc> window_;

    QString scheduler(const QString& what) { return run(QStringLiteral(KX_PRIVATE_CUPS), {what, cups_.path()}); }
    QString cups(const char* command) {  // a client command, e.g. "lpadmin -x KX"
        const QStringList words = QString::fromLatin1(command).split(u' ');
        return run(words[0], QStringList{u"-h"_qs, cups_.filePath(u"sock"_qs)} + words.mid(1));
    }
    QWidget* control(const char* name) { return window_->control(QLatin1StringView(name)); }
    // The page, the elements, the four angles and the date line it must show;
    // the six pictures and two icons from their largest bitmaps (288 dpi),
    // and no other sharp picture (a PostScript filter prints what it cannot
    // keep as it is as pictures at the printer's resolution).
    void checkPage(const QString& pdf, const QString& when) {
        checkShows(run(u"pdftotext"_qs, {pdf, u"-"_qs}), when);
        QVERIFY(run(u"pdfinfo"_qs, {pdf}).contains(u"(A4)"_qs));
        static const QRegularExpression sharp(u"^ +\\d+ +\\d+ image .* (2[89]\\d|[3-9]\\d\\d) +\\d+ +\\S+ +\\S+$"_qs,
                                              QRegularExpression::MultilineOption);
        QCOMPARE(run(u"pdfimages"_qs, {u"-list"_qs, pdf}).count(sharp), 8);
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
        qunsetenv("PRINTER");
        qunsetenv("LPDEST");
        qputenv("CUPS_SERVER", QFile::encodeName(cups_.filePath(u"sock"_qs)));
        QVERIFY2(scheduler(u"start"_qs).isEmpty(), "the private print scheduler did not start");
        stand_.settings.values.insert(MemorySettings::languageKey(), u"german"_qs);  // the dialogs too
        window_ = std::make_unique<KXcalc>(
            Services{stand_.settings, stand_.browser, printer_, clipboard_, stand_.end, stand_.messages});
        window_->formLoad();
        window_->show();
        // Angles no other field shows, so that the page must carry each.
        for (const char* const* angle : {kAngles, kAngles + 2, kAngles + 4, kAngles + 6})
            qobject_cast<TextBox*>(control(angle[0]))->write(QLatin1StringView(angle[1]));
    }
    void cleanupTestCase() { scheduler(u"stop"_qs); }

    void wayOut_data() {
        QTest::addColumn<int>("row");
        for (const Case& c : kCases)
            QTest::newRow(c.name) << int(&c - kCases);
    }
    void wayOut() {
        QFETCH(int, row);
        const Case& c = kCases[row];
        const QString page = cups_.filePath(u"out/page.pdf"_qs), file = files_.filePath(QLatin1StringView(c.answer));
        scheduler(u"queue"_qs);
        QFile::remove(page);
        QFile old(files_.filePath(u"full.pdf"_qs));
        QVERIFY(old.open(QIODevice::WriteOnly) && old.write("kept") == 4 && old.flush());
        stand_.forgetRecords();
        window_->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(window_.get()));
        if (*c.system)
            cups(c.system);
        QApplication::clipboard()->clear();

        // For the full disk, a file size limit that fails a write as a full
        // disk does.
        rlimit was{};
        getrlimit(RLIMIT_FSIZE, &was);
        const rlimit limit{file.endsWith(u"full.pdf") ? 1024 : was.rlim_cur, was.rlim_max};
        std::signal(SIGXFSZ, SIG_IGN);
        setrlimit(RLIMIT_FSIZE, &limit);
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
        setrlimit(RLIMIT_FSIZE, &was);

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
        } else
            QCOMPARE(copied, out == u"selection" ? u"5"_qs : QString());
        QCOMPARE(stand_.messages.notices.join(u'|'), QString::fromUtf8(c.notice).replace(u"%1"_qs, file));
        if (out != u"pdf")  // nothing written, or half-written, and what was there is kept
            QVERIFY(!QFileInfo(file).isFile() || QFileInfo(file).size() == 4);
    }
};

QTEST_MAIN(Print)
#include "tst_print.moc"
