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
    Colour incomingBack = fromRgb(0xFFFFFF);
    Colour pgmBack = fromRgb(0xFFFFFF);
    Colour callsignBack = fromRgb(0xFFFFFF);
    bool sendVisible = false;
    std::string sendtext;

    // APRS-IS
    bool telnetVisible = false;
    std::string telnetCaption = "TELNET Info";

    // slot table switches
    bool autoassign = false;
    bool autoassignVisible = true;
    bool mapTactical = false;
    bool mapTacticalEnabled = true;
    bool captureAll = false;
    std::string overdue = "60";

    // map files
    bool preventdupes = true;
    bool createStreetAtlas = false, createMapTech = true, createNatGeo = false, createOzi = false,
         createNatGeoNowCall = false;
    bool ODF = false;
    std::string exportarchiveCaption = "ARCHIVE Current Data files";

    // map posting and options
    std::string mapOption;     // "Option1ImportSA" ..; empty = none selected
    std::string displayOption; // "OptionMapPostbyTRACK" ..; empty = none selected
    bool displayEnabled[5] = {true, true, true, true, true};
    bool timedautoimport = false;
    bool timedEnabled = true;
    bool importtomapnowVisible = true;
    bool importtomapnowEnabled = true;
    bool exportarchiveNoticeVisible = false;
};

} // namespace qv
