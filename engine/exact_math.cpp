// Correct rounding in two steps. A quick evaluation gives the result as a
// double-double to about 2^-65 relative; when every value within four times
// that error rounds to the same double, that double is the answer. Otherwise
// (about one call in a hundred) a slow evaluation carried through in
// double-double arithmetic, good to about 2^-100, decides.
//
// Arguments beyond pi/4 are reduced with the bits of 2/pi (Payne-Hanek), so
// the reduction is exact enough over the whole double range.
#include "exact_math.h"

#include <bit>
#include <cstdint>

#include "exact_math_tables.h"

namespace kx::exact {

namespace {

// Knuth's and Dekker's error-free transformations; valid without a fused
// multiply-add as long as nothing overflows (all operands here are below 2^61).
inline DD twoSum(double a, double b) {
    const double s = a + b;
    const double bb = s - a;
    return {s, (a - (s - bb)) + (b - bb)};
}
inline DD fastTwoSum(double a, double b) {  // |a| >= |b|
    const double s = a + b;
    return {s, b - (s - a)};
}
inline DD split(double a) {
    const double t = 134217729.0 * a;  // 2^27 + 1
    const double hi = t - (t - a);
    return {hi, a - hi};
}
inline DD twoProd(double a, double b) {
    const double p = a * b;
    const DD as = split(a), bs = split(b);
    return {p, ((as.hi * bs.hi - p) + as.hi * bs.lo + as.lo * bs.hi) + as.lo * bs.lo};
}

inline DD neg(DD a) { return {-a.hi, -a.lo}; }
inline DD add(DD a, DD b) {
    DD s = twoSum(a.hi, b.hi);
    const DD t = twoSum(a.lo, b.lo);
    s = fastTwoSum(s.hi, s.lo + t.hi);
    return fastTwoSum(s.hi, s.lo + t.lo);
}
inline DD mul(DD a, DD b) {
    const DD p = twoProd(a.hi, b.hi);
    return fastTwoSum(p.hi, p.lo + (a.hi * b.lo + a.lo * b.hi));
}
inline DD div(DD a, DD b) {
    const double q1 = a.hi / b.hi;
    DD r = add(a, neg(mul({q1, 0.0}, b)));
    const double q2 = r.hi / b.hi;
    r = add(r, neg(mul({q2, 0.0}, b)));
    const double q3 = r.hi / b.hi;
    return add(fastTwoSum(q1, q2), {q3, 0.0});
}
// c[0] + y (c[1] + y (... c[n-1])).
inline DD horner(const DD* c, int n, DD y) {
    DD p = c[n - 1];
    for (int k = n - 2; k >= 0; --k)
        p = add(c[k], mul(y, p));
    return p;
}

inline double magnitude(double x) { return x < 0.0 ? -x : x; }

// True when every number within err of y.hi + y.lo rounds to y.hi.
inline bool roundsSafely(DD y, double err) { return y.hi + (y.lo + err) == y.hi && y.hi + (y.lo - err) == y.hi; }

// The quick path's error bound, four times the worst found in its analysis.
constexpr double kQuickError = 0x1p-61;

constexpr double kQuarterPi = 0x1.921fb54442d18p-1;

// x = q pi/2 + r with |r| <= pi/4, for finite x > pi/4.
struct Reduced {
    DD r;
    unsigned q;
};

Reduced reduce(double x) {
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
    const auto word = [&](int i) -> std::uint64_t { return i >= 0 && i < kWords + 2 ? p[i] : 0; };
    const auto bitsAt = [&](int pos) -> std::uint64_t {  // the 64 bits from bit pos up
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

// r = a + t + tl with a = i/64 from the tables, |t| <= 1/128, r >= 0.
struct Split {
    int i;
    double t, tl;
};
inline Split splitTable(DD r) {
    const int i = static_cast<int>(r.hi * 64.0 + 0.5);
    return {i, r.hi - i * 0x1p-6, r.lo};
}

DD sinCosSlow(DD r, bool wantSin) {
    const Split s = splitTable(r);
    const DD S = kSinTable[s.i], C = kCosTable[s.i];
    const DD T = twoSum(s.t, s.tl);
    const DD T2 = mul(T, T);
    const DD sinT = add(T, mul(mul(T, T2), horner(kSinCoeffs, 7, T2)));
    const DD cosT = add({1.0, 0.0}, mul(T2, horner(kCosCoeffs, 7, T2)));
    return wantSin ? add(mul(S, cosT), mul(C, sinT)) : add(mul(C, cosT), neg(mul(S, sinT)));
}

// sin(a + t + tl) = S cos t + C sin t + cos(a + t) tl, and likewise for cos;
// the polynomial parts are small enough to need only double precision.
DD sinCosQuick(DD r, bool wantSin) {
    const Split s = splitTable(r);
    const DD S = kSinTable[s.i], C = kCosTable[s.i];
    const double t = s.t, t2 = t * t;
    const double P = t2 * (kSinCoeffs[0].hi + t2 * (kSinCoeffs[1].hi + t2 * kSinCoeffs[2].hi));  // sin t = t + tP
    const double Q = t2 * (kCosCoeffs[0].hi +
                           t2 * (kCosCoeffs[1].hi + t2 * (kCosCoeffs[2].hi + t2 * kCosCoeffs[3].hi)));  // cos t = 1 + Q
    if (wantSin) {
        const DD p = twoProd(C.hi, t);
        const DD h = twoSum(S.hi, p.hi);
        const double rest = h.lo + p.lo + S.lo + C.lo * t + S.hi * Q + C.hi * (t * P) + (C.hi - S.hi * t) * s.tl;
        return fastTwoSum(h.hi, rest);
    }
    const DD p = twoProd(S.hi, t);
    const DD h = twoSum(C.hi, -p.hi);
    const double rest = h.lo - p.lo + C.lo - S.lo * t + C.hi * Q - S.hi * (t * P) - (S.hi + C.hi * t) * s.tl;
    return fastTwoSum(h.hi, rest);
}

// sin or cos of r, |r| <= pi/4 (a little more allowed), rounded.
double sinCosKernel(DD r, bool wantSin, bool quick) {
    double sign = 1.0;
    if (r.hi < 0.0) {
        r = neg(r);
        if (wantSin)
            sign = -1.0;
    }
    if (quick) {
        const DD y = sinCosQuick(r, wantSin);
        if (roundsSafely(y, y.hi * kQuickError))
            return sign * y.hi;
    }
    const DD y = sinCosSlow(r, wantSin);
    return sign * (y.hi + y.lo);
}

// tan r, or -cot r for an odd quadrant.
double tanKernel(DD r, bool odd, bool quick) {
    double sign = 1.0;
    if (r.hi < 0.0) {
        r = neg(r);
        sign = -1.0;
    }
    if (odd)
        sign = -sign;
    if (quick) {
        const DD s = sinCosQuick(r, true), c = sinCosQuick(r, false);
        const DD y = odd ? div(c, s) : div(s, c);
        if (roundsSafely(y, y.hi * (4 * kQuickError)))
            return sign * y.hi;
    }
    const DD s = sinCosSlow(r, true), c = sinCosSlow(r, false);
    const DD y = odd ? div(c, s) : div(s, c);
    return sign * (y.hi + y.lo);
}

bool isNanOrInf(double x) { return !(magnitude(x) <= 0x1.fffffffffffffp+1023); }

double sinImpl(double x, bool quick) {
    if (isNanOrInf(x))
        return x - x;  // NaN, as the C library gives
    const double ax = magnitude(x);
    if (ax < 0x1p-26)  // x^3/6 is below half an ulp of x
        return x;
    const double sign = x < 0.0 ? -1.0 : 1.0;
    if (ax <= kQuarterPi)
        return sign * sinCosKernel({ax, 0.0}, true, quick);
    const Reduced red = reduce(ax);
    const double y = sinCosKernel(red.r, (red.q & 1) == 0, quick);
    return red.q >= 2 ? -sign * y : sign * y;
}

double cosImpl(double x, bool quick) {
    if (isNanOrInf(x))
        return x - x;
    const double ax = magnitude(x);
    if (ax < 0x1p-27)  // x^2/2 is below half an ulp of 1
        return 1.0;
    if (ax <= kQuarterPi)
        return sinCosKernel({ax, 0.0}, false, quick);
    const Reduced red = reduce(ax);
    const double y = sinCosKernel(red.r, (red.q & 1) != 0, quick);
    return red.q == 1 || red.q == 2 ? -y : y;
}

double tanImpl(double x, bool quick) {
    if (isNanOrInf(x))
        return x - x;
    const double ax = magnitude(x);
    if (ax < 0x1p-27)  // x^3/3 is below half an ulp of x
        return x;
    const double sign = x < 0.0 ? -1.0 : 1.0;
    if (ax <= kQuarterPi)
        return sign * tanKernel({ax, 0.0}, false, quick);
    const Reduced red = reduce(ax);
    return sign * tanKernel(red.r, (red.q & 1) != 0, quick);
}

// atan x = atan b + atan u with b = i/64 and u = (x - b) / (1 + x b), |u| <= 1/128;
// above 1 through atan x = pi/2 - atan(1/x).
double atanImpl(double x, bool quick) {
    if (x != x)
        return x + x;
    const double ax = magnitude(x);
    if (ax < 0x1p-27)  // x^3/3 is below half an ulp of x
        return x;
    const double sign = x < 0.0 ? -1.0 : 1.0;
    if (ax > 0x1p60)  // pi/2 - 1/x rounds to the double nearest pi/2
        return sign * kHalfPi.hi;
    const bool above = ax > 1.0;
    const DD z = above ? div({1.0, 0.0}, {ax, 0.0}) : DD{ax, 0.0};
    const int i = static_cast<int>(z.hi * 64.0 + 0.5);
    const double b = i * 0x1p-6;
    const DD u = div(twoSum(z.hi - b, z.lo), add({1.0, 0.0}, mul(z, {b, 0.0})));
    const DD A = above ? kAtanComplement[i] : kAtanTable[i];
    const double su = above ? -1.0 : 1.0;
    if (quick) {
        const double u2 = u.hi * u.hi;
        const double P =
            u2 * (kAtanCoeffs[0].hi + u2 * (kAtanCoeffs[1].hi + u2 * (kAtanCoeffs[2].hi + u2 * kAtanCoeffs[3].hi)));
        const DD h = twoSum(A.hi, su * u.hi);
        const DD y = fastTwoSum(h.hi, h.lo + A.lo + su * (u.lo + u.hi * P));
        if (roundsSafely(y, y.hi * kQuickError))
            return sign * y.hi;
    }
    const DD U2 = mul(u, u);
    const DD atanU = add(u, mul(mul(u, U2), horner(kAtanCoeffs, 8, U2)));
    const DD y = add(A, {su * atanU.hi, su * atanU.lo});
    return sign * (y.hi + y.lo);
}

}  // namespace

double sin(double x) { return sinImpl(x, true); }
double cos(double x) { return cosImpl(x, true); }
double tan(double x) { return tanImpl(x, true); }
double atan(double x) { return atanImpl(x, true); }

namespace slow {
double sin(double x) { return sinImpl(x, false); }
double cos(double x) { return cosImpl(x, false); }
double tan(double x) { return tanImpl(x, false); }
double atan(double x) { return atanImpl(x, false); }
}  // namespace slow

}  // namespace kx::exact
