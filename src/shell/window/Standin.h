// Values the window shows whose owning subsystem has not put them into the
// station state yet. Each field moves into its subsystem's state header once
// that lands; until then the window keeps the design value here so every
// control can be drawn and clicked.
#pragma once

#include "core/Colour.h"

#include <string>

namespace qv {

struct Standin {
    // serial link
    std::string comport = "0";
    bool portButtonsVisible = true;
    bool openportEnabled = true;
    bool closeportEnabled = false;
    std::string INcomport = "IN com port ";
    Colour pgmBack = fromRgb(0xFFFFFF);
    Colour callsignBack = fromRgb(0xFFFFFF);
    bool sendVisible = false;
    std::string sendtext;

    // capture-all hides the auto-assign switch
    bool autoassignVisible = true;

    // map posting and options
    std::string displayOption; // "OptionMapPostbyTRACK" ..; empty = none selected
    bool displayEnabled[5] = {true, true, true, true, true};
    bool timedautoimport = false;
    bool timedEnabled = true;
    bool importtomapnowEnabled = true;
};

} // namespace qv
