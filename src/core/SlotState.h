// The eight tracked-station slots, lettered A to H.
#pragma once

#include "core/Colour.h"

#include <array>
#include <string>

namespace qv {

struct Slot {
    std::string CallsignID; // "CALL ID"
    std::string Teamname;   // tactical name
    bool track = false;     // tracking switch
    std::string location;   // last position
    std::string lastHeard;  // last-heard caption
    Colour lastHeardBack = fromRgb(0xFFFFFF);
    std::string letterToolTip;
    double LastHeardStamp = 0; // minute stamp of the last report
};

struct SlotState {
    std::array<Slot, 8> slot; // slot n is slot[n - 1]
    Slot& operator[](int n) { return slot[static_cast<std::size_t>(n - 1)]; }
    const Slot& operator[](int n) const { return slot[static_cast<std::size_t>(n - 1)]; }
};

} // namespace qv
