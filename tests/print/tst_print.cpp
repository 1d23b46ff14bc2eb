// Printing, saving as PDF and copying as a person does them, through the real
// system: a print scheduler of the test's own (private-cups: CUPS in a
// temporary folder, its one queue writing each page to a PDF file), Qt's own
// print and file dialogs answered as a person answers them, the clipboard.
// What came out is read back with poppler's pdftotext and pdfimages.
#include <linux/capability.h>
#include <sys/resource.h>
#include <sys/syscall.h>

#include <QtPrintSupport>
#include <QtTest>
#include <QtWidgets>
#include <csignal>
#include <functional>

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
template <class T>
void whenShown(std::function<void(T*)> act) {
    auto* timer = new QTimer;
    QObject::connect(timer, &QTimer::timeout, [timer, act] {
        for (QWidget* w : QApplication::topLevelWidgets())
            if (auto* shown = qobject_cast<T*>(w); shown && shown->isVisible()) {
                timer->deleteLater();
                return timer->stop(), act(shown);
            }
    });
    timer->start(10);
}

// As root, writing past a folder's permissions, as no user can.
void overridePermissions(bool on) {
    __user_cap_header_struct head{_LINUX_CAPABILITY_VERSION_3, 0};
    __user_cap_data_struct data[2]{};
    syscall(SYS_capget, &head, data);
    const unsigned bits = (1U << CAP_DAC_OVERRIDE) | (1U << CAP_DAC_READ_SEARCH);
    data[0].effective = on ? data[0].effective | (data[0].permitted & bits) : data[0].effective & ~bits;
    syscall(SYS_capset, &head, data);
}

// How the person asks: the print button, its menu's items (print with the
// dialog, save as PDF, copy), the keys; and how the dialog is answered.
enum Way { Button, MenuPrint, MenuPdf, MenuCopy, CtrlP, CtrlC, CtrlCInField, CtrlCOnSelection };
// clang-format off
const struct Case { const char* name; const char* system; Way way; const char* answer, *out, *notice; } kCases[] = {
    // system: a queue command first. answer: the dialog's (a file name for the
    // file dialog; "gone": the queue is deleted while the dialog is open).
    // out: where the setting must arrive, "" nowhere. notice: what the person
    // is told (%1: the chosen file).
    {"print button", "", Button, "", "page", ""},
    {"Ctrl+P", "", CtrlP, "", "page", ""},
    {"print dialog", "", MenuPrint, "ok", "page", ""},
    {"print dialog cancelled", "", MenuPrint, "cancel", "", ""},
    {"queue refuses jobs", "cupsreject", Button, "", "", "The printer \"KX\" did not accept the job."},
    {"printer gone while the dialog is open", "", MenuPrint, "gone", "", "The printer \"KX\" did not accept the job."},
    {"no printer", "lpadmin -x", Button, "", "", "No printer is installed. The window was not printed."},
    {"PDF", "", MenuPdf, "kx.pdf", "pdf", ""},
    {"PDF cancelled", "", MenuPdf, "cancel", "", ""},
    {"PDF into a read-only folder", "", MenuPdf, "read-only/kx.pdf", "",
     "The PDF file \"%1\" could not be saved: Permission denied"},
    {"PDF where a folder is", "", MenuPdf, "folder.pdf", "",
     "The PDF file \"%1\" could not be saved: Filename refers to a directory"},
    {"PDF on a full disk", "", MenuPdf, "full.pdf", "", "The PDF file \"%1\" could not be saved: File too large"},
    {"copy", "", MenuCopy, "", "clipboard", ""},
    {"Ctrl+C", "", CtrlC, "", "clipboard", ""},
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
    QString began_;

    QString cups(const char* command, QStringList args = {}) {
        if (qstrcmp(command, "private-cups") == 0)
            return run(QStringLiteral(KX_PRIVATE_CUPS), args << cups_.path());
        return run(QString::fromLatin1(command).section(u' ', 0, 0),
                   QStringList{u"-h"_qs, cups_.filePath(u"sock"_qs)} +
                       QString::fromLatin1(command).section(u' ', 1).split(u' ', Qt::SkipEmptyParts) + args);
    }
    QWidget* control(const char* name) { return window_->control(QLatin1StringView(name)); }
    // The page, the elements, the four angles and the date line it must show;
    // the six pictures and two icons from their largest bitmaps (288 dpi).
    void checkPage(const QString& pdf, const QString& when) {
        checkShows(run(u"pdftotext"_qs, {pdf, u"-"_qs}), when);
        static const QRegularExpression sharp(u"^ +\\d+ +\\d+ image .* (2[89]\\d|[3-9]\\d\\d) +\\d+ +\\S+ +\\S+$"_qs,
                                              QRegularExpression::MultilineOption);
        QCOMPARE(run(u"pdfimages"_qs, {u"-list"_qs, pdf}).count(sharp), 8);
    }
    // `when` holds %1 for the date and time, which may have turned a minute
    // since the row began.
    void checkShows(const QString& text, const QString& when) {
        for (const char* name : {"txtFrontTableColor", "txtLeftTableColor", "txtRightTableColor", "angleSCIright",
                                 "angleSCIleft", "angleTCIright", "angleTCIleft"})
            QVERIFY2(text.contains(qobject_cast<QLineEdit*>(control(name))->text()), qPrintable(name + text));
        const QString now = when.arg(regionalDateTime(QDateTime::currentDateTime()));
        QVERIFY2(text.contains(now) || text.contains(when.arg(began_)), qPrintable(text));
    }

private slots:
    void initTestCase() {
        // The documents folder the file dialog opens in; only the test's own
        // print scheduler, whatever the machine or the user chose.
        qputenv("HOME", QFile::encodeName(files_.path()));
        QLocale::setDefault(QLocale(u"de_DE"_qs));  // dates to the minute
        QDir().mkpath(QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation));
        qunsetenv("PRINTER");
        qunsetenv("LPDEST");
        qputenv("CUPS_SERVER", QFile::encodeName(cups_.filePath(u"sock"_qs)));
        QVERIFY2(cups("private-cups", {u"start"_qs}).isEmpty(), "the private print scheduler did not start");
        QDir().mkdir(files_.filePath(u"read-only"_qs));
        QFile::setPermissions(files_.filePath(u"read-only"_qs), QFile::ReadOwner | QFile::ExeOwner);
        window_ = std::make_unique<KXcalc>(
            Services{stand_.settings, stand_.browser, printer_, clipboard_, stand_.end, stand_.messages});
        window_->formLoad();
        window_->show();
        // Angles no other field shows, so that the page must carry each.
        for (const char* const* angle : {kAngles, kAngles + 2, kAngles + 4, kAngles + 6})
            qobject_cast<TextBox*>(control(angle[0]))->write(QLatin1StringView(angle[1]));
    }
    void cleanupTestCase() { cups("private-cups", {u"stop"_qs}); }

    void wayOut_data() {
        QTest::addColumn<int>("row");
        for (const Case& c : kCases)
            QTest::newRow(c.name) << int(&c - kCases);
    }
    void wayOut() {
        QFETCH(int, row);
        const Case& c = kCases[row];
        const QString page = cups_.filePath(u"out/page.pdf"_qs), file = files_.filePath(QLatin1StringView(c.answer));
        cups("private-cups", {u"queue"_qs});
        QFile::remove(page);
        QFile old(files_.filePath(u"full.pdf"_qs));
        QVERIFY(old.open(QIODevice::WriteOnly) && old.write("kept") == 4 && old.flush());
        stand_.forgetRecords();
        began_ = regionalDateTime(QDateTime::currentDateTime());
        window_->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(window_.get()));
        if (*c.system)
            cups(c.system, {u"KX"_qs});
        QApplication::clipboard()->clear();

        // As a user, and, for the full disk, with a file size limit that
        // fails a write as a full disk does.
        rlimit was{};
        getrlimit(RLIMIT_FSIZE, &was);
        const rlimit limit{file.endsWith(u"full.pdf") ? 1024 : was.rlim_cur, was.rlim_max};
        std::signal(SIGXFSZ, SIG_IGN);
        setrlimit(RLIMIT_FSIZE, &limit);
        overridePermissions(false);
        if (*c.answer)
            whenShown<QDialog>([&](QDialog* d) {
                if (qstrcmp(c.answer, "gone") == 0)
                    cups("lpadmin -x", {u"KX"_qs});
                if (auto* files = qobject_cast<QFileDialog*>(d)) {
                    QVERIFY(files->selectedFiles().value(0).endsWith(u".pdf"));
                    files->setOption(QFileDialog::DontConfirmOverwrite);
                    qobject_cast<QLineEdit*>(d->focusWidget())->setText(file);  // typed into the name field
                }
                QMetaObject::invokeMethod(d, qstrcmp(c.answer, "cancel") == 0 ? "reject" : "accept");
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
        overridePermissions(true);

        for (int i = 0; i < 600 && !cups("lpstat -o").isEmpty(); ++i)
            QTest::qWait(100);
        const QString out = QString::fromLatin1(c.out), copied = QApplication::clipboard()->text();
        QCOMPARE(QFile::exists(page), out == u"page");
        if (out == u"page" || out == u"pdf")
            checkPage(out == u"page" ? page : file, u"Printed on %1"_qs);
        if (out == u"clipboard") {
            checkShows(copied, u"Copied on %1"_qs);
            QCOMPARE(qvariant_cast<QImage>(QApplication::clipboard()->mimeData()->imageData()).size(), window_->size());
        } else
            QCOMPARE(copied, out == u"selection" ? u"5"_qs : QString());
        QCOMPARE(stand_.messages.notices.join(u'|'), QString::fromUtf8(c.notice).arg(file));
        if (*c.notice)  // nothing half-written, and what was there is kept
            QVERIFY(!QFileInfo(file).isFile() || QFileInfo(file).size() == 4);
    }
};

QTEST_MAIN(Print)
#include "tst_print.moc"
