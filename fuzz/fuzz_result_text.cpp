// The result text rule: for every finite single value the shown text is
// plain ASCII ("." as the decimal point, no grouping, at most 7 significant
// digits), and reading it back by the leading-number rule and showing the
// value again gives the same text, but for the two power-of-ten steps that
// shown_again.h explains. The effective value text differs from it
// only by the blank in front of a value that is not negative.
#include <algorithm>
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
    // The significant digits: before the exponent, from the first that is not 0.
    const std::string mantissa = shown.substr(0, shown.find('E'));
    const std::string digits = mantissa.substr(std::min(mantissa.find_first_of("123456789"), mantissa.size()));
    if (shown.empty() || shown.size() > 14 || shown.find_first_not_of("0123456789.+-E") != std::string::npos ||
        digits.size() - std::count(digits.begin(), digits.end(), '.') > 7 || !kx::fuzz::comesBack(shown))
        std::abort();
    // The shown value lies within half a unit of the 7th digit of the value.
    if (f != 0.0f && std::fabs(kx::leadingNumber(shown) - double(f)) > std::fabs(double(f)) * 5.01e-7)
        std::abort();
    if (kx::effectiveValueText(f) != (f < 0.0f ? shown : " " + shown))
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
