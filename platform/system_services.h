// The real services of the desktop.
#pragma once

#include <QPointer>
#include <memory>

#include "services.h"

class QMessageBox;
class QSettings;
class QWidget;

namespace kx {

// QSettings. On Windows the classic per-user place of such settings
// (kSettingsRegistryRoot\<app>\<section>, language_setting.h), so that the
// choice of an existing installation carries over; elsewhere the platform's
// per-user configuration folder (<config>/<app>/<app>.conf).
// A root other than the default (a registry path on Windows, a folder
// elsewhere) keeps a test's settings apart from the user's.
class QtSettingsStore : public SettingsStore {
public:
    explicit QtSettingsStore(QString root = {});
    QString read(const QString& app, const QString& section, const QString& key) override;
    void write(const QString& app, const QString& section, const QString& key, const QString& value) override;

private:
    QString place(const QString& app) const;
    std::unique_ptr<QSettings> open(const QString& app) const;
    QString root_;
};

class DesktopBrowser : public Browser {
public:
    void open(const QString& address) override;
};

// Toolkit choices that must be made before the application object exists.
void prepareToolkit();

// The toolkit's own texts (its print and file dialogs, its message boxes'
// buttons) in the language of this ISO 639 code, where the system has them
// (Debian: qt6-translations-l10n); else they stay English. On Windows the
// dialogs are the system's, in its language.
void translateToolkit(const QString& languageCode);

class QuitApplication : public ProgramEnd {
public:
    void end() override;
};

// Message boxes that do not block: a handler that reports a fault returns at
// once, and a second fault while a box is open replaces its text.
class MessageBoxes : public Messages {
public:
    void setParentWindow(QWidget* w) { parent_ = w; }
    void calculationFault(const QString& text) override;
    void notice(const QString& text) override;

private:
    void show(QPointer<QMessageBox>& box, int icon, const QString& text);
    QPointer<QWidget> parent_;
    QPointer<QMessageBox> faultBox_, noticeBox_;
};

}  // namespace kx
