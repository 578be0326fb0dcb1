// Text pieces the GPX, KML and GeoJSON documents share: escaping for XML and
// JSON, coordinates that read back as the same number, UTC time stamps and the
// slot colours in the forms each format wants.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace qv {

struct DateTime;

namespace mapfile {

// Valid UTF-8 with every byte that cannot start or continue a character
// replaced by "?" and every control character by a blank: received names are
// whatever arrived, and a single stray byte would make the whole XML or JSON
// document unreadable.
std::string cleanText(std::string_view s);

std::string xmlEscaped(std::string_view s); // cleaned; & < > " ' as entities
std::string jsonQuoted(std::string_view s); // cleaned; in double quotes, JSON escapes

// The shortest decimal text that reads back as exactly `v`, never in exponent
// form (GPX wants xsd:decimal, KML plain numbers).
std::string coordText(double v);

// Seconds since 1970-01-01 00:00 UTC of a reading of the clock (local time
// and its offset from UTC).
std::int64_t utcSeconds(const DateTime& local);
// "2026-12-07T09:05:42Z"
std::string isoTime(std::int64_t utc);
// Reads "YYYY-MM-DDThh:mm:ss", optional fraction, then "Z" or "+hh:mm"/"-hh:mm".
std::optional<std::int64_t> parseIsoTime(std::string_view s);

// Slot n's colour (1..8) as "#rrggbb", as KML's "aabbggrr" and as the nearest
// named colour of the track extension that handheld receivers read.
std::string rgbHex(int slot);
std::string kmlColour(int slot);
const char* namedColour(int slot);

// A latitude and longitude that name a place: finite, within ±90 and ±180.
bool onGlobe(double lat, double lon);

// "A" .. "H" for 1..8; 0 for any other text.
int slotOfLetter(std::string_view letter);

} // namespace mapfile
} // namespace qv
