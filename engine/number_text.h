// The two number text rules shared by every part of the program: how a
// field's text becomes a number, and how a result becomes a field's text.
#pragma once

#include <string>
#include <string_view>

namespace kx {

// Reads the number at the start of a field's text. Blanks, tabs and line
// feeds are skipped anywhere; "," never is a decimal separator; "&H" and "&O"
// start hexadecimal and octal integers; text without a leading number reads
// as 0. Throws CalcFault(NumberTextTooLarge) beyond the double range.
double leadingNumber(std::string_view text);

// A single-precision result as shown in a field: at most 7 significant
// digits, "." as decimal point, exponent form ("1.677722E+07") where the
// plain form would need more digits, never any digit grouping.
std::string resultText(float value);

// An effective inclination as written into its field: the result text with a
// blank in front of a value that is not negative.
std::string effectiveValueText(float value);

}  // namespace kx
