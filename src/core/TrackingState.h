// Switches and settings of the slot table and the overdue monitor that are
// not part of any one slot.
#pragma once

#include <string>

namespace qv {

inline constexpr const char* kNoticeGiven = "Nameformatnotice given";

// "Post TACTICAL names to map": in force only while enabled and checked.
struct TacticalNamesSwitch {
    bool checked = false;
    bool enabled = true; // capture-all and the map display options switch it off
    std::string tag;     // kNoticeGiven once the notice was shown this run
    bool inForce() const { return enabled && checked; }
};

struct TrackingState {
    bool autoassigncheckbox = false; // "Auto-assign incoming stations"
    TacticalNamesSwitch CheckMapTacticalNames;
    std::string overdue = "60";             // overdue limit in minutes, as typed
    bool LabelTrackMovingONVisible = false; // "Tracking Moving/New" indicator
    bool autoassigncheckboxVisible = true;  // capture-all hides it (its value stays)
    // The capture-all rotation: the last slot position emptied (0..7). Only the
    // rotation itself changes it, so it carries on across turning the mode off and on.
    int captureslotcounter = 0;
};

} // namespace qv
