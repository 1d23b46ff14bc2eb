#include "system_services.h"

#include <QApplication>
#include <QDesktopServices>
#include <QFileInfo>
#include <QLibraryInfo>
#include <QLockFile>
#include <QMessageBox>
#include <QSettings>
#include <QStandardPaths>
#include <QTranslator>
#include <QUrl>
#include <memory>
#include <utility>

#include "language_setting.h"

namespace kx {

namespace {

#if defined(Q_OS_UNIX) && !defined(Q_OS_DARWIN)
// QSettings reads its file whole and takes a lock file beside it before it
// writes, waiting as long as it takes. Anything but a plain file in either
// place would stop the program: a FIFO blocks the read, a folder or a FIFO as
// the lock can never be taken, and a lock file that does not name a living
// holder is waited for half a minute. Such a place is not used.
bool isPlainOrAbsent(const QString& path) {
    const QFileInfo info(path);
    return info.isFile() || (!info.exists() && !info.isSymLink());
}

bool canRead(const QString& file) { return isPlainOrAbsent(file); }

bool canWrite(const QString& file) {
    const QString lockPath = file + QStringLiteral(".lock");
    if (!canRead(file) || !isPlainOrAbsent(lockPath))
        return false;
    if (!QFileInfo::exists(lockPath))
        return true;
    // A lock that cannot be had at once: the choice then holds for this run only.
    QLockFile probe(lockPath);
    if (!probe.tryLock(100))
        return false;
    probe.unlock();
    return true;
}
#else
// The registry, and macOS's preferences, have no such places.
bool canRead(const QString&) { return true; }
bool canWrite(const QString&) { return true; }
#endif

}  // namespace

QtSettingsStore::QtSettingsStore(QString root) : root_(std::move(root)) {}

QString QtSettingsStore::place(const QString& app) const {
#ifdef Q_OS_WIN
    const QString root = root_.isEmpty() ? QString::fromLatin1(kSettingsRegistryRoot) : root_;
    return root + u'\\' + app;
#else
    // <config>/<app>/<app>.conf, where QSettings keeps an application's settings.
    const QString root =
        root_.isEmpty() ? QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) : root_;
    return root + u'/' + app + u'/' + app + QStringLiteral(".conf");
#endif
}

std::unique_ptr<QSettings> QtSettingsStore::open(const QString& app) const {
#if defined(Q_OS_WIN)
    return std::make_unique<QSettings>(place(app), QSettings::NativeFormat);
#elif defined(Q_OS_DARWIN)
    if (root_.isEmpty())
        return std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope, app, app);
    return std::make_unique<QSettings>(place(app), QSettings::IniFormat);
#else
    return std::make_unique<QSettings>(place(app), QSettings::IniFormat);
#endif
}

QString QtSettingsStore::read(const QString& app, const QString& section, const QString& key) {
    if (!canRead(place(app)))
        return {};
    auto s = open(app);
    const QVariant v = s->value(section + QLatin1Char('/') + key);
    // Whatever another program left there (a list, bytes, a number) reads
    // as text or "".
    return v.canConvert<QString>() ? v.toString() : QString();
}

void QtSettingsStore::write(const QString& app, const QString& section, const QString& key, const QString& value) {
    if (!canWrite(place(app)))
        return;
    auto s = open(app);
    s->setValue(section + QLatin1Char('/') + key, value);
    s->sync();  // an unwritable place leaves the choice for this run only
}

void DesktopBrowser::open(const QString& address) { QDesktopServices::openUrl(QUrl::fromUserInput(address)); }

void prepareToolkit() {
#ifdef Q_OS_WIN
    // Qt 6.4 draws text on Windows through GDI unless told otherwise; under
    // GDI a capital I after two blanks went missing in our notes (seen under
    // Wine). DirectWrite, the default from Qt 6.8 on, draws them whole and
    // smoothly at every scale. A platform chosen by the user stays.
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "windows:fontengine=directwrite");
#endif
}

void translateToolkit(const QString& languageCode) {
    static std::unique_ptr<QTranslator> installed;
    installed.reset();  // which also uninstalls it
    auto next = std::make_unique<QTranslator>();
    if (next->load(u"qtbase_"_qs + languageCode, QLibraryInfo::path(QLibraryInfo::TranslationsPath)) &&
        QCoreApplication::installTranslator(next.get()))
        installed = std::move(next);
}

void QuitApplication::end() { QCoreApplication::exit(0); }

void MessageBoxes::calculationFault(const QString& text) { show(faultBox_, QMessageBox::Warning, text); }

void MessageBoxes::notice(const QString& text) { show(noticeBox_, QMessageBox::Information, text); }

void MessageBoxes::show(QPointer<QMessageBox>& box, int icon, const QString& text) {
    if (!box) {
        // Titled like the window it belongs to, in the window's language.
        const QString title = parent_ ? parent_->windowTitle() : QApplication::applicationName();
        box = new QMessageBox(static_cast<QMessageBox::Icon>(icon), title, text, QMessageBox::Ok, parent_);
        box->setAttribute(Qt::WA_DeleteOnClose);
        box->setWindowModality(Qt::WindowModal);
    }
    box->setText(text);
    box->open();
}

}  // namespace kx
