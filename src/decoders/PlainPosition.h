// The uncompressed APRS position as objects and items carry it: "DDMM.hhN",
// the symbol table, "DDDMM.hhW" and the symbol code, nineteen characters.
// Text in, position or fault out; no station state.
#pragma once

#include "decoders/PositionFault.h"

#include <cstddef>
#include <string_view>

namespace qv::plain {

inline constexpr std::size_t kLength = 19;

struct Report {
    PositionFault fault = PositionFault::None;
    double latitude = 0;  // degrees, south negative
    double longitude = 0; // degrees, west negative
    char symbolTable = 0;
    char symbolCode = 0;
};

// Decodes the position at the start of `text`. Blanks in place of minute
// digits (position ambiguity) read as zeros; hemisphere letters may be lower
// case. What follows the symbol code is not looked at.
Report decode(std::string_view text);

} // namespace qv::plain
