// kx-scenario [--quiet] [--locale NAME] FILE.kxs [FILE.kxs ...]
// Drives the real window headless, the way a person does, and checks what it
// shows. Exit status: 0 all held, 1 an expectation failed, 2 a file could not
// be run.
#include <QApplication>
#include <QTemporaryDir>
#include <QTextStream>

#include "person.h"
#include "runner.h"

int main(int argc, char* argv[]) {
    kx::person::quietToolkitMessages();
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir runtime;
    if (qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR") && runtime.isValid())
        qputenv("XDG_RUNTIME_DIR", QFile::encodeName(runtime.path()));

    QApplication app(argc, argv);
    QTextStream out(stdout);
    QTextStream err(stderr);

    const auto usage = [&] {
        err << "usage: kx-scenario [--quiet] [--locale NAME] FILE.kxs [FILE.kxs ...]" << Qt::endl;
        return 2;
    };
    kx::scenario::Runner runner(out, err);
    bool quiet = false;
    QStringList files;
    const QStringList args = QApplication::arguments().mid(1);
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString& arg = args[i];
        if (arg == u"--quiet") {
            quiet = true;
        } else if (arg == u"--locale") {
            // The regional format each file starts with, unless it names its own.
            if (i + 1 >= args.size())
                return usage();
            const QString& name = args[++i];
            if (!kx::scenario::Runner::isKnownLocale(name)) {
                err << "unknown locale " << name << Qt::endl;
                return 2;
            }
            runner.setInitialLocale(name);
        } else {
            files << arg;
        }
    }
    if (files.isEmpty())
        return usage();

    int passed = 0, failed = 0;
    bool runError = false;
    for (const QString& file : files) {
        const kx::scenario::FileResult r = runner.runFile(file);
        passed += r.passed;
        failed += r.failed;
        runError |= r.runError;
        if (!quiet && !r.runError && r.failed == 0)
            out << "ok " << file << Qt::endl;
    }
    out << passed << " passed, " << failed << " failed" << Qt::endl;
    return runError ? 2 : failed ? 1 : 0;
}
