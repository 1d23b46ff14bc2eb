#include "reduction.h"

#include "double_double.h"

namespace kx::exact {

namespace {

// For pi/4 < x < 2048: a quadrant count k below 2^11 keeps k times each of
// the first two parts exact, and x - k part0 is exact by the size of both.
Reduced reduceCodyWaite(double x) {
    const double kd = x * 0x1.45f306dc9c883p-1 + 0x1.8p52;  // rounds x 2/pi to an integer
    const unsigned q = static_cast<unsigned>(std::bit_cast<std::uint64_t>(kd) & 3);
    const double k = kd - 0x1.8p52;
    const DD r = add(twoSum(x - k * kHalfPiParts[0], -(k * kHalfPiParts[1])), neg(twoProd(k, kHalfPiParts[2])));
    return {fastTwoSum(r.hi, r.lo - k * kHalfPiParts[3]), q};
}

// For finite x >= 2048.
Reduced reducePayneHanek(double x) {
    const auto bits = std::bit_cast<std::uint64_t>(x);
    const std::uint64_t m = (bits & ((std::uint64_t(1) << 52) - 1)) | (std::uint64_t(1) << 52);
    const int e = static_cast<int>(bits >> 52) - 1075;  // x = m 2^e
    // Words of 2/pi whose product with x is a multiple of 4 do not matter.
    const int first = e >= 2 ? (e - 2) / 32 : 0;
    constexpr int kWords = 12;
    std::uint32_t p[kWords + 2] = {};
    const std::uint32_t mLimb[2] = {static_cast<std::uint32_t>(m), static_cast<std::uint32_t>(m >> 32)};
    for (int j = 0; j < 2; ++j) {
        std::uint64_t carry = 0;
        for (int k = 0; k < kWords; ++k) {
            const std::uint64_t w = kTwoOverPi[first + kWords - 1 - k];
            const std::uint64_t t = w * mLimb[j] + p[k + j] + carry;
            p[k + j] = static_cast<std::uint32_t>(t);
            carry = t >> 32;
        }
        p[kWords + j] = static_cast<std::uint32_t>(carry);
    }
    // x 2/pi = p 2^-point.
    const int point = 32 * (first + kWords) - e;
    const auto word = [&](int i) -> std::uint64_t { return i < kWords + 2 ? p[i] : 0; };  // i >= 4 here
    const auto bitsAt = [&](int pos) -> std::uint64_t {                                   // the 64 bits from bit pos up
        const int w = pos / 32, b = pos % 32;
        const std::uint64_t lo = word(w) | word(w + 1) << 32;
        return b == 0 ? lo : (lo >> b) | (word(w + 2) << (64 - b));
    };
    unsigned q = static_cast<unsigned>(bitsAt(point) & 3);
    std::uint64_t f[3] = {bitsAt(point - 64), bitsAt(point - 128), bitsAt(point - 192)};
    double sign = 1.0;
    if (f[0] >> 63) {  // fraction at or above one half: take it from the next quadrant
        ++q;
        sign = -1.0;
        std::uint64_t carry = 1;
        for (int k = 2; k >= 0; --k) {
            f[k] = ~f[k] + carry;
            carry = carry && f[k] == 0;
        }
    }
    DD frac{0.0, 0.0};
    double scale = 0x1p-192;
    for (int k = 2; k >= 0; --k) {
        frac = add(frac, {static_cast<double>(f[k] & 0xffffffffu) * scale, 0.0});
        frac = add(frac, {static_cast<double>(f[k] >> 32) * (scale * 0x1p32), 0.0});
        scale *= 0x1p64;
    }
    const DD r = mul(frac, kHalfPi);
    return {{sign * r.hi, sign * r.lo}, q & 3};
}

}  // namespace

Reduced reduce(double x) {
    if (x <= kQuarterPi)
        return {{x, 0.0}, 0};
    return x < 2048.0 ? reduceCodyWaite(x) : reducePayneHanek(x);
}

}  // namespace kx::exact
