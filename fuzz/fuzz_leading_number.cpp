// The leading-number rule against a plain second reading of the same text:
// blanks dropped, the longest prefix of the form [sign] digits [. digits]
// [E [sign] digits], read by the C library. Both must give the same double,
// or both find the number beyond the double range.
#include <cerrno>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>

#include "fault.h"
#include "number_text.h"

namespace {

bool isDigit(char c) { return c >= '0' && c <= '9'; }

// What a person reading the rule would take from the text, or "" for none.
std::string expectedPrefix(std::string_view text, bool* radix) {
    std::string s;
    for (char c : text)
        if (c != ' ' && c != '\t' && c != '\n')
            s.push_back(c);
    *radix = !s.empty() && s[0] == '&';
    std::size_t i = 0;
    if (i < s.size() && (s[i] == '+' || s[i] == '-'))
        ++i;
    bool digit = false, point = false;
    for (; i < s.size(); ++i) {
        if (isDigit(s[i]))
            digit = true;
        else if (s[i] == '.' && !point)
            point = true;
        else
            break;
    }
    if (!digit)
        return {};
    if (i < s.size() && (s[i] == 'e' || s[i] == 'E')) {
        std::size_t j = i + 1;
        if (j < s.size() && (s[j] == '+' || s[j] == '-'))
            ++j;
        if (j < s.size() && isDigit(s[j])) {
            while (j < s.size() && isDigit(s[j]))
                ++j;
            i = j;
        }
    }
    return s.substr(0, i);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
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

    bool radix = false;
    const std::string prefix = expectedPrefix(text, &radix);
    if (radix)
        return 0;  // "&H" and "&O" integers: any finite value or the range fault
    if (prefix.empty()) {
        if (tooLarge || value != 0)
            std::abort();
        return 0;
    }
    errno = 0;
    const double reference = std::strtod(prefix.c_str(), nullptr);
    const bool overflow = std::isinf(reference);
    if (overflow != tooLarge)
        std::abort();
    if (!overflow && reference != value)
        std::abort();
    return 0;
}
