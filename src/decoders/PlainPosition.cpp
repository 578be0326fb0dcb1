// The uncompressed position decoder of objects and items.
#include "decoders/PlainPosition.h"

namespace qv::plain {

namespace {

bool isDigit(char c) { return c >= '0' && c <= '9'; }

// Degrees of `degreeDigits` digits, then "MM.hh" whose digits may be blanks;
// decimal degrees, or a negative number with the fault in `fault`.
double degrees(std::string_view s, std::size_t degreeDigits, double limit, PositionFault& fault) {
    int deg = 0;
    for (std::size_t i = 0; i < degreeDigits; ++i) {
        if (!isDigit(s[i])) {
            fault = PositionFault::BadCharacter;
            return -1;
        }
        deg = deg * 10 + (s[i] - '0');
    }
    const std::string_view m = s.substr(degreeDigits, 5);
    if (m[2] != '.') {
        fault = PositionFault::BadCharacter;
        return -1;
    }
    int hundredths = 0; // of a minute
    for (char c : {m[0], m[1], m[3], m[4]}) {
        if (!isDigit(c) && c != ' ') {
            fault = PositionFault::BadCharacter;
            return -1;
        }
        hundredths = hundredths * 10 + (c == ' ' ? 0 : c - '0');
    }
    const double value = deg + hundredths / 6000.0;
    if (hundredths >= 6000 || value > limit) {
        fault = PositionFault::OutOfRange;
        return -1;
    }
    return value;
}

// +1 or -1 for the hemisphere letter, 0 when it is none of the two.
int sign(char c, char positive, char negative) {
    const char u = c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
    return u == positive ? 1 : u == negative ? -1 : 0;
}

} // namespace

Report decode(std::string_view text) {
    Report r;
    if (text.size() < kLength) {
        r.fault = PositionFault::TooShort;
        return r;
    }
    const double lat = degrees(text.substr(0, 7), 2, 90.0, r.fault);
    if (r.fault != PositionFault::None) return r;
    const int ns = sign(text[7], 'N', 'S');
    const double lon = degrees(text.substr(9, 8), 3, 180.0, r.fault);
    if (r.fault != PositionFault::None) return r;
    const int ew = sign(text[17], 'E', 'W');
    if (ns == 0 || ew == 0) {
        r.fault = PositionFault::BadHemisphere;
        return r;
    }
    r.latitude = ns * lat;
    r.longitude = ew * lon;
    r.symbolTable = text[8];
    r.symbolCode = text[18];
    return r;
}

} // namespace qv::plain
