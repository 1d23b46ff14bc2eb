// Renders the window in each language to PNG files, as a person sees it.
//   kx-render OUTDIR [SCALE]
#include <QApplication>
#include <QDir>
#include <QTemporaryDir>

#include "kxcalc.h"
#include "printing.h"
#include "system_services.h"

int main(int argc, char* argv[]) {
    if (argc >= 3)
        qputenv("QT_SCALE_FACTOR", argv[2]);
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const QString out = argc >= 2 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral(".");
    QDir().mkpath(out);
    // The window's own services, its language setting kept in a folder of its own.
    QTemporaryDir store;
    kx::QtSettingsStore settings(store.path());
    kx::DesktopBrowser browser;
    kx::SystemPrinter printer;
    kx::SystemClipboard clipboard;
    kx::QuitApplication end;
    kx::MessageBoxes messages;
    const kx::SettingName& n = kx::kLanguageSetting;
    for (const kx::Language& language : kx::kLanguages) {
        const QLatin1StringView word(language.settingWord);
        settings.write(QLatin1StringView(n.app), QLatin1StringView(n.section), QLatin1StringView(n.key), word);
        kx::KXcalc window({settings, browser, printer, clipboard, end, messages});
        window.formLoad();
        window.show();
        QApplication::processEvents();
        if (!window.grab().save(QDir(out).filePath(QStringLiteral("kxcalc-%1.png").arg(word))))
            return 1;
    }
    return 0;
}
