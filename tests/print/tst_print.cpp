// Printing, saving as PDF and copying as a person does them, through the real
// system: a print scheduler of the test's own (private-cups: CUPS in a
// temporary folder, its one queue writing each page to a PDF file), Qt's own
// print and file dialogs answered as a person answers them, the clipboard.
// What came out is read back with poppler's pdftotext and pdfimages.
#include <linux/capability.h>
#include <sys/resource.h>
#include <sys/syscall.h>
#include <unistd.h>

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
                timer->stop();
                timer->deleteLater();
                act(shown);
                return;
            }
    });
    timer->start(10);
}

// The print button's context menu, opened with the keyboard, item `item` chosen.
void fromMenu(QWidget* button, int item) {
    whenShown<QMenu>([item](QMenu* menu) {
        menu->setActiveAction(menu->actions().at(item));
        QTest::keyClick(menu, Qt::Key_Return);
    });
    button->setFocus();
    QTest::keyClick(button, Qt::Key_F10, Qt::ShiftModifier);
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

}  // namespace

class Print : public QObject {
    Q_OBJECT
    QTemporaryDir cups_, files_;
    StandIns stand_;
    SystemPrinter printer_;
    SystemClipboard clipboard_;
    std::unique_ptr<KXcalc> window_;
    QString page_;

    QString cups(const QString& what) { return run(QStringLiteral(KX_PRIVATE_CUPS), {what, cups_.path()}); }
    QWidget* control(const char* name) { return window_->control(QLatin1StringView(name)); }
    // The page the queue wrote, as text; "" when none came within a minute.
    QString printedText() {
        const QStringList jobs{u"-h"_qs, cups_.filePath(u"sock"_qs), u"-o"_qs};
        for (int i = 0; i < 600 && !run(u"lpstat"_qs, jobs).isEmpty(); ++i)
            QTest::qWait(100);
        return QFile::exists(page_) ? run(u"pdftotext"_qs, {page_, u"-"_qs}) : QString();
    }
    // What the page must show: the elements, the four angles and when.
    void checkShows(const QString& text, const QString& when) {
        for (const char* name : {"txtFrontTableColor", "txtLeftTableColor", "txtRightTableColor", "angleSCIright",
                                 "angleSCIleft", "angleTCIright", "angleTCIleft"})
            QVERIFY2(text.contains(qobject_cast<QLineEdit*>(control(name))->text()),
                     qPrintable(QLatin1StringView(name) + u": "_qs + text));
        QVERIFY2(text.contains(when), qPrintable(text));
    }
    QString now(const QString& form) { return form.arg(regionalDateTime(QDateTime::currentDateTime())); }

private slots:
    void initTestCase() {
        // The documents folder the file dialog opens in.
        qputenv("HOME", QFile::encodeName(files_.path()));
        QDir().mkpath(QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation));
        // Only the test's own scheduler, whatever the machine or the user chose.
        qunsetenv("PRINTER");
        qunsetenv("LPDEST");
        qputenv("CUPS_SERVER", QFile::encodeName(cups_.filePath(u"sock"_qs)));
        QVERIFY(cups_.isValid() && files_.isValid());
        QVERIFY2(cups(u"start"_qs).isEmpty(), "the private print scheduler did not start");
        page_ = cups_.filePath(u"out/page.pdf"_qs);
    }
    void cleanupTestCase() { cups(u"stop"_qs); }
    void init() {
        cups(u"queue"_qs);
        QFile::remove(page_);
        stand_.forgetRecords();
        window_ = std::make_unique<KXcalc>(
            Services{stand_.settings, stand_.browser, printer_, clipboard_, stand_.end, stand_.messages});
        window_->formLoad();
        window_->show();
        window_->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(window_.get()));
        // Angles no other field shows, so that the page must carry each.
        for (const auto& [name, angle] : {std::pair{"angleSCIright", "37"},
                                          {"angleSCIleft", "52"},
                                          {"angleTCIright", "11"},
                                          {"angleTCIleft", "-3"}})
            qobject_cast<TextBox*>(control(name))->write(QLatin1StringView(angle));
    }

    void printing_data() {
        QTest::addColumn<QString>("how");  // button, keys, dialog, cancel
        QTest::addColumn<QString>(
            "system");  // a queue command first; "gone": the queue deleted while the dialog is open
        QTest::addColumn<bool>("page");
        QTest::addColumn<QString>("notice");  // what the person is told
        QTest::newRow("print button") << u"button"_qs << u""_qs << true << u""_qs;
        QTest::newRow("Ctrl+P") << u"keys"_qs << u""_qs << true << u""_qs;
        QTest::newRow("print dialog") << u"dialog"_qs << u""_qs << true << u""_qs;
        QTest::newRow("print dialog cancelled") << u"cancel"_qs << u""_qs << false << u""_qs;
        QTest::newRow("queue refuses jobs")
            << u"button"_qs << u"cupsreject"_qs << false << u"The printer \"KX\" did not accept the job."_qs;
        QTest::newRow("printer gone while the dialog is open")
            << u"dialog"_qs << u"gone"_qs << false << u"The printer \"KX\" did not accept the job."_qs;
        QTest::newRow("no printer") << u"button"_qs << u"lpadmin -x"_qs << false
                                    << u"No printer is installed. The window was not printed."_qs;
    }
    void printing() {
        QFETCH(QString, how);
        QFETCH(QString, system);
        QFETCH(bool, page);
        QFETCH(QString, notice);
        const QString sock = cups_.filePath(u"sock"_qs);
        if (!system.isEmpty() && system != u"gone")
            run(system.section(u' ', 0, 0), QStringList{u"-h"_qs, sock} +
                                                system.section(u' ', 1).split(u' ', Qt::SkipEmptyParts) +
                                                QStringList{u"KX"_qs});
        const QString when = now(u"Printed on %1"_qs);
        if (how == u"button")
            QTest::mouseClick(control("cmdPrint"), Qt::LeftButton);
        else if (how == u"keys")
            QTest::keyClick(window_.get(), Qt::Key_P, Qt::ControlModifier);
        else {
            whenShown<QPrintDialog>([&](QPrintDialog* d) {
                if (system == u"gone")
                    run(u"lpadmin"_qs, {u"-h"_qs, sock, u"-x"_qs, u"KX"_qs});
                how == u"cancel" ? d->reject() : d->accept();
            });
            fromMenu(control("cmdPrint"), 0);
        }
        if (page)
            checkShows(printedText(), when);
        else
            QCOMPARE(printedText(), QString());
        QCOMPARE(stand_.messages.notices.join(u'|'), notice);
    }

    // The page is drawn for the paper: the six pictures and the two buttons'
    // icons from their largest bitmaps (three times the screen's, 288 dpi),
    // the text as text (above).
    void picturesAreSharp() {
        QTest::mouseClick(control("cmdPrint"), Qt::LeftButton);
        QVERIFY(!printedText().isEmpty());
        const QStringList images = run(u"pdfimages"_qs, {u"-list"_qs, page_}).split(u'\n').mid(2);
        const auto sharp = std::ranges::count_if(images, [](const QString& line) {
            return line.simplified().section(u' ', 2, 2) == u"image" &&
                   line.simplified().section(u' ', 12, 12).toInt() >= 280;
        });
        QCOMPARE(sharp, 8);
    }

    void pdf_data() {
        QTest::addColumn<QString>("place");   // the file the person chooses, "" to cancel
        QTest::addColumn<QString>("notice");  // what the person is told after %1, the file
        QTest::newRow("saved") << u"kx.pdf"_qs << u""_qs;
        QTest::newRow("cancelled") << u""_qs << u""_qs;
        QTest::newRow("read-only folder") << u"read-only/kx.pdf"_qs << u"could not be saved: Permission denied"_qs;
        QTest::newRow("a folder in the file's place")
            << u"folder.pdf"_qs << u"could not be saved: Filename refers to a directory"_qs;
        // The file's size limit fails a write as a full disk does.
        QTest::newRow("disk full") << u"full.pdf"_qs << u"could not be saved: File too large"_qs;
    }
    void pdf() {
        QFETCH(QString, place);
        QFETCH(QString, notice);
        const QString path = files_.filePath(place);
        QDir().mkpath(files_.filePath(u"read-only"_qs));
        QFile::setPermissions(files_.filePath(u"read-only"_qs), QFile::ReadOwner | QFile::ExeOwner);
        QFile old(files_.filePath(u"full.pdf"_qs));
        QVERIFY(old.open(QIODevice::WriteOnly) && old.write("kept") == 4);
        old.close();
        const QString when = now(u"Printed on %1"_qs);
        rlimit was{};
        getrlimit(RLIMIT_FSIZE, &was);
        whenShown<QFileDialog>([&](QFileDialog* d) {
            QVERIFY(d->selectedFiles().value(0).endsWith(u".pdf"));
            if (place.isEmpty())
                return d->reject();
            d->setOption(QFileDialog::DontConfirmOverwrite);
            // Typed into the name field, which has the focus.
            qobject_cast<QLineEdit*>(d->focusWidget())->setText(path);
            QMetaObject::invokeMethod(d, "accept");
            overridePermissions(false);
            if (place == u"folder.pdf")
                QDir().mkdir(path);
            if (place == u"full.pdf") {
                std::signal(SIGXFSZ, SIG_IGN);  // a write past the limit fails as on a full disk
                const rlimit full{1024, was.rlim_max};
                setrlimit(RLIMIT_FSIZE, &full);
            }
        });
        fromMenu(control("cmdPrint"), 1);
        setrlimit(RLIMIT_FSIZE, &was);
        overridePermissions(true);
        const QString said = stand_.messages.notices.join(u'|');
        if (notice.isEmpty())
            QCOMPARE(said, QString());
        else
            QCOMPARE(said, u"The PDF file \"%1\" %2"_qs.arg(path, notice));
        if (notice.isEmpty() && !place.isEmpty())
            checkShows(run(u"pdftotext"_qs, {path, u"-"_qs}), when);
        // Nothing half-written, and what was there is kept.
        if (!notice.isEmpty())
            QVERIFY(!QFileInfo(path).isFile() || QFileInfo(path).size() == 4);
    }

    void copy_data() {
        QTest::addColumn<int>("how");         // 0 the menu, 1 Ctrl+C in the window, 2 Ctrl+C in a field
        QTest::addColumn<bool>("selection");  // text selected in the field
        QTest::newRow("menu") << 0 << false;
        QTest::newRow("Ctrl+C") << 1 << false;
        QTest::newRow("Ctrl+C in a field") << 2 << false;
        QTest::newRow("Ctrl+C on selected text") << 2 << true;
    }
    void copy() {
        QFETCH(int, how);
        QFETCH(bool, selection);
        QApplication::clipboard()->clear();
        auto* field = qobject_cast<QLineEdit*>(control("angleSCIleft"));
        const QString when = now(u"Copied on %1"_qs);
        if (how == 0)
            fromMenu(control("cmdPrint"), 2);
        (how == 2 ? static_cast<QWidget*>(field) : control("cmdEnd"))->setFocus();
        if (selection)
            field->setSelection(0, 1);
        if (how > 0)
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_C, Qt::ControlModifier);
        const QMimeData* copied = QApplication::clipboard()->mimeData();
        if (selection) {
            QCOMPARE(copied->text(), u"5"_qs);
            return;
        }
        checkShows(copied->text(), when);
        QCOMPARE(qvariant_cast<QImage>(copied->imageData()).size(), window_->size());
    }
};

QTEST_MAIN(Print)
#include "tst_print.moc"
