#include "number_text.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <limits>
#include <system_error>
#include <utility>

#include "checked.h"

namespace kx {

namespace {

bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\n'; }
bool isDigit(char c) { return c >= '0' && c <= '9'; }

// Reads characters one by one, passing over blanks wherever they stand.
class Reader {
public:
    explicit Reader(std::string_view s) : s_(s) { skip(); }
    bool atEnd() const { return i_ >= s_.size(); }
    char peek() const { return atEnd() ? '\0' : s_[i_]; }
    void next() {
        ++i_;
        skip();
    }
    // Position and restore, for an exponent that turns out to have no digits.
    std::size_t mark() const { return i_; }
    void reset(std::size_t m) { i_ = m; }

private:
    void skip() {
        while (i_ < s_.size() && isBlank(s_[i_]))
            ++i_;
    }
    std::string_view s_;
    std::size_t i_ = 0;
};

int hexDigit(char c, int base) {
    int d = -1;
    if (c >= '0' && c <= '9')
        d = c - '0';
    else if (c >= 'a' && c <= 'f')
        d = c - 'a' + 10;
    else if (c >= 'A' && c <= 'F')
        d = c - 'A' + 10;
    return d < base ? d : -1;
}

double readRadixInteger(Reader& r, int base) {
    double value = 0.0;
    for (int d = hexDigit(r.peek(), base); d >= 0; d = hexDigit(r.peek(), base)) {
        value = value * base + d;
        if (std::isinf(value))
            raise(FaultKind::NumberTextTooLarge);
        r.next();
    }
    return value;
}

// "&H" or "&O" and a hexadecimal or octal integer; after any other letter, 0.
double radixNumber(Reader& r) {
    r.next();
    const char c = r.peek();
    if (c == 'H' || c == 'h') {
        r.next();
        return readRadixInteger(r, 16);
    }
    if (c == 'O' || c == 'o') {
        r.next();
        return readRadixInteger(r, 8);
    }
    return 0.0;
}

// A decimal number: its significant digits without leading zeros, and the
// power of ten that belongs to the last of them.
struct Decimal {
    bool negative = false;
    bool anyDigit = false;
    std::string digits;
    std::int64_t scale = 0;
};

// The sign, then digits with at most one point.
Decimal readDigits(Reader& r) {
    Decimal d;
    if (r.peek() == '+' || r.peek() == '-') {
        d.negative = r.peek() == '-';
        r.next();
    }
    bool seenPoint = false;
    for (;;) {
        const char c = r.peek();
        if (isDigit(c)) {
            d.anyDigit = true;
            if (!(d.digits.empty() && c == '0'))
                d.digits.push_back(c);
            if (seenPoint)
                --d.scale;
        } else if (c == '.' && !seenPoint) {
            seenPoint = true;
        } else {
            break;
        }
        r.next();
    }
    return d;
}

// An exponent after the digits; an "E" with no digits after it is not one.
void readExponent(Reader& r, std::int64_t& scale) {
    if (r.peek() != 'E' && r.peek() != 'e')
        return;
    const std::size_t beforeExponent = r.mark();
    r.next();
    bool expNegative = false;
    if (r.peek() == '+' || r.peek() == '-') {
        expNegative = r.peek() == '-';
        r.next();
    }
    if (!isDigit(r.peek())) {
        r.reset(beforeExponent);
        return;
    }
    // Saturate: anything this large is far beyond the double range anyway.
    std::int64_t e = 0;
    for (; isDigit(r.peek()); r.next())
        e = std::min<std::int64_t>(e * 10 + (r.peek() - '0'), 1'000'000'000);
    scale += expNegative ? -e : e;
}

// The double nearest the decimal; beyond the double range a fault.
double nearestDouble(Decimal d) {
    const double zero = d.negative ? -0.0 : 0.0;
    if (d.digits.empty())
        return zero;
    const std::int64_t magnitude = d.scale + static_cast<std::int64_t>(d.digits.size()) - 1;
    if (magnitude > 400)
        raise(FaultKind::NumberTextTooLarge);
    if (magnitude < -400)
        return zero;
    // Short numbers, the usual field texts, are exact as an integer times or
    // divided by an exact power of ten: one rounding, the correct result.
    if (d.digits.size() <= 15 && d.scale >= -22 && d.scale <= 22) {
        static constexpr double powers[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,  1e8,  1e9,  1e10, 1e11,
                                            1e12, 1e13, 1e14, 1e15, 1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
        std::int64_t mantissa = 0;
        for (char c : d.digits)
            mantissa = mantissa * 10 + (c - '0');
        const double m = static_cast<double>(mantissa);
        const double value = d.scale < 0 ? m / powers[-d.scale] : m * powers[d.scale];
        return d.negative ? -value : value;
    }
    const std::int64_t scale = std::max<std::int64_t>(d.scale, -100'000'000);  // keeps the exponent text short

    d.digits.push_back('e');
    d.digits += std::to_string(scale);
    double value = 0.0;
    const auto [end, ec] = std::from_chars(d.digits.data(), d.digits.data() + d.digits.size(), value);
    (void)end;
    if (ec == std::errc::result_out_of_range) {
        if (magnitude > 0)
            raise(FaultKind::NumberTextTooLarge);
        value = 0.0;
    }
    if (std::isinf(value))
        raise(FaultKind::NumberTextTooLarge);
    return d.negative ? -value : value;
}

}  // namespace

double leadingNumber(std::string_view text) {
    Reader r(text);
    if (r.peek() == '&')
        return radixNumber(r);
    Decimal d = readDigits(r);
    if (!d.anyDigit)
        return 0.0;
    readExponent(r, d.scale);
    return nearestDouble(std::move(d));
}

std::string resultText(float value) {
    if (value == 0.0f)
        return "0";  // also for negative zero, which is not a negative value
    char buf[32];
    const auto [end, ec] =
        std::to_chars(buf, buf + sizeof buf, static_cast<double>(value), std::chars_format::general, 7);
    (void)ec;
    std::string s(buf, end);
    for (char& c : s)
        if (c == 'e')
            c = 'E';
    return s;
}

std::string effectiveValueText(float value) {
    std::string s = resultText(value);
    if (!(value < 0.0f))
        s.insert(s.begin(), ' ');
    return s;
}

}  // namespace kx
