// Which texts can name a station. An identifier ends up in every map record,
// in the slot table and in quorvel.cfg; a line end, a comma or a double quote
// in it would split or add fields there, so a report whose identifier fails
// this test is no station report.
#pragma once

#include <cstddef>
#include <string_view>

namespace qv {

enum class IdForm {
    // The source address of a packet: letters and digits, at most one inner
    // "-" before an SSID of one or two letters or digits, 1 to 9 characters
    // (APRS-IS names such as "N0CALL-15" and "VE7ABC-L" included).
    SourceAddress,
    // A name field (the waypoint of a GPS sentence, an object or item):
    // printable ASCII without comma or double quote, inner blanks allowed,
    // no blank at either end, 1 to kMaxStationName characters, and not the
    // "CALL ID-n" text that marks a free slot.
    Name,
};

inline constexpr std::size_t kMaxSourceAddress = 9;
// Far above the APRS names (9) and what GPS receivers give a waypoint, so
// that only garbage is refused.
inline constexpr std::size_t kMaxStationName = 32;

bool isValidStationId(std::string_view id, IdForm form = IdForm::SourceAddress);

} // namespace qv
