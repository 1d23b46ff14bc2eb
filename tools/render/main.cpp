// Renders the window in each language to PNG files, as a person sees it.
//   kx-render OUTDIR [SCALE]
#include <QApplication>
#include <QDir>

#include "kxcalc.h"
#include "stand_ins.h"

int main(int argc, char* argv[]) {
    if (argc >= 3)
        qputenv("QT_SCALE_FACTOR", argv[2]);
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const QString out = argc >= 2 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral(".");
    QDir().mkpath(out);
    for (const kx::Language& language : kx::kLanguages) {
        const QLatin1StringView word(language.settingWord);
        kx::StandIns stand;
        stand.settings.values.insert(kx::MemorySettings::languageKey(), word);
        kx::KXcalc window(stand.services());
        window.formLoad();
        window.show();
        QApplication::processEvents();
        const QString file = QDir(out).filePath(QStringLiteral("kxcalc-%1.png").arg(word));
        if (!window.grab().save(file))
            return 1;
    }
    return 0;
}
