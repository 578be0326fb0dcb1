// Sentence names of every talker.
#include "decoders/NmeaTalker.h"

#include "core/Text.h"

#include <array>

namespace qv::nmea {

namespace {

constexpr std::array<std::string_view, 6> kTalkers = {"GP", "GN", "GL", "GA", "GB", "BD"};

// The talker at s[1..2] from the table, empty when it is none of them.
std::string_view talker(std::string_view s) {
    if (s.size() < 3 || s[0] != '$') return {};
    for (std::string_view t : kTalkers)
        if (text::iequals(s.substr(1, 2), t)) return t;
    return {};
}

} // namespace

bool isSentence(std::string_view s, std::string_view sentence) {
    return !talker(s).empty() && s.size() >= 3 + sentence.size() &&
           text::iequals(s.substr(3, sentence.size()), sentence);
}

std::size_t findSentence(std::string_view s, std::string_view sentence) {
    for (std::size_t at = s.find('$'); at != std::string_view::npos; at = s.find('$', at + 1))
        if (isSentence(s.substr(at), sentence)) return at;
    return std::string_view::npos;
}

std::string_view talkerOf(std::string_view s) { return talker(s); }

} // namespace qv::nmea
