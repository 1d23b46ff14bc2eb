// The leading-number rule against a plain second reading of the same text:
// blanks dropped, the longest prefix of the form [sign] digits [. digits]
// [E [sign] digits], read by the C library. Both must give the same double,
// or both find the number beyond the double range.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "fault.h"
#include "number_text.h"

namespace {

// What a person reading the rule would take from the blank-free text: a sign,
// digits with at most one point (one digit at least), then an exponent if a
// digit follows its E and sign; "" for none.
std::string expectedPrefix(const std::string& s) {
    const auto digitsFrom = [&s](std::size_t i) { return std::min(s.find_first_not_of("0123456789", i), s.size()); };
    const std::size_t start = s.rfind('+', 0) == 0 || s.rfind('-', 0) == 0 ? 1 : 0;
    const std::size_t whole = digitsFrom(start);
    std::size_t end = whole < s.size() && s[whole] == '.' ? digitsFrom(whole + 1) : whole;
    if (end - start == (end > whole ? 1 : 0))
        return {};
    if (end < s.size() && (s[end] == 'e' || s[end] == 'E')) {
        const std::size_t digits = end + (s.find_first_of("+-", end + 1) == end + 1 ? 2 : 1);
        end = digitsFrom(digits) > digits ? digitsFrom(digits) : end;
    }
    return s.substr(0, end);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string text(reinterpret_cast<const char*>(data), size);
    double value = 0;
    bool tooLarge = false;
    try {
        value = kx::leadingNumber(text);
    } catch (const kx::CalcFault& f) {
        if (f.kind() != kx::FaultKind::NumberTextTooLarge)
            std::abort();
        tooLarge = true;
    }
    if (!tooLarge && !std::isfinite(value))
        std::abort();
    std::erase_if(text, [](char c) { return c == ' ' || c == '\t' || c == '\n'; });
    if (text.rfind('&', 0) == 0)
        return 0;  // "&H" and "&O" integers: any finite value or the range fault
    const std::string prefix = expectedPrefix(text);
    const double reference = prefix.empty() ? 0.0 : std::strtod(prefix.c_str(), nullptr);
    if (std::isinf(reference) != tooLarge || (!tooLarge && reference != value))
        std::abort();
    return 0;
}
