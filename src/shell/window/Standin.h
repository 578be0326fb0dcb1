// Values the window shows whose owning subsystem has not put them into the
// station state yet. Each field moves into its subsystem's state header once
// that lands; until then the window keeps the design value here so every
// control can be drawn and clicked.
#pragma once

#include "core/Colour.h"

#include <string>

namespace qv {

struct Standin {
    // capture-all hides the auto-assign switch
    bool autoassignVisible = true;

    // map posting and options
    bool displayEnabled[5] = {true, true, true, true, true};
    bool timedautoimport = false;
    bool timedEnabled = true;
    bool importtomapnowEnabled = true;
};

} // namespace qv
