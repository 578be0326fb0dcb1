// Number texts as the map files and the report fields carry them, and the two
// ways of reading a number out of a text.
#pragma once

#include <string>
#include <string_view>

namespace qv::num {

// Shortest text with at most 15 significant digits, "." as decimal point, no
// trailing zeros; exponent form ("1E-05", "1.5E+20") outside 1E-4 .. 1E15.
std::string general(double v);

// Fixed number of decimals, at least one integer digit ("###0.0000" is
// fixed(v, 4), "0.00000" is fixed(v, 5)); a value that rounds to zero has no sign.
std::string fixed(double v, int decimals);
inline std::string rounded4(double v) { return fixed(v, 4); }

// Leading-number reading: blanks, tabs and line feeds are skipped anywhere,
// the reading stops at the first character that cannot continue a number,
// and a text without a leading number reads as 0.
double leading(std::string_view s);

// Strict reading: the whole text (blanks around it allowed) must be one
// number, else Failure 13 (Type mismatch).
double strict(std::string_view s);

// Strict reading rounded to the nearest integer, halves to even; Failure 13
// on a text that is no number, Failure 6 when it does not fit 32 bits.
long strictInt(std::string_view s);

// Whether strict() would accept the text.
bool isNumeric(std::string_view s);

} // namespace qv::num
