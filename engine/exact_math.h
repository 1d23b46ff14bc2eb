// sin, cos, tan and atan rounded correctly to the nearest double.
//
// The C libraries of Linux, Windows and macOS each round these functions in
// their own way for a few arguments, and a one-ulp difference grows through
// the engine's searches into a different shown digit. These versions give the
// correctly rounded result, the same bits everywhere, using only +, -, *, /
// on doubles and integer arithmetic. They need round-to-nearest and no fused
// multiply-add (the build has -ffp-contract=off).
#pragma once

namespace kx::exact {

double sin(double x);
double cos(double x);
double tan(double x);
double atan(double x);
// sin x and cos x, with the work they share done once.
void sinCos(double x, double& s, double& c);

// The slow, double-double evaluation alone, without the quick path that
// answers most calls; for tests that check the quick path's rounding test.
namespace slow {
double sin(double x);
double cos(double x);
double tan(double x);
double atan(double x);
}  // namespace slow

}  // namespace kx::exact
