// Linked into the start-up benchmark's copies of the program and of the bare
// window, next to their own main. It reports the moment the first frame of the
// top-level window has been shown and the process's peak resident memory up
// to then, and the processor time it has used (user and system), on one line
// of standard output, and ends the process.
//
// The first frame: the first expose or update request of a top-level window
// during which the top-level widget was painted; it has been handled when the
// whole window has been painted into the backing store and the backing store
// has been flushed to the window system. The time is the steady clock, which
// is the same for every process of the machine (CLOCK_MONOTONIC on Linux,
// QueryPerformanceCounter on Windows, mach_absolute_time on macOS), so the
// launcher can subtract its own reading taken before it started the process.
#include <QCoreApplication>
#include <QEvent>
#include <QWidget>
#include <QWindow>
#include <chrono>
#include <cstdio>
#include <cstdlib>

#if defined(Q_OS_WIN)
#include <windows.h>
// After windows.h, whose types it uses: mingw rejects it on its own.
#include <psapi.h>
#else
#include <sys/resource.h>
#endif

namespace {

long long peakResidentKiB() {
#if defined(Q_OS_WIN)
    PROCESS_MEMORY_COUNTERS pmc{};
    if (GetProcessMemoryInfo(GetCurrentProcess(), &pmc, sizeof pmc))
        return static_cast<long long>(pmc.PeakWorkingSetSize / 1024);
    return -1;
#else
    rusage usage{};
    if (getrusage(RUSAGE_SELF, &usage) != 0)
        return -1;
#if defined(Q_OS_MACOS)
    return static_cast<long long>(usage.ru_maxrss / 1024);  // bytes there
#else
    return static_cast<long long>(usage.ru_maxrss);  // KiB
#endif
#endif
}

// User and system processor time of the process so far, in milliseconds.
double processorMs() {
#if defined(Q_OS_WIN)
    FILETIME created, exited, kernel, user;
    if (!GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user))
        return -1;
    const auto ticks = [](const FILETIME& t) {
        return (static_cast<unsigned long long>(t.dwHighDateTime) << 32) | t.dwLowDateTime;
    };
    return double(ticks(kernel) + ticks(user)) / 1e4;  // 100 ns ticks
#else
    rusage usage{};
    if (getrusage(RUSAGE_SELF, &usage) != 0)
        return -1;
    const auto ms = [](const timeval& t) { return double(t.tv_sec) * 1e3 + double(t.tv_usec) / 1e3; };
    return ms(usage.ru_utime) + ms(usage.ru_stime);
#endif
}

class FirstFrame : public QObject {
public:
    bool eventFilter(QObject* o, QEvent* e) override {
        if (e->type() == QEvent::Paint && o->isWidgetType() && static_cast<QWidget*>(o)->isWindow()) {
            painted_ = true;
            return false;
        }
        if ((e->type() != QEvent::Expose && e->type() != QEvent::UpdateRequest) || !o->isWindowType() || inside_)
            return false;
        // Handle the event here, so that its painting and flushing are done
        // when the time is taken.
        inside_ = true;
        painted_ = false;
        o->event(e);
        inside_ = false;
        if (painted_) {
            const auto now = std::chrono::steady_clock::now().time_since_epoch();
            std::printf("first_frame_ns=%lld peak_kib=%lld cpu_ms=%.3f\n",
                        static_cast<long long>(std::chrono::duration_cast<std::chrono::nanoseconds>(now).count()),
                        peakResidentKiB(), processorMs());
            std::fflush(stdout);
            std::_Exit(0);
        }
        return true;
    }

private:
    bool inside_ = false;
    bool painted_ = false;
};

void installProbe() { QCoreApplication::instance()->installEventFilter(new FirstFrame); }

}  // namespace

Q_COREAPP_STARTUP_FUNCTION(installProbe)
