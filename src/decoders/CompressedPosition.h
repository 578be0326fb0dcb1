// The compressed position of APRS 1.01 chapter 9: thirteen characters made of
// the symbol table, four base-91 digits of latitude, four of longitude, the
// symbol code, two bytes of course and speed, radio range or altitude, and
// the compression type byte. Text in, position or fault out; no station state.
#pragma once

#include "decoders/PositionFault.h"

#include <cstddef>
#include <string_view>

namespace qv::compressed {

inline constexpr std::size_t kLength = 13;

// The first character of a compressed position: "/" or "\" for the primary or
// alternate table, "A".."Z" or "a".."j" for an overlay. An uncompressed
// position starts with a latitude digit instead, which tells the two apart.
bool isSymbolTable(char c);

// What the two bytes after the symbol code carry.
enum class Extra { None, CourseSpeed, Range, Altitude };

struct Report {
    PositionFault fault = PositionFault::None;
    double latitude = 0;  // degrees, south negative
    double longitude = 0; // degrees, west negative
    char symbolTable = 0;
    char symbolCode = 0;
    Extra extra = Extra::None;
    int course = 0;          // degrees, with Extra::CourseSpeed
    double speedKnots = 0;   // with Extra::CourseSpeed
    double rangeMiles = 0;   // with Extra::Range
    double altitudeFeet = 0; // with Extra::Altitude
};

// Decodes the compressed position at the start of `text`; what follows its
// thirteen characters (the comment) is not looked at.
Report decode(std::string_view text);

} // namespace qv::compressed
