// The record texts built for each report and written unchanged by the file
// writer, and the per-report slot codes they are built from.
#pragma once

#include "core/Colour.h"

#include <string>

namespace qv {

inline constexpr const char* kNoSlotColour = "-2147483643"; // window background system colour
inline constexpr const char* kOutOfOregon = "outoforegon";

struct RecordState {
    std::string mxfstring, rxfstring, txfstring, wptstring, pltstring, sa5string;
    std::string ngtopostring, ngtopocallstring, spotfirestring, ozicolor;

    std::string slotcolorhex = kNoSlotColour; // colour key of the matched tracked slot
    std::string slotmarkerwidth;              // "40" once a tracked slot matched; kept afterwards
    // Background of the trackname, txfstring, rxfstring and mxfstring fields:
    // the matched slot's display colour, black without a match.
    Colour recordBack = 16777215;
};

} // namespace qv
