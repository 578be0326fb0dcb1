// APRS objects and items: a named thing placed on the map by the station that
// sends it (a spot fire, an aid station). ";" + a nine-character name + "*"
// (live) or "_" (killed) + a seven-character time + a position; ")" + a name of
// three to nine characters + "!" or "_" + a position. The position is plain or
// compressed. Text in, name and position or fault out; no station state.
#pragma once

#include "decoders/PositionFault.h"

#include <cstddef>
#include <string_view>

namespace qv::objectitem {

enum class Kind { Object, Item };

// Everything before the position.
struct Head {
    PositionFault fault = PositionFault::None;
    Kind kind = Kind::Object;
    std::string_view name; // without its trailing blanks
    bool alive = true;
    std::size_t positionAt = 0; // 0-based start of the position in the information field
    bool compressed = false;    // the position is in the compressed form
};

// Reads the head of an information field starting with ";" or ")".
Head head(std::string_view info);

struct Report {
    Head head;
    PositionFault fault = PositionFault::None; // the head's fault, or the position's
    double latitude = 0;                       // degrees, south negative
    double longitude = 0;                      // degrees, west negative
    int daoLatDigit = -1;                      // the !DAO! digits of the comment, -1 for none
    int daoLonDigit = -1;
};

// The whole report: head, position and the !DAO! extension of its comment.
Report decode(std::string_view info);

} // namespace qv::objectitem
