// The real settings store under every fault its place can have: each case
// starts the window in a child process with its own configuration folder
// (on Windows its own registry key), and the child must start in a defined
// language, at once, without crashing, and then survive the print button
// (telling the person, in the real message box, that nothing was printed) and
// the link with neither a printer nor a browser.
#include <QtPrintSupport>
#include <QtTest>
#include <QtWidgets>
#include <cstdio>
#include <string>

#include "kxcalc.h"
#include "printing.h"
#include "system_services.h"

#ifdef Q_OS_WIN
#include <aclapi.h>
#include <windows.h>
#else
#include <sys/stat.h>
#endif

using namespace kx;

const char* const kChildArg = "--start-window";

// What is wrong beyond the stored value; on Windows, the type the value is
// stored as.
#ifdef Q_OS_WIN
enum class Place : DWORD { Plain = REG_SZ, Binary = REG_BINARY, Number = REG_DWORD, Texts = REG_MULTI_SZ, ReadOnlyKey };
#else
enum class Place { Plain, Binary, Unreadable, FileIsDir, DirIsFile, Fifo, LockIsDir, StaleLock, ReadOnlyDir };
#endif

// Each case: its name, what the child must print (a pattern), the fault and
// the stored value (null: none).
const std::tuple<const char*, const char*, Place, QByteArray> kCases[] = {
    {"a stored word", "language 2 stored italian", Place::Plain, "italian"},
    {"absent", "language 1 stored english", Place::Plain, {}},
    {"empty value", "language 1 stored english", Place::Plain, ""},
    {"unexpected word", "language 0 stored English", Place::Plain, "English"},
    {"500,000 characters", "language 0 stored x{40}", Place::Plain, QByteArray(500000, 'x')},
    {"binary value", "language [0-2] stored .*", Place::Binary, QByteArray("\0\x01\n[\x7f\x80\xff=", 8).repeated(500)},
#ifdef Q_OS_WIN
    {"a number, not text", "language 0 stored .*", Place::Number, QByteArray("\x02\0\0\0", 4)},
    {"several texts", "language [0-2] stored .*", Place::Texts, QByteArray("italian\0german\0", 15)},
    // Nothing can be written: the start's choice holds for this run only.
    {"key not writable", "language 1 stored ", Place::ReadOnlyKey, {}},
#else
    {"unreadable file", "language [0-2] stored .*", Place::Unreadable, "italian"},
    {"file is a folder", "language 1 stored ", Place::FileIsDir, {}},
    {"folder is a file", "language 1 stored ", Place::DirIsFile, {}},
    {"file is a FIFO", "language 1 stored ", Place::Fifo, {}},
    // No setting yet: the start writes one, which needs the lock.
    {"lock is a folder", "language 1 stored .*", Place::LockIsDir, {}},
    // A lock that names no holder, written just now: the toolkit would wait half a minute for it.
    {"stale lock", "language 1 stored .*", Place::StaleLock, {}},
    {"read-only folder", "language [0-2] stored .*", Place::ReadOnlyDir, {}},
#endif
};

// Starts the child with ARGS (it inherits this process's environment) and
// checks what it printed. Ten seconds (thirty under Wine) mean the start blocked.
static void checkChild(const QStringList& args, const char* output) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QProcess child;
    child.start(QCoreApplication::applicationFilePath(), QStringList{QString::fromLatin1(kChildArg)} + args);
    const bool finished = child.waitForFinished(QSysInfo::productType() == u"windows" ? 30000 : 10000);
    const QString out = QString::fromLocal8Bit(child.readAllStandardOutput()).remove(u'\r');
    QVERIFY2(finished && child.exitStatus() == QProcess::NormalExit && child.exitCode() == 0 &&
                 QRegularExpression(u"(?s)\\A"_qs + QLatin1StringView(output) + u"\n\\z"_qs).match(out).hasMatch(),
             qPrintable(finished ? out + child.readAllStandardError() : u"the start blocked"_qs));
}

#ifdef Q_OS_WIN
// Each case gets a key of its own under HKEY_CURRENT_USER\Software\kxcalc-tests,
// which the child uses as its root, so the user's own setting is never touched.
const std::wstring kCaseRoot = L"Software\\kxcalc-tests\\" + std::to_wstring(GetCurrentProcessId());
const std::wstring kCaseKey =
    (QString::fromStdWString(kCaseRoot) + u"\\%1\\%2"_qs.arg(kLanguageSetting.app, kLanguageSetting.section))
        .toStdWString();

// The section's key, there but closed to writing for everyone.
static bool makeReadOnlyKey() {
    HKEY key = nullptr;
    EXPLICIT_ACCESSW deny{KEY_SET_VALUE | KEY_CREATE_SUB_KEY, DENY_ACCESS, NO_INHERITANCE, {}};
    wchar_t everyone[] = L"EVERYONE";
    BuildTrusteeWithNameW(&deny.Trustee, everyone);
    PACL acl = nullptr;
    const bool ok = RegCreateKeyExW(HKEY_CURRENT_USER, kCaseKey.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key,
                                    nullptr) == ERROR_SUCCESS &&
                    SetEntriesInAclW(1, &deny, nullptr, &acl) == ERROR_SUCCESS &&
                    SetSecurityInfo(key, SE_REGISTRY_KEY, DACL_SECURITY_INFORMATION, nullptr, nullptr, acl, nullptr) ==
                        ERROR_SUCCESS;
    LocalFree(acl);
    RegCloseKey(key);
    return ok;
}

static void startCase(const char* /*name*/, const char* output, Place place, const QByteArray& value) {
    RegDeleteTreeW(HKEY_CURRENT_USER, kCaseRoot.c_str());
    const auto cleanUp = qScopeGuard([] { RegDeleteTreeW(HKEY_CURRENT_USER, kCaseRoot.c_str()); });
    // Texts go in as UTF-16 with their terminator, other values as they are.
    const QString text = QString::fromLatin1(value) + QChar(0);
    const bool isText = place == Place::Plain || place == Place::Texts;
    if (place == Place::ReadOnlyKey)
        QVERIFY(makeReadOnlyKey());
    else if (!value.isNull())
        QVERIFY(RegSetKeyValueW(HKEY_CURRENT_USER, kCaseKey.c_str(),
                                QString::fromLatin1(kLanguageSetting.key).toStdWString().c_str(), DWORD(place),
                                isText ? static_cast<const void*>(text.utf16()) : value.constData(),
                                DWORD(isText ? text.size() * 2 : value.size())) == ERROR_SUCCESS);
    checkChild({u"HKEY_CURRENT_USER\\"_qs + QString::fromStdWString(kCaseRoot)}, output);
}

#else

static bool writeFile(const QString& path, const QByteArray& content) {
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(content) == content.size();
}

static void startCase(const char* /*name*/, const char* output, Place place, const QByteArray& value) {
    QTemporaryDir home;
    const QString app = QLatin1StringView(kLanguageSetting.app);
    const QString folder = home.filePath(u"config/"_qs + app), file = folder + u'/' + app + u".conf"_qs;
    QVERIFY(home.isValid() && QDir().mkpath(folder));
    // The folder again open to the temporary folder's clean-up, whatever the outcome.
    const auto reopen =
        qScopeGuard([&] { QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner); });
    if (!value.isNull())
        QVERIFY(writeFile(file, "[defaults]\nlanguage=" + value + "\n"));
    switch (place) {
        case Place::Unreadable: QFile::setPermissions(file, {}); break;
        case Place::FileIsDir: QVERIFY(QDir().mkpath(file)); break;
        case Place::DirIsFile: QVERIFY(QDir(folder).removeRecursively() && writeFile(folder, "not a folder")); break;
        case Place::Fifo: QCOMPARE(::mkfifo(QFile::encodeName(file).constData(), 0600), 0); break;
        case Place::LockIsDir: QVERIFY(QDir().mkpath(file + u".lock"_qs)); break;
        case Place::StaleLock: QVERIFY(writeFile(file + u".lock"_qs, "garbage\nnot a lock\n")); break;
        case Place::ReadOnlyDir: QFile::setPermissions(folder, QFile::ReadOwner | QFile::ExeOwner); break;
        default: break;
    }
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(home.filePath(u"config"_qs)));
    qputenv("HOME", QFile::encodeName(home.path()));
    checkChild({}, output);
}

#endif

class SettingsFaults : public QObject {
    Q_OBJECT
private slots:
    void startsInADefinedLanguage_data() {
        QTest::addColumn<int>("row");
        for (int i = 0; i < int(std::size(kCases)); ++i)
            QTest::newRow(std::get<0>(kCases[i])) << i;
    }
    void startsInADefinedLanguage() {
        QFETCH(int, row);
        std::apply(startCase, kCases[row]);
    }
};

int main(int argc, char* argv[]) {
    if (argc < 2 || qstrcmp(argv[1], kChildArg) != 0) {
        QCoreApplication app(argc, argv);
        SettingsFaults test;
        return QTest::qExec(&test, argc, argv);
    }
    // The child: the window with the real services. Prints the language it
    // started in and the stored word it then reads. With no printer and no
    // browser here (headless), the print button and the link must come back
    // at once as well; then the end button ends it.
    QApplication app(argc, argv);
    // On Windows the registry root the parent chose; elsewhere the
    // configuration folder comes from the environment, as for the user.
    QtSettingsStore settings(argc > 2 ? QString::fromLocal8Bit(argv[2]) : QString());
    DesktopBrowser browser;
    SystemPrinter printer;
    SystemClipboard clipboard;
    QuitApplication end;
    MessageBoxes messages;
    KXcalc window({settings, browser, printer, clipboard, end, messages});
    messages.setParentWindow(&window);
    window.formLoad();
    window.show();
    if (QPrinterInfo::defaultPrinter().isNull()) {  // never print a page on a real printer
        QTest::mouseClick(window.control(u"cmdPrint"_qs), Qt::LeftButton);
        // The person is told that nothing was printed.
        if (auto* box = window.findChild<QMessageBox*>(); !box || !box->isVisible())
            return std::puts("no notice after the print button"), 1;
    }
    QTest::mouseClick(window.control(u"lblHyperlink"_qs), Qt::LeftButton);
    QCoreApplication::processEvents();
    const SettingName& n = kLanguageSetting;
    const auto word = settings.read(QLatin1StringView(n.app), QLatin1StringView(n.section), QLatin1StringView(n.key));
    std::printf("language %d stored %s\n", window.langIndex(), qPrintable(word.left(40)));
    // The end button ends the real program, with status 0.
    QTimer::singleShot(0, &window, [&] { QTest::mouseClick(window.control(u"cmdEnd"_qs), Qt::LeftButton); });
    return app.exec();
}

#include "tst_settings_faults.moc"
