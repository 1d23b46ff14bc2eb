// Correct rounding in two steps. A quick evaluation gives the result as a
// double and a small rest, to better than 2^-64.5 relative; when every value
// within 2^-63 of it rounds to the same double, that double is the answer.
// Otherwise (about one call in several hundred) a slow evaluation carried
// through in double-double arithmetic, good to about 2^-100, decides.
// Arguments beyond pi/4 are reduced first (reduction.h).
#include "exact_math.h"

#include <array>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <iterator>

#include "double_double.h"
#include "exact_math_tables.h"
#include "reduction.h"

namespace kx::exact {

namespace {

// The quick paths' error bound. Their rounding errors add up to at most about
// 2^-64.5 of the result for sin and cos (the polynomial in t^2 and the sum of
// the small terms weigh most), less for atan; the largest seen over 10^7
// arguments each were 2^-65.6 (sin), 2^-66.3 (cos), 2^-65.9 (atan) and
// 2^-65.8 (tan, a quotient of two quick values, which gets twice the bound).
constexpr double kQuickError = 0x1p-63;

// r = a + t + tl with a = i/64 from the tables, |t| <= 1/128, r >= 0.
struct Split {
    int i;
    double a, t, tl;
};
inline Split splitTable(DD r) {
    // Adding 1.5 2^46 rounds r to a multiple of 1/64, its count in the low bits.
    const double k = r.hi + 0x1.8p46;
    const int i = static_cast<int>(std::bit_cast<std::uint64_t>(k) & 0xff);
    const double a = k - 0x1.8p46;
    return {i, a, r.hi - a, r.lo};
}

DD sinCosSlow(DD r, bool wantSin) {
    const Split s = splitTable(r);
    const DD S = kSinTable[s.i], C = kCosTable[s.i];
    const DD T = twoSum(s.t, s.tl);
    const DD T2 = mul(T, T);
    // With |t| <= 1/128 the terms from t^7 and t^6 on are below 2^-40 of the
    // result: double precision is enough for them.
    const double t2 = T2.hi;
    const double ps = kSinCoeffs[2].hi + t2 * (kSinCoeffs[3].hi + t2 * (kSinCoeffs[4].hi + t2 * kSinCoeffs[5].hi));
    const double pc = kCosCoeffs[2].hi + t2 * (kCosCoeffs[3].hi + t2 * (kCosCoeffs[4].hi + t2 * kCosCoeffs[5].hi));
    const DD sinP = add(kSinCoeffs[0], mul(T2, add(kSinCoeffs[1], mul(T2, {ps, 0.0}))));
    const DD cosP = add(kCosCoeffs[0], mul(T2, add(kCosCoeffs[1], mul(T2, {pc, 0.0}))));
    const DD sinT = add(T, mul(mul(T, T2), sinP));
    const DD cosT = add({1.0, 0.0}, mul(T2, cosP));
    return wantSin ? add(mul(S, cosT), mul(C, sinT)) : add(mul(C, cosT), neg(mul(S, sinT)));
}

// sin(a + t + tl) = S cos t + C sin t + cos(a + t) tl, and likewise for cos;
// the polynomial parts are small enough to need only double precision. The
// sums are grouped for short chains of dependent operations, and the result
// is left as a leading double and a small rest, not normalised.
struct Quick {
    Split s;
    double tHi, tLo;  // t in two halves of at most 26 bits, for exact products
    double P, Q;      // sin t = t + t P, cos t = 1 + Q (t^8/8! is below 2^-71)
};
inline Quick quickParts(DD r) {
    const Split s = splitTable(r);
    const double t = s.t, t2 = t * t, t4 = t2 * t2;
    // r to a multiple of 2^-33, less a (a multiple of 1/64): |t| <= 2^-7
    // makes that a multiple of 2^-33 below 2^26 of them. Taken from r, not t,
    // to start sooner.
    const double tHi = ((r.hi + 0x1.8p19) - 0x1.8p19) - s.a;
    const double P = t2 * kSinCoeffs[0].hi + t4 * (kSinCoeffs[1].hi + t2 * kSinCoeffs[2].hi);
    const double Q = t2 * kCosCoeffs[0].hi + t4 * (kCosCoeffs[1].hi + t2 * kCosCoeffs[2].hi);
    return {s, tHi, t - tHi, P, Q};
}
// The tables' leading parts split in halves of 26 bits, at compile time.
template <const DD* table, std::size_t n>
constexpr std::array<DD, n> splitLeading() {
    std::array<DD, n> parts{};
    for (std::size_t i = 0; i < n; ++i)
        parts[i] = split(table[i].hi);
    return parts;
}
constexpr auto kSinSplit = splitLeading<kSinTable, std::size(kSinTable)>();
constexpr auto kCosSplit = splitLeading<kCosTable, std::size(kCosTable)>();

// a t as a double and its rounding error, to within 2^-79 of a t; a is a
// table's leading part, given with its halves.
inline DD productWithT(double a, DD as, const Quick& q) {
    const double p = a * q.s.t;
    return {p, ((as.hi * q.tHi - p) + (as.hi * q.tLo + as.lo * q.tHi)) + as.lo * q.tLo};
}
// S.hi > |C t| for i > 0 and S = 0 for i = 0, and C.hi > |S t|: fastTwoSum
// suffices below.
inline DD sinQuick(const Quick& q) {
    const double t = q.s.t, Sh = kSinTable[q.s.i].hi, Ch = kCosTable[q.s.i].hi;
    const DD p = productWithT(Ch, kCosSplit[q.s.i], q);
    const DD h = fastTwoSum(Sh, p.hi);
    const double rest = (((h.lo + (kSinTable[q.s.i].lo + kCosTable[q.s.i].lo * t)) + (Ch - Sh * t) * q.s.tl) + p.lo) +
                        (Sh * q.Q + p.hi * q.P);
    return {h.hi, rest};
}
inline DD cosQuick(const Quick& q) {
    const double t = q.s.t, Sh = kSinTable[q.s.i].hi, Ch = kCosTable[q.s.i].hi;
    const DD p = productWithT(Sh, kSinSplit[q.s.i], q);
    const DD h = fastTwoSum(Ch, -p.hi);
    const double rest = (((h.lo + (kCosTable[q.s.i].lo - kSinTable[q.s.i].lo * t)) - (Sh + Ch * t) * q.s.tl) - p.lo) +
                        (Ch * q.Q - p.hi * q.P);
    return {h.hi, rest};
}

// sin or cos of r, 0 <= r <= pi/4 (a little more allowed), rounded.
template <bool kSin>
inline double sinCosKernel(DD r, bool quick) {
    if (quick) {
        const Quick q = quickParts(r);
        const DD y = kSin ? sinQuick(q) : cosQuick(q);
        double rounded;
        if (roundsSafely(y, y.hi * kQuickError, rounded))
            return rounded;
    }
    const DD y = sinCosSlow(r, kSin);
    return y.hi + y.lo;
}

// sin r and cos r as sinCosKernel gives them, with the quick parts they
// share worked out once.
void sinCosKernels(DD r, double& sinR, double& cosR) {
    const Quick parts = quickParts(r);
    const DD ys = sinQuick(parts), yc = cosQuick(parts);
    if (!roundsSafely(ys, ys.hi * kQuickError, sinR))
        sinR = sinCosKernel<true>(r, false);
    if (!roundsSafely(yc, yc.hi * kQuickError, cosR))
        cosR = sinCosKernel<false>(r, false);
}

// tan r, or cot r for an odd quadrant; 0 <= r <= pi/4.
double tanKernel(DD r, bool odd, bool quick) {
    if (quick) {
        const Quick q = quickParts(r);
        const DD qs = sinQuick(q), qc = cosQuick(q);
        const DD s = fastTwoSum(qs.hi, qs.lo), c = fastTwoSum(qc.hi, qc.lo);
        const DD y = odd ? divQuick(c, s) : divQuick(s, c);
        double rounded;
        if (roundsSafely(y, y.hi * (2 * kQuickError), rounded))
            return rounded;
    }
    const DD s = sinCosSlow(r, true), c = sinCosSlow(r, false);
    const DD y = odd ? div(c, s) : div(s, c);
    return y.hi + y.lo;
}

bool isNanOrInf(double x) { return !(magnitude(x) <= 0x1.fffffffffffffp+1023); }

// The reduced argument as a magnitude, and whether it was negative.
inline DD magnitudeOf(DD r, bool& negative) {
    negative = r.hi < 0.0;
    return negative ? neg(r) : r;
}

double sinImpl(double x, bool quick) {
    if (isNanOrInf(x))
        return x - x;  // NaN, as the C library gives
    const double ax = magnitude(x);
    if (ax < 0x1p-26)  // x^3/6 is below half an ulp of x
        return x;
    if (ax <= kQuarterPi) {
        const double y = sinCosKernel<true>({ax, 0.0}, quick);
        return x < 0.0 ? -y : y;
    }
    const Reduced red = reduce(ax);
    bool negative;
    const DD r = magnitudeOf(red.r, negative);
    const double y = red.q & 1 ? sinCosKernel<false>(r, quick) : sinCosKernel<true>(r, quick);
    // sin(-x) = -sin x, sin(x + pi) = -sin x, sin(-r) = -sin r but cos(-r) = cos r.
    const bool flip = ((x < 0.0) != (red.q >= 2)) != (negative && (red.q & 1) == 0);
    return flip ? -y : y;
}

double cosImpl(double x, bool quick) {
    if (isNanOrInf(x))
        return x - x;
    const double ax = magnitude(x);
    if (ax < 0x1p-27)  // x^2/2 is below half an ulp of 1
        return 1.0;
    if (ax <= kQuarterPi)
        return sinCosKernel<false>({ax, 0.0}, quick);
    const Reduced red = reduce(ax);
    bool negative;
    const DD r = magnitudeOf(red.r, negative);
    const double y = red.q & 1 ? sinCosKernel<true>(r, quick) : sinCosKernel<false>(r, quick);
    // cos(x + pi/2) = -sin x, cos(x + pi) = -cos x.
    const bool flip = (red.q == 1 || red.q == 2) != (negative && (red.q & 1) != 0);
    return flip ? -y : y;
}

double tanImpl(double x, bool quick) {
    if (isNanOrInf(x))
        return x - x;
    const double ax = magnitude(x);
    if (ax < 0x1p-27)  // x^3/3 is below half an ulp of x
        return x;
    const Reduced red = reduce(ax);
    bool negative;
    const DD r = magnitudeOf(red.r, negative);
    const bool odd = (red.q & 1) != 0;
    const double y = tanKernel(r, odd, quick);
    // tan(x + pi/2) = -cot x; tan and cot are odd.
    const bool flip = ((x < 0.0) != odd) != negative;
    return flip ? -y : y;
}

// atan x = atan b + atan u with b = i/64 and u = (x - b) / (1 + x b), |u| <= 1/128;
// above 1 through atan x = pi/2 - atan(1/x) with u = (1 - b x) / (x + b) for
// b near 1/x. Numerator and denominator are exact double-doubles.
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
    const double k = (above ? 1.0 / ax : ax) + 0x1.8p46;  // as in splitTable
    const int i = static_cast<int>(std::bit_cast<std::uint64_t>(k) & 0xff);
    const double b = k - 0x1.8p46;
    DD num, den;
    if (above) {
        const DD bx = productWithShort(ax, b);
        const DD n = twoSum(1.0, -bx.hi);
        num = fastTwoSum(n.hi, n.lo - bx.lo);
        den = twoSum(ax, b);
    } else {
        const DD xb = productWithShort(ax, b);
        const DD d = fastTwoSum(1.0, xb.hi);
        num = {ax - b, 0.0};
        den = fastTwoSum(d.hi, d.lo + xb.lo);
    }
    const DD A = above ? kAtanComplement[i] : kAtanTable[i];
    const double su = above ? -1.0 : 1.0;
    if (quick) {
        const DD u = divQuick(num, den);
        const double u2 = u.hi * u.hi, u4 = u2 * u2;
        const double P =
            u2 * kAtanCoeffs[0].hi + u4 * (kAtanCoeffs[1].hi + u2 * kAtanCoeffs[2].hi + u4 * kAtanCoeffs[3].hi);
        const DD h = twoSum(A.hi, su * u.hi);
        const DD y{h.hi, h.lo + A.lo + su * (u.lo + u.hi * P)};
        double rounded;
        if (roundsSafely(y, y.hi * kQuickError, rounded))
            return sign * rounded;
    }
    const DD u = div(num, den);
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

void sinCos(double x, double& s, double& c) {
    const double ax = magnitude(x);
    double sinR, cosR;
    // The search's case first, kept free of the reduction's double-doubles.
    if (ax <= kQuarterPi && ax >= 0x1p-27) {
        sinCosKernels({ax, 0.0}, sinR, cosR);
        s = x < 0.0 ? -sinR : sinR;
        c = cosR;
        return;
    }
    if (isNanOrInf(x) || ax < 0x1p-27) {
        s = sin(x);
        c = cos(x);
        return;
    }
    const Reduced red = reduce(ax);
    bool negative;
    const DD r = magnitudeOf(red.r, negative);
    sinCosKernels(r, sinR, cosR);
    if (negative)
        sinR = -sinR;
    // sin and cos of x = q pi/2 + r, then of -x.
    const double sinX[4] = {sinR, cosR, -sinR, -cosR}, cosX[4] = {cosR, -sinR, -cosR, sinR};
    s = x < 0.0 ? -sinX[red.q] : sinX[red.q];
    c = cosX[red.q];
}

namespace slow {
double sin(double x) { return sinImpl(x, false); }
double cos(double x) { return cosImpl(x, false); }
double tan(double x) { return tanImpl(x, false); }
double atan(double x) { return atanImpl(x, false); }
}  // namespace slow

}  // namespace kx::exact
