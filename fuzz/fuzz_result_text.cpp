// The result text rule: for every finite single value the shown text is
// plain ASCII ("." as the decimal point, no grouping, at most 7 significant
// digits), and reading it back by the leading-number rule and showing the
// value again gives the same text, but for the two power-of-ten steps that
// shown_again.h explains. The effective value text differs from it
// only by the blank in front of a value that is not negative.
#include <cmath>
#include <cstdint>
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
    int digits = 0;
    bool inExponent = false;
    for (char c : shown) {
        const bool allowed = (c >= '0' && c <= '9') || c == '.' || c == '-' || c == '+' || c == 'E';
        if (!allowed)
            std::abort();
        if (c == 'E')
            inExponent = true;
        else if (!inExponent && c >= '0' && c <= '9' && !(digits == 0 && c == '0'))
            ++digits;
    }
    if (digits > 7 || shown.empty() || shown.size() > 14)
        std::abort();
    const double back = kx::leadingNumber(shown);
    if (!kx::fuzz::comesBack(shown))
        std::abort();
    // The shown value lies within half a unit of the 7th digit of the value.
    if (f != 0.0f && std::fabs(back - double(f)) > std::fabs(double(f)) * 5.01e-7)
        std::abort();
    const std::string effective = kx::effectiveValueText(f);
    if (effective != (f < 0.0f ? shown : " " + shown))
        std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // Every 4 bytes are one single value; its neighbours come along.
    for (std::size_t i = 0; i + 4 <= size; i += 4) {
        std::uint32_t bits = 0;
        std::memcpy(&bits, data + i, 4);
        float f = 0;
        std::memcpy(&f, &bits, 4);
        checkOne(f);
        checkOne(std::nextafter(f, 0.0f));
        checkOne(std::nextafter(f, INFINITY));
    }
    return 0;
}
