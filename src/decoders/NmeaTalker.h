// The sentence names of the GPS sentences the station reads, from a receiver
// of any constellation: "$GP" (GPS), "$GN" (several systems at once), "$GL"
// (GLONASS), "$GA" (Galileo), "$GB" and "$BD" (BeiDou), then the sentence
// ("GGA", "RMC", "WPL"). Letter case is ignored throughout.
#pragma once

#include <cstddef>
#include <string_view>

namespace qv::nmea {

// Whether `s` begins with "$", a known talker and `sentence`.
bool isSentence(std::string_view s, std::string_view sentence);

// 0-based position of the first such sentence name anywhere in `s`, npos when none.
std::size_t findSentence(std::string_view s, std::string_view sentence);

// The talker of a sentence name that isSentence() accepted, in capitals ("GN").
std::string_view talkerOf(std::string_view s);

} // namespace qv::nmea
