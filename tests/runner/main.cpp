// kx-scenario [--quiet] [--locale NAME] FILE.kxs [FILE.kxs ...]
// kx-scenario --soak COUNT [--seed SEED]
// Drives the real window headless, the way a person does, and checks what it
// shows. Exit status: 0 all held, 1 an expectation (or in the soak, an
// invariant) failed, 2 a file could not be run.
#include <QApplication>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <cstdio>

#include "runner.h"

int main(int argc, char* argv[]) {
    // Left out: what the offscreen platform cannot do when a list pops up
    // (raise, grab the keyboard), and each font the fallback passes over for
    // the soak's random scripts.
    qInstallMessageHandler([](QtMsgType type, const QMessageLogContext& context, const QString& message) {
        if (type != QtWarningMsg ||
            !(message.startsWith(u"This plugin does not support") || message.contains(u"OpenType support missing")))
            std::fputs(qPrintable(qFormatLogMessage(type, context, message) + u'\n'), stderr);
    });
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir runtime;
    if (qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR") && runtime.isValid())
        qputenv("XDG_RUNTIME_DIR", QFile::encodeName(runtime.path()));
    QApplication app(argc, argv);
    QTextStream out(stdout), err(stderr);
    kx::scenario::Runner runner(out, err);
    bool quiet = false;
    qint64 soak = -1;
    quint64 seed = QRandomGenerator::system()->generate64();
    QStringList files;
    for (QStringList args = QApplication::arguments().mid(1); !args.isEmpty();) {
        const QString arg = args.takeFirst();
        if (arg == u"--quiet") {
            quiet = true;
        } else if (arg == u"--soak" && !args.isEmpty()) {
            soak = args.takeFirst().toLongLong();
        } else if (arg == u"--seed" && !args.isEmpty()) {
            seed = args.takeFirst().toULongLong();
        } else if (arg == u"--locale") {
            // The regional format each file starts with, unless it names its own.
            const QString name = args.isEmpty() ? QString() : args.takeFirst();
            if (!kx::scenario::isKnownLocale(name)) {
                err << "unknown locale " << name << Qt::endl;
                return 2;
            }
            runner.initialLocale = name;
        } else {
            files << arg;
        }
    }
    if (soak >= 0)
        return runner.soak(seed, soak) ? 0 : 1;
    if (files.isEmpty()) {
        err << "usage: kx-scenario [--quiet] [--locale NAME] FILE.kxs [FILE.kxs ...]" << Qt::endl;
        return 2;
    }
    kx::scenario::FileResult all;
    for (const QString& file : files) {
        const kx::scenario::FileResult r = runner.runFile(file);
        all = {all.passed + r.passed, all.failed + r.failed, all.runError || r.runError};
        if (!quiet && !r.runError && r.failed == 0)
            out << "ok " << file << Qt::endl;
    }
    out << all.passed << " passed, " << all.failed << " failed" << Qt::endl;
    return all.runError ? 2 : all.failed ? 1 : 0;
}
