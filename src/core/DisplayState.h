// Background colours of report fields that carry meaning of their own (a
// serial read failure, the status field's activity), so they are state the
// window draws rather than something it decides.
#pragma once

#include "core/Colour.h"

namespace qv {

struct DisplayState {
    Colour PGMmessageBack = fromRgb(0xFFFFFF);
    Colour callsignBack = fromRgb(0xFFFFFF); // #FF0000 after a serial read failure
    Colour rawgpsdataBack = fromRgb(0xFFFFFF);
    // The status field grows while the update check counts down (twips, points).
    int PGMmessageFontSize = 8;
    int PGMmessageHeight = 285;
    int PGMmessageWidth = 4575;
};

} // namespace qv
