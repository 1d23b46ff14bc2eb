// Argument reduction for sin, cos and tan: x = q pi/2 + r.
//
// Arguments beyond pi/4 are reduced by pi/2 in four parts (Cody-Waite) up to
// 2048, where no double comes closer than 2^-60.5 to a multiple of pi/2, and
// with the bits of 2/pi (Payne-Hanek) beyond, so the reduced argument keeps
// about 2^-100 relative accuracy over the whole double range.
#pragma once

#include "exact_math_tables.h"

namespace kx::exact {

constexpr double kQuarterPi = 0x1.921fb54442d18p-1;

// x = q pi/2 + r with |r| <= pi/4 (a little more allowed).
struct Reduced {
    DD r;
    unsigned q;
};

// For finite x >= 0; up to pi/4 x itself, quadrant 0.
Reduced reduce(double x);

}  // namespace kx::exact
