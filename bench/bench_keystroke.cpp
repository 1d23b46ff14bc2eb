// Time of one keystroke in an angle field, end to end: from the key press
// until the press and the release have been delivered. Every handler a
// keystroke starts runs nested inside that delivery (the angle check, the
// arrow pair, the effective field, the calculation, the six result fields
// and the three tiles), so when sendEvent returns every field and tile has
// been written. Painting is not part of it: the toolkit paints later, from
// the event loop, whatever the number of writes; it is timed on its own as
// "repaint after a keystroke".
//
// Usage: bench_keystroke [KEYSTROKES]   (default 4000)
// Prints "keystroke_us median=… p99=… n=…" and "repaint_us median=… p99=… n=…".
#include <QApplication>
#include <QLineEdit>
#include <QTest>
#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "kxcalc.h"
#include "stand_ins.h"

namespace {

using Clock = std::chrono::steady_clock;

double micros(Clock::duration d) { return std::chrono::duration<double, std::micro>(d).count(); }

// The value below which the given share of the samples lies (nearest rank).
double percentile(std::vector<double> v, double share) {
    std::ranges::sort(v);
    const auto rank = static_cast<std::size_t>(std::lround(share * double(v.size() - 1)));
    return v[std::min(rank, v.size() - 1)];
}

void print(const char* name, const std::vector<double>& samples) {
    std::printf("%s median=%.2f p99=%.2f n=%zu\n", name, percentile(samples, 0.5), percentile(samples, 0.99),
                samples.size());
}

[[noreturn]] void fail(const char* what) {
    std::fprintf(stderr, "bench_keystroke: %s\n", what);
    std::exit(1);
}

}  // namespace

int main(int argc, char* argv[]) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    const int keystrokes = argc > 1 ? std::max(100, std::atoi(argv[1])) : 4000;
    QApplication app(argc, argv);

    kx::StandIns stand;
    kx::KXcalc window(stand.services());
    window.formLoad();
    window.show();
    if (!QTest::qWaitForWindowExposed(&window))
        fail("the window was never shown");

    auto* field = qobject_cast<QLineEdit*>(window.control(QStringLiteral("angleSCIleft")));
    if (!field)
        fail("the window lacks angleSCIleft");
    // Read from the worksheet: naming the hidden field would make the working
    // area's controls, which then follow every keystroke.
    const std::string& result = window.worksheet()[kx::Field::canineright];
    window.activateWindow();
    field->setFocus(Qt::OtherFocusReason);
    field->end(false);
    QApplication::processEvents();
    if (QApplication::focusWidget() != field || field->text() != QLatin1StringView("45"))
        fail("angleSCIleft has not got the focus or does not read 45");

    // Backspace turns "45" into "4" and the digit 5 makes it "45" again: two
    // valid angles, so every keystroke moves the arrow pair and recalculates
    // with a new left SCI. The right canine is calculated from the left
    // inclinations and so changes with every keystroke.
    const std::string after45 = result;
    const int warmUp = 200;
    std::vector<double> keystroke, repaint;
    keystroke.reserve(std::size_t(keystrokes));
    repaint.reserve(std::size_t(keystrokes));
    for (int i = 0; i < warmUp + keystrokes; ++i) {
        const bool erase = i % 2 == 0;
        const auto t0 = Clock::now();
        if (erase)
            QTest::keyClick(field, Qt::Key_Backspace);
        else
            QTest::keyClick(field, '5');
        const auto t1 = Clock::now();
        QApplication::processEvents();
        const auto t2 = Clock::now();
        if (field->text() != QLatin1StringView(erase ? "4" : "45") || (result == after45) == erase)
            fail("a keystroke did not change the angle and the results as expected");
        if (i >= warmUp) {
            keystroke.push_back(micros(t1 - t0));
            repaint.push_back(micros(t2 - t1));
        }
    }
    if (!stand.messages.faults.isEmpty())
        fail("the calculation reported a fault");
    print("keystroke_us", keystroke);
    print("repaint_us", repaint);
    return 0;
}
