// Double-double arithmetic: a value as the unevaluated sum of two doubles,
// for the correctly rounded functions of exact_math.cpp. Only +, -, *, / on
// doubles, so it needs round-to-nearest and no fused multiply-add.
#pragma once

#include <bit>
#include <cstdint>

#include "exact_math_tables.h"

namespace kx::exact {

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
constexpr DD split(double a) {
    const double t = 134217729.0 * a;  // 2^27 + 1
    const double hi = t - (t - a);
    return {hi, a - hi};
}
inline DD twoProd(double a, double b) {
    const double p = a * b;
    const DD as = split(a), bs = split(b);
    return {p, ((as.hi * bs.hi - p) + as.hi * bs.lo + as.lo * bs.hi) + as.lo * bs.lo};
}

// a b exactly, for b of at most 26 bits.
inline DD productWithShort(double a, double b) {
    const DD as = split(a);
    const double p = a * b;
    return {p, (as.hi * b - p) + as.lo * b};
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
// One correction step, good to about 2^-100; for the quick paths. The pair is
// not normalised (the correction may reach an ulp of the quotient), so that
// whatever needs only the quotient's leading part can start early.
inline DD divQuick(DD a, DD b) {
    const double inverse = 1.0 / b.hi;  // divides alongside q1: the correction needs little precision
    const double q1 = a.hi / b.hi;
    const DD p = twoProd(q1, b.hi);
    const double r = (((a.hi - p.hi) - p.lo) + a.lo) - q1 * b.lo;
    return {q1, r * inverse};
}
// c[0] + y (c[1] + y (... c[n-1])).
inline DD horner(const DD* c, int n, DD y) {
    DD p = c[n - 1];
    for (int k = n - 2; k >= 0; --k)
        p = add(c[k], mul(y, p));
    return p;
}

inline double magnitude(double x) {
    return std::bit_cast<double>(std::bit_cast<std::uint64_t>(x) & ~(std::uint64_t(1) << 63));
}

// Rounds y.hi + y.lo to the nearest double when every number within err of
// it rounds the same (rounding is monotonic, so the two ends decide).
inline bool roundsSafely(DD y, double err, double& rounded) {
    rounded = y.hi + (y.lo + err);
    return rounded == y.hi + (y.lo - err);
}

}  // namespace kx::exact
