#include <QApplication>

#include "kxcalc.h"
#include "printing.h"
#include "system_services.h"

int main(int argc, char* argv[]) {
    kx::prepareToolkit();
    QApplication app(argc, argv);
    // The name the program's settings are kept under.
    QApplication::setApplicationName(QLatin1StringView(kx::kLanguageSetting.app));
    // No application display name: Qt would append it to the window's
    // caption, which must read exactly as the window sets it.
    QApplication::setDesktopFileName(QStringLiteral("com.orbeldental.kxcalc"));

    kx::QtSettingsStore settings;
    kx::DesktopBrowser browser;
    kx::SystemPrinter printer;
    kx::SystemClipboard clipboard;
    kx::QuitApplication programEnd;
    kx::MessageBoxes messages;
    kx::KXcalc window({settings, browser, printer, clipboard, programEnd, messages});
    messages.setParentWindow(&window);
    window.formLoad();
    window.show();
    return QApplication::exec();
}
