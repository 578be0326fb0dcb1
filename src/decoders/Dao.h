// The precision and datum extension "!DAO!" of a position comment: one more
// digit of minutes for latitude and longitude, in plain digits (upper-case
// datum letter) or as base-91 digits (lower-case datum letter). Text in,
// extra minutes out; no station state.
#pragma once

#include <string_view>

namespace qv::dao {

struct Extension {
    bool found = false;
    char datum = 0;        // the datum letter as sent ("W" or "w" for WGS 84)
    bool base91 = false;   // lower-case datum: base-91 digits
    double latMinutes = 0; // minutes to add to the latitude, away from the equator
    double lonMinutes = 0; // minutes to add to the longitude, away from Greenwich
    int latDigit = -1;     // the thousandths-of-a-minute digit, -1 for a blank
    int lonDigit = -1;
};

// The first "!DAO!" of the comment; found is false when there is none. A
// blank in place of a digit adds nothing to that coordinate.
Extension find(std::string_view comment);

// A position in signed degrees with the extension's minutes added, away from
// the equator and from Greenwich; unchanged when none was found.
struct Point {
    double latitude, longitude;
};
Point apply(const Extension& x, double latitude, double longitude);

} // namespace qv::dao
