// Colours are kept as the program's colour numbers: blue in the high byte,
// red in the low byte (the MapTech records print them in hexadecimal).
#pragma once

#include <cstdint>

namespace qv {

using Colour = std::uint32_t;

// From the usual #RRGGBB notation.
constexpr Colour fromRgb(std::uint32_t rrggbb) {
    return ((rrggbb & 0xFF0000u) >> 16) | (rrggbb & 0x00FF00u) | ((rrggbb & 0x0000FFu) << 16);
}
// Back to #RRGGBB, for drawing.
constexpr std::uint32_t toRgb(Colour c) { return fromRgb(c); }

} // namespace qv
