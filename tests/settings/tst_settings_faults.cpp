// The real settings store under every fault its place can have: each case
// starts the window in a child process with its own configuration folder,
// and the child must start in a defined language, at once, without crashing,
// and then survive the print button and the link with neither a printer nor
// a browser.
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QPrinterInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <cstdio>

#include "kxcalc.h"
#include "stand_ins.h"
#include "system_services.h"

#ifdef Q_OS_UNIX
#include <sys/stat.h>
#include <sys/types.h>
#endif

using namespace kx;

namespace {

const char* const kChildArg = "--start-window";

// The child: the window with the real services (only the program's end is a
// stand-in). Prints the language it started in and the stored word it then
// reads. With no printer and no browser here (headless), the print button
// and the link must come back at once as well.
int runChild(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QtSettingsStore settings;
    DesktopBrowser browser;
    DefaultPrinter printer;
    NotedEnd end;
    MessageBoxes messages;
    KXcalc window({settings, browser, printer, end, messages});
    messages.setParentWindow(&window);
    window.formLoad();
    window.show();
    if (QPrinterInfo::defaultPrinter().isNull()) {  // never print a page on a real printer
        QWidget* print = window.control(u"cmdPrint"_qs);
        QTest::mouseClick(print, Qt::LeftButton, Qt::NoModifier, print->rect().center());
    }
    QWidget* link = window.control(u"lblHyperlink"_qs);
    QTest::mouseClick(link, Qt::LeftButton, Qt::NoModifier, link->rect().center());
    QCoreApplication::processEvents();
    const SettingName& n = kLanguageSetting;
    const QString stored =
        settings.read(QLatin1StringView(n.app), QLatin1StringView(n.section), QLatin1StringView(n.key));
    std::printf("language %d\nstored %s\n", window.langIndex(), qPrintable(stored.left(40)));
    return 0;
}

enum class Fault {
    Stored,
    Absent,
    Empty,
    Binary,
    Megabyte,
    Unexpected,
    VariantGarbage,
    UnreadableFile,
    FileIsDirectory,
    FileIsFifo,
    FileIsDevice,
    FolderIsFile,
    ConfigHomeUnderFile,
    LockIsDirectory,
    LockIsFifo,
    StaleLock,
    ReadOnlyFolder,
};

}  // namespace

Q_DECLARE_METATYPE(Fault)

class SettingsFaults : public QObject {
    Q_OBJECT
private slots:
    void startsInADefinedLanguage_data();
    void startsInADefinedLanguage();
};

void SettingsFaults::startsInADefinedLanguage_data() {
    QTest::addColumn<Fault>("fault");
    QTest::addColumn<int>("language");    // -1: any of the three
    QTest::addColumn<QString>("stored");  // what a read gives afterwards; "*" anything
    QTest::newRow("a stored word") << Fault::Stored << 2 << u"italian"_qs;
    QTest::newRow("absent") << Fault::Absent << 1 << u"english"_qs;
    QTest::newRow("empty value") << Fault::Empty << 1 << u"english"_qs;
    QTest::newRow("binary file") << Fault::Binary << -1 << u"*"_qs;
    QTest::newRow("1 MB value") << Fault::Megabyte << 0 << u"xxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxx"_qs;
    QTest::newRow("unexpected word") << Fault::Unexpected << 0 << u"English"_qs;
    QTest::newRow("serialised value") << Fault::VariantGarbage << -1 << u"*"_qs;
    QTest::newRow("unreadable file") << Fault::UnreadableFile << -1 << u"*"_qs;
    QTest::newRow("file is a folder") << Fault::FileIsDirectory << 1 << u""_qs;
    QTest::newRow("folder is a file") << Fault::FolderIsFile << 1 << u""_qs;
    QTest::newRow("config home under a file") << Fault::ConfigHomeUnderFile << 1 << u""_qs;
#ifdef Q_OS_UNIX
    QTest::newRow("file is a FIFO") << Fault::FileIsFifo << 1 << u""_qs;
    QTest::newRow("file is a device") << Fault::FileIsDevice << 1 << u"*"_qs;
    // No setting yet: the start writes one, which needs the lock.
    QTest::newRow("lock is a folder") << Fault::LockIsDirectory << 1 << u"*"_qs;
    QTest::newRow("lock is a FIFO") << Fault::LockIsFifo << 1 << u"*"_qs;
    QTest::newRow("stale lock") << Fault::StaleLock << 1 << u"*"_qs;
    QTest::newRow("read-only folder") << Fault::ReadOnlyFolder << -1 << u"*"_qs;
#endif
}

void SettingsFaults::startsInADefinedLanguage() {
    QFETCH(Fault, fault);
    QFETCH(int, language);
    QFETCH(QString, stored);

    QTemporaryDir home;
    QVERIFY(home.isValid());
    QString config = home.filePath(u"config"_qs);
    const QString app = QLatin1StringView(kLanguageSetting.app);
    const QString folder = config + u'/' + app;
    const QString file = folder + u'/' + app + u".conf"_qs;
    QVERIFY(QDir().mkpath(folder));
    const auto writeFile = [](const QString& path, const QByteArray& content) {
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(content);
    };

    switch (fault) {
        case Fault::Stored: writeFile(file, "[defaults]\nlanguage=italian\n"); break;
        case Fault::Absent: break;
        case Fault::Empty: writeFile(file, "[defaults]\nlanguage=\n"); break;
        case Fault::Binary: {
            QByteArray junk;
            for (int i = 0; i < 4096; ++i)
                junk.append(char((i * 7919 + 13) % 256));
            writeFile(file, "[defaults]\nlanguage=" + junk + "\n" + junk);
            break;
        }
        case Fault::Megabyte: writeFile(file, "[defaults]\nlanguage=" + QByteArray(1 << 20, 'x') + "\n"); break;
        case Fault::Unexpected: writeFile(file, "[defaults]\nlanguage=English\n"); break;
        case Fault::VariantGarbage:
            writeFile(file, "[defaults]\nlanguage=@Variant(\\0\\0\\0\\x7f\\0\\0\\0\\xffgarbage\\0\\x1)\n");
            break;
        case Fault::UnreadableFile:
            writeFile(file, "[defaults]\nlanguage=italian\n");
            QFile::setPermissions(file, QFileDevice::Permissions());
            break;
        case Fault::FileIsDirectory: QVERIFY(QDir().mkpath(file)); break;
        case Fault::FolderIsFile:
            QVERIFY(QDir(folder).removeRecursively());
            writeFile(folder, "not a folder");
            break;
        case Fault::ConfigHomeUnderFile:
            writeFile(home.filePath(u"plain"_qs), "a file");
            config = home.filePath(u"plain/config"_qs);
            break;
#ifdef Q_OS_UNIX
        case Fault::FileIsFifo: QCOMPARE(::mkfifo(QFile::encodeName(file).constData(), 0600), 0); break;
        case Fault::FileIsDevice: QVERIFY(QFile::link(u"/dev/zero"_qs, file)); break;
        case Fault::LockIsDirectory: QVERIFY(QDir().mkpath(file + u".lock"_qs)); break;
        case Fault::LockIsFifo: QCOMPARE(::mkfifo(QFile::encodeName(file + u".lock"_qs).constData(), 0600), 0); break;
        case Fault::StaleLock:
            // A lock file that names no holder, written just now.
            writeFile(file + u".lock"_qs, "garbage\nnot a lock\n");
            break;
        case Fault::ReadOnlyFolder:
            QFile::setPermissions(folder, QFileDevice::ReadOwner | QFileDevice::ExeOwner);
            break;
#endif
    }

    QProcess child;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(u"XDG_CONFIG_HOME"_qs, config);
    env.insert(u"HOME"_qs, home.path());
    env.insert(u"QT_QPA_PLATFORM"_qs, u"offscreen"_qs);
    child.setProcessEnvironment(env);
    child.start(QCoreApplication::applicationFilePath(), {QString::fromLatin1(kChildArg)});
    QVERIFY(child.waitForStarted());
    // A start takes well under a second; ten seconds mean it hangs.
    const bool finished = child.waitForFinished(10000);
    if (!finished) {
        child.kill();
        child.waitForFinished();
    }
    QFile::setPermissions(folder, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    const QString out = QString::fromLocal8Bit(child.readAllStandardOutput());
    const QString err = QString::fromLocal8Bit(child.readAllStandardError());
    QVERIFY2(finished, "the start blocked");
    QVERIFY2(child.exitStatus() == QProcess::NormalExit && child.exitCode() == 0, qPrintable(out + err));

    const QStringList lines = out.split(u'\n');
    QVERIFY2(lines.size() >= 2 && lines[0].startsWith(u"language "), qPrintable(out + err));
    const int seen = lines[0].mid(9).toInt();
    if (language < 0)
        QVERIFY2(seen >= 0 && seen <= 2, qPrintable(out));
    else
        QCOMPARE(seen, language);
    if (stored != u"*")
        QCOMPARE(lines[1].mid(7), stored);
}

int main(int argc, char* argv[]) {
    if (argc > 1 && qstrcmp(argv[1], kChildArg) == 0)
        return runChild(argc, argv);
    QCoreApplication app(argc, argv);
    SettingsFaults test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_settings_faults.moc"
