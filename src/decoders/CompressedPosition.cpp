// The compressed position decoder.
#include "decoders/CompressedPosition.h"

#include <cmath>

namespace qv::compressed {

namespace {

constexpr int kFirst = 33;      // "!", base-91 digit 0
constexpr int kRangeMark = 123; // "{", digit 90; as the course byte it marks a radio range

bool isBase91(char c) { return c >= kFirst && c <= kRangeMark; }
int value(char c) { return static_cast<unsigned char>(c) - kFirst; }

// Four base-91 digits, most significant first; -1 when one is no digit.
long base91(std::string_view four) {
    long v = 0;
    for (char c : four) {
        if (!isBase91(c)) return -1;
        v = v * 91 + value(c);
    }
    return v;
}

// The course/speed, range or altitude bytes. A blank first byte says there are
// none; bytes that fit none of the forms leave the position as it is.
void extra(Report& r, char c, char s, char type) {
    if (c == ' ' || !isBase91(c) || !isBase91(s)) return;
    // Bits 3 and 4 of the type byte name the GPS sentence the fix came from;
    // from a GGA sentence the two bytes are the altitude.
    const bool fromGga = isBase91(type) && ((value(type) >> 3) & 3) == 2;
    if (fromGga) {
        r.extra = Extra::Altitude;
        r.altitudeFeet = std::pow(1.002, value(c) * 91 + value(s));
    } else if (c == kRangeMark) {
        r.extra = Extra::Range;
        r.rangeMiles = 2 * std::pow(1.08, value(s));
    } else {
        r.extra = Extra::CourseSpeed;
        r.course = value(c) * 4;
        r.speedKnots = std::pow(1.08, value(s)) - 1;
    }
}

} // namespace

bool isSymbolTable(char c) { return c == '/' || c == '\\' || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'j'); }

Report decode(std::string_view text) {
    Report r;
    if (text.size() < kLength) {
        r.fault = PositionFault::TooShort;
        return r;
    }
    if (!isSymbolTable(text[0])) {
        r.fault = PositionFault::BadSymbolTable;
        return r;
    }
    const long y = base91(text.substr(1, 4));
    const long x = base91(text.substr(5, 4));
    if (y < 0 || x < 0) {
        r.fault = PositionFault::BadCharacter;
        return r;
    }
    r.latitude = 90.0 - static_cast<double>(y) / 380926.0;
    r.longitude = -180.0 + static_cast<double>(x) / 190463.0;
    // Four digits reach a little past the poles and the date line.
    if (r.latitude < -90.0 || r.longitude > 180.0) {
        r.fault = PositionFault::OutOfRange;
        return r;
    }
    r.symbolTable = text[0];
    r.symbolCode = text[9];
    extra(r, text[10], text[11], text[12]);
    return r;
}

} // namespace qv::compressed
