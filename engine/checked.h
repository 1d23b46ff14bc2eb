// Checked single- and double-precision arithmetic.
//
// Every operation of the calculation may fault (overflow, division by zero,
// invalid operation) and a fault must stop the run at the operation where it
// arises. These two small value types make each operation check its result,
// and their mixing rules make the precision of each step visible: two singles
// give a single, anything with a double gives a double.
#pragma once

#include <cmath>

#include "exact_math.h"
#include "fault.h"

namespace kx {

[[noreturn]] void raise(FaultKind kind);

namespace detail {
template <typename T>
inline T checked(T v) {
    if (!std::isfinite(v)) [[unlikely]]
        raise(std::isnan(v) ? FaultKind::InvalidOperation : FaultKind::Overflow);
    return v;
}
template <typename T>
inline T checkedDiv(T a, T b) {
    if (b == T(0)) [[unlikely]]
        raise(FaultKind::DivisionByZero);
    return checked(a / b);
}
}  // namespace detail

struct Dbl {
    double v = 0.0;
    constexpr Dbl() = default;
    constexpr Dbl(double x) : v(x) {}  // NOLINT: literals and state values convert freely
};

struct Sgl {
    float v = 0.0f;
    constexpr Sgl() = default;
    constexpr explicit Sgl(float x) : v(x) {}
    operator Dbl() const { return Dbl(static_cast<double>(v)); }  // NOLINT: widening is exact
};

// Rounds a double to single precision; beyond the single range is a fault.
inline Sgl toSgl(Dbl d) {
    // Doubles at or above FLT_MAX plus half an ulp round to infinity.
    if (!(std::fabs(d.v) < 0x1.ffffffp+127)) [[unlikely]]
        raise(std::isnan(d.v) ? FaultKind::InvalidOperation : FaultKind::SingleRange);
    return Sgl(static_cast<float>(d.v));
}

inline Dbl operator+(Dbl a, Dbl b) { return detail::checked(a.v + b.v); }
inline Dbl operator-(Dbl a, Dbl b) { return detail::checked(a.v - b.v); }
inline Dbl operator*(Dbl a, Dbl b) { return detail::checked(a.v * b.v); }
inline Dbl operator/(Dbl a, Dbl b) { return detail::checkedDiv(a.v, b.v); }
inline Dbl operator-(Dbl a) { return Dbl(-a.v); }

inline Sgl operator+(Sgl a, Sgl b) { return Sgl(detail::checked(a.v + b.v)); }
inline Sgl operator-(Sgl a, Sgl b) { return Sgl(detail::checked(a.v - b.v)); }
inline Sgl operator*(Sgl a, Sgl b) { return Sgl(detail::checked(a.v * b.v)); }
inline Sgl operator/(Sgl a, Sgl b) { return Sgl(detail::checkedDiv(a.v, b.v)); }
inline Sgl operator-(Sgl a) { return Sgl(-a.v); }

// A single mixed with a double is a double operation.
inline Dbl operator+(Sgl a, Dbl b) { return Dbl(a) + b; }
inline Dbl operator+(Dbl a, Sgl b) { return a + Dbl(b); }
inline Dbl operator-(Sgl a, Dbl b) { return Dbl(a) - b; }
inline Dbl operator-(Dbl a, Sgl b) { return a - Dbl(b); }
inline Dbl operator*(Sgl a, Dbl b) { return Dbl(a) * b; }
inline Dbl operator*(Dbl a, Sgl b) { return a * Dbl(b); }
inline Dbl operator/(Sgl a, Dbl b) { return Dbl(a) / b; }
inline Dbl operator/(Dbl a, Sgl b) { return a / Dbl(b); }

inline bool operator==(Dbl a, Dbl b) { return a.v == b.v; }
inline bool operator<(Dbl a, Dbl b) { return a.v < b.v; }
inline bool operator>(Dbl a, Dbl b) { return a.v > b.v; }
inline bool operator<=(Dbl a, Dbl b) { return a.v <= b.v; }
inline bool operator>=(Dbl a, Dbl b) { return a.v >= b.v; }

// The C libraries round these differently; our own are the same everywhere.
inline Dbl sin(Dbl x) { return detail::checked(exact::sin(x.v)); }
inline Dbl cos(Dbl x) { return detail::checked(exact::cos(x.v)); }
inline Dbl tan(Dbl x) { return detail::checked(exact::tan(x.v)); }
inline Dbl atan(Dbl x) { return detail::checked(exact::atan(x.v)); }
// Both at once, with the work they share done once; the same values as sin and cos.
inline void sinCos(Dbl x, Dbl& s, Dbl& c) {
    exact::sinCos(x.v, s.v, c.v);
    s = detail::checked(s.v);
    c = detail::checked(c.v);
}
inline Dbl abs(Dbl x) { return Dbl(std::fabs(x.v)); }
inline Dbl sqrt(Dbl x) {
    if (x.v < 0.0) [[unlikely]]
        raise(FaultKind::NegativeSquareRoot);
    return detail::checked(std::sqrt(x.v));
}

}  // namespace kx
