// Start-up of the program against a bare Qt Widgets window of the same size,
// measured side by side: the two are started in turn (program, bare window,
// program, ...) so that both see the same machine load. For each start it
// takes the time from just before the process is started until its first
// frame has been shown, and the peak resident memory up to then, both as the
// child reports them (first_frame_probe.cpp).
//
// Usage: startup_compare PROGRAM BARE_WINDOW [RUNS]   (default 30 of each)
// Prints "startup_ms program=… bare=… ratio=… runs=…" and
// "peak_mib program=… bare=… ratio=… runs=…" (medians; ratio of the medians),
// and "cpu_ms ..." likewise: the processor time each used up to its first
// frame, which a busy machine disturbs far less than the elapsed time.
// The children get a private configuration folder, so the program's language
// setting never touches the user's own (on Linux, where the settings live
// under XDG_CONFIG_HOME).
#include <QCoreApplication>
#include <QProcess>
#include <QTemporaryDir>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

namespace {

struct Start {
    double ms = 0;
    double mib = 0;
    double cpuMs = 0;
};

bool runOnce(const QString& program, const QProcessEnvironment& env, Start& out) {
    QProcess child;
    child.setProcessEnvironment(env);
    child.setProcessChannelMode(QProcess::SeparateChannels);
    const auto started = std::chrono::steady_clock::now().time_since_epoch();
    child.start(program, {});
    if (!child.waitForFinished(30000)) {
        child.kill();
        child.waitForFinished();
        std::fprintf(stderr, "startup_compare: %s did not end\n", qPrintable(program));
        return false;
    }
    const QByteArray line = child.readAllStandardOutput().trimmed();
    long long frameNs = 0, peakKiB = 0;
    double cpuMs = 0;
    if (std::sscanf(line.constData(), "first_frame_ns=%lld peak_kib=%lld cpu_ms=%lf", &frameNs, &peakKiB, &cpuMs) !=
        3) {
        std::fprintf(stderr, "startup_compare: %s reported no first frame (%s)\n%s", qPrintable(program),
                     line.constData(), child.readAllStandardError().constData());
        return false;
    }
    out.ms = double(frameNs - std::chrono::duration_cast<std::chrono::nanoseconds>(started).count()) / 1e6;
    out.mib = double(peakKiB) / 1024.0;
    out.cpuMs = cpuMs;
    return true;
}

double median(std::vector<double> v) {
    std::ranges::sort(v);
    const std::size_t n = v.size();
    return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

}  // namespace

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    if (args.size() < 3) {
        std::fprintf(stderr, "usage: startup_compare PROGRAM BARE_WINDOW [RUNS]\n");
        return 2;
    }
    const QString programs[2] = {args[1], args[2]};
    const int runs = args.size() > 3 ? std::max(1, args[3].toInt()) : 30;

    QTemporaryDir home;
    if (!home.isValid() || !QDir(home.path()).mkpath(QStringLiteral("config")) ||
        !QDir(home.path()).mkpath(QStringLiteral("runtime"))) {
        std::fprintf(stderr, "startup_compare: no private folder\n");
        return 2;
    }
    QFile::setPermissions(home.filePath(QStringLiteral("runtime")),
                          QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), home.filePath(QStringLiteral("config")));
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), home.filePath(QStringLiteral("runtime")));

    // Two starts of each that are not counted: the first start of the program
    // writes its language setting, and both fill the system's file caches.
    std::vector<double> ms[2], mib[2], cpu[2];
    for (int i = 0; i < 2 + runs; ++i)
        for (int k = 0; k < 2; ++k) {
            Start s;
            if (!runOnce(programs[k], env, s))
                return 1;
            if (i >= 2) {
                ms[k].push_back(s.ms);
                mib[k].push_back(s.mib);
                cpu[k].push_back(s.cpuMs);
            }
        }

    const double msP = median(ms[0]), msB = median(ms[1]);
    const double mibP = median(mib[0]), mibB = median(mib[1]);
    const double cpuP = median(cpu[0]), cpuB = median(cpu[1]);
    std::printf("startup_ms program=%.2f bare=%.2f ratio=%.3f runs=%d\n", msP, msB, msP / msB, runs);
    std::printf("peak_mib program=%.2f bare=%.2f ratio=%.3f runs=%d\n", mibP, mibB, mibP / mibB, runs);
    std::printf("cpu_ms program=%.2f bare=%.2f ratio=%.3f runs=%d\n", cpuP, cpuB, cpuP / cpuB, runs);
    return 0;
}
