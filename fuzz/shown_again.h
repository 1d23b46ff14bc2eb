// Whether a shown result text comes back unchanged when it is read by the
// leading-number rule, rounded to single precision and shown again.
#pragma once

#include <cstdio>
#include <string>

#include "number_text.h"

namespace kx::fuzz {

// True when `shown` comes back as itself or, in the one place where it
// cannot, as the step below: a text "1E+28" or "1E-38" (either sign) is the
// nearest 7-digit form of the three or four singles just above that power of
// ten, but the single nearest to the power itself lies just below it and
// shows as "9.999999E+27" or "9.999999E-39". Both roundings are to the
// nearest, as the rules ask, so these texts change once and then stay.
inline bool comesBack(const std::string& shown) {
    const std::string again = resultText(static_cast<float>(leadingNumber(shown)));
    const std::size_t sign = shown.rfind('-', 0) == 0 ? 1 : 0;
    if (again == shown || shown.compare(sign, 2, "1E") != 0)
        return again == shown;
    char below[32];
    std::snprintf(below, sizeof below, "%s9.999999E%+03d", sign ? "-" : "", std::stoi(shown.substr(sign + 2)) - 1);
    return again == below;
}

}  // namespace kx::fuzz
