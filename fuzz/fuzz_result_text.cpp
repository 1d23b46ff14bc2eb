// The result text rule: for every finite single value the shown text is the
// C library's 7-digit form ("." as the decimal point, no grouping), and
// reading it back by the leading-number rule and showing the value again
// gives the same text, but for the two power-of-ten steps that shown_again.h
// explains. The effective value text differs from it
// only by the blank in front of a value that is not negative.
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "number_text.h"
#include "shown_again.h"

namespace {

void checkOne(float f) {
    if (!std::isfinite(f))
        return;
    const std::string shown = kx::resultText(f);
    // "%.7G" in the C locale is the C library's own form of the same rule; only
    // negative zero differs, shown as "0".
    char printed[40];
    std::snprintf(printed, sizeof printed, "%.7G", double(f));
    if ((f != 0.0f && shown != printed) || !kx::fuzz::comesBack(shown) ||
        kx::effectiveValueText(f) != (f < 0.0f ? shown : " " + shown))
        std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // Every 4 bytes are one single value; its neighbours come along.
    for (std::size_t i = 0; i + 4 <= size; i += 4) {
        float f = 0;
        std::memcpy(&f, data + i, 4);
        for (float g : {f, std::nextafter(f, 0.0f), std::nextafter(f, INFINITY)})
            checkOne(g);
    }
    return 0;
}
