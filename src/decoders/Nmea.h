// $GPGGA and $GPRMC sentences a station's GPS sends through its TNC: only the
// position is taken; time, fix quality, status and checksum are not read.
#pragma once

#include "core/Context.h"

#include <array>
#include <string_view>

namespace qv {

class Nmea {
public:
    explicit Nmea(Context& ctx) : ctx_(ctx) {}

    // Decodes `ggadata` (moved into `rawgpsdata` first).
    void gpgga();
    // Decodes the sentence the classifier left in `rawgpsdata`.
    void gprmc();

private:
    // The shared walk; `first` is the number of the comma before the latitude
    // field (2 for GGA, 3 for RMC).
    void decode(int first, std::string_view marker);

    Context& ctx_;
};

namespace nmea {

// 1-based positions of the first fifteen commas. Each search starts after the
// previous comma; a missing one is 0 and the next search starts over at the
// beginning, so a short sentence repeats its commas rather than running off.
std::array<std::size_t, 16> commas(std::string_view s);

// Degrees of `degreeDigits` characters at the 1-based `start`, plus the
// minutes written after them up to the field's comma (any number of
// decimals), as decimal degrees. Failure 13 when either is not a number.
double degreesAt(std::string_view s, std::size_t start, std::size_t degreeDigits);

} // namespace nmea

} // namespace qv
