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
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>
#include <cstdio>
#include <string>

#include "kxcalc.h"
#include "stand_ins.h"
#include "system_services.h"

#ifdef Q_OS_UNIX
#include <sys/stat.h>
#include <sys/types.h>
#endif
#ifdef Q_OS_WIN
#include <aclapi.h>
#include <windows.h>
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
    // On Windows the registry root the parent chose; elsewhere the
    // configuration folder comes from the environment, as for the user.
    QtSettingsStore settings(argc > 2 ? QString::fromLocal8Bit(argv[2]) : QString());
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
    NumberValue,
    MultiTextValue,
    ReadOnlyKey,
};

}  // namespace

Q_DECLARE_METATYPE(Fault)

namespace {
// Starts the child with ARGS and ENV and checks what it printed: that it
// started in LANGUAGE (-1: any of the three) and then read STORED ("*":
// anything). Ten seconds (thirty under Wine) mean the start blocked.
void checkChild(const QStringList& args, const QProcessEnvironment& env, int language, const QString& stored) {
    QProcess child;
    child.setProcessEnvironment(env);
    child.start(QCoreApplication::applicationFilePath(), QStringList{QString::fromLatin1(kChildArg)} + args);
    QVERIFY(child.waitForStarted());
#ifdef Q_OS_WIN
    const bool finished = child.waitForFinished(30000);
#else
    const bool finished = child.waitForFinished(10000);
#endif
    if (!finished) {
        child.kill();
        child.waitForFinished();
    }
    const QString out = QString::fromLocal8Bit(child.readAllStandardOutput());
    const QString err = QString::fromLocal8Bit(child.readAllStandardError());
    QVERIFY2(finished, "the start blocked");
    QVERIFY2(child.exitStatus() == QProcess::NormalExit && child.exitCode() == 0, qPrintable(out + err));

    const QStringList lines = out.split(u'\n');
    QVERIFY2(lines.size() >= 2 && lines[0].startsWith(u"language "), qPrintable(out + err));
    const int seen = lines[0].mid(9).trimmed().toInt();
    if (language < 0)
        QVERIFY2(seen >= 0 && seen <= 2, qPrintable(out));
    else
        QCOMPARE(seen, language);
    if (stored != u"*")
        QCOMPARE(lines[1].mid(7).trimmed(), stored);
}
}  // namespace

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
    QTest::newRow("unexpected word") << Fault::Unexpected << 0 << u"English"_qs;
#ifndef Q_OS_WIN
    QTest::newRow("binary file") << Fault::Binary << -1 << u"*"_qs;
    QTest::newRow("1 MB value") << Fault::Megabyte << 0 << u"xxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxx"_qs;
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
#else
    QTest::newRow("a number, not text") << Fault::NumberValue << 0 << u"*"_qs;
    QTest::newRow("binary value") << Fault::Binary << -1 << u"*"_qs;
    QTest::newRow("several texts") << Fault::MultiTextValue << -1 << u"*"_qs;
    QTest::newRow("500,000 characters") << Fault::Megabyte << 0 << u"xxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxx"_qs;
    // Nothing can be written: the start's choice holds for this run only.
    QTest::newRow("key not writable") << Fault::ReadOnlyKey << 1 << u""_qs;
#endif
}

#ifndef Q_OS_WIN

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
        default: QFAIL("not a fault of a settings file");
    }

    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(u"XDG_CONFIG_HOME"_qs, config);
    env.insert(u"HOME"_qs, home.path());
    env.insert(u"QT_QPA_PLATFORM"_qs, u"offscreen"_qs);
    // The folder again open to the temporary folder's clean-up, whatever the outcome.
    const auto reopen = qScopeGuard([&] {
        QFile::setPermissions(folder, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    });
    checkChild({}, env, language, stored);
}

#else

// On Windows the store is the registry. Each case gets a key of its own under
// HKEY_CURRENT_USER\Software\kxcalc-tests, which the child uses as its root,
// so the user's own setting is never touched.
namespace {
const wchar_t* const kTestRoot = L"Software\\kxcalc-tests";

std::wstring caseKey() {
    return std::wstring(kTestRoot) + L"\\" + std::to_wstring(GetCurrentProcessId()) + L"\\KXcalculator\\defaults";
}

bool setValue(DWORD type, const void* data, DWORD bytes) {
    return RegSetKeyValueW(HKEY_CURRENT_USER, caseKey().c_str(), L"language", type, data, bytes) == ERROR_SUCCESS;
}

bool setText(const std::wstring& text) {
    return setValue(REG_SZ, text.c_str(), DWORD((text.size() + 1) * sizeof(wchar_t)));
}

// The section's key, there but closed to writing for everyone.
bool makeReadOnlyKey() {
    HKEY key = nullptr;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, caseKey().c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr) !=
        ERROR_SUCCESS)
        return false;
    EXPLICIT_ACCESSW deny{};
    deny.grfAccessPermissions = KEY_SET_VALUE | KEY_CREATE_SUB_KEY;
    deny.grfAccessMode = DENY_ACCESS;
    deny.grfInheritance = NO_INHERITANCE;
    wchar_t everyone[] = L"EVERYONE";
    BuildTrusteeWithNameW(&deny.Trustee, everyone);
    PACL acl = nullptr;
    const bool ok = SetEntriesInAclW(1, &deny, nullptr, &acl) == ERROR_SUCCESS &&
                    SetSecurityInfo(key, SE_REGISTRY_KEY, DACL_SECURITY_INFORMATION, nullptr, nullptr, acl, nullptr) ==
                        ERROR_SUCCESS;
    LocalFree(acl);
    RegCloseKey(key);
    return ok;
}
}  // namespace

void SettingsFaults::startsInADefinedLanguage() {
    QFETCH(Fault, fault);
    QFETCH(int, language);
    QFETCH(QString, stored);

    const std::wstring caseRoot = std::wstring(kTestRoot) + L"\\" + std::to_wstring(GetCurrentProcessId());
    RegDeleteTreeW(HKEY_CURRENT_USER, caseRoot.c_str());
    switch (fault) {
        case Fault::Stored: QVERIFY(setText(L"italian")); break;
        case Fault::Absent: break;
        case Fault::Empty: QVERIFY(setText(L"")); break;
        case Fault::Unexpected: QVERIFY(setText(L"English")); break;
        case Fault::NumberValue: {
            const DWORD two = 2;
            QVERIFY(setValue(REG_DWORD, &two, sizeof two));
            break;
        }
        case Fault::Binary: {
            QByteArray junk;
            for (int i = 0; i < 4096; ++i)
                junk.append(char((i * 7919 + 13) % 256));
            QVERIFY(setValue(REG_BINARY, junk.constData(), DWORD(junk.size())));
            break;
        }
        case Fault::MultiTextValue: {
            const wchar_t texts[] = L"italian\0german\0";
            QVERIFY(setValue(REG_MULTI_SZ, texts, sizeof texts));
            break;
        }
        case Fault::Megabyte: QVERIFY(setText(std::wstring(500000, L'x'))); break;
        case Fault::ReadOnlyKey: QVERIFY(makeReadOnlyKey()); break;
        default: QFAIL("not a registry fault");
    }

    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(u"QT_QPA_PLATFORM"_qs, u"offscreen"_qs);
    checkChild({u"HKEY_CURRENT_USER\\"_qs + QString::fromStdWString(caseRoot)}, env, language, stored);
    RegDeleteTreeW(HKEY_CURRENT_USER, caseRoot.c_str());
}

#endif

int main(int argc, char* argv[]) {
    if (argc > 1 && qstrcmp(argv[1], kChildArg) == 0)
        return runChild(argc, argv);
    QCoreApplication app(argc, argv);
    SettingsFaults test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_settings_faults.moc"
