// The current station report, the detect switches and the marks that keep the
// receive path from running twice at once. Overwritten line by line.
#pragma once

#include "core/Colour.h"

#include <string>

namespace qv {

// The report-kind indicator beside the report fields.
struct Indicator {
    bool visible = false;
    std::string caption;
    Colour back = fromRgb(0xC0C0C0);
};

struct ReportState {
    std::string dataline;     // the line being classified (may hold CRs, never LFs)
    std::string incomingdata; // shown: incoming-data display, editable
    Colour incomingdataBack = fromRgb(0xFFFFFF);
    std::string stationcallsign; // working copy of the station identifier
    std::string callsign;        // shown: "callsign (Station ID)"
    int callsignWidth = 0;       // display width in twips; 0 = as designed
    std::string latitude, longitude;
    std::string northsouth, eastwest;
    std::string rawgpsdata; // shown: "Raw Incoming GPS Strings"
    std::string trackname;
    std::string stationtracked = "NO";
    std::string lastpayload;
    std::string micedata, ggadata, movingdata, gpwgtdata, gpwpldata;
    bool gpwplInScratch = false; // quorvelGPWPL.txt was written with gpwpldata for this very line
    Indicator miclabel;
};

// Check boxes the classifier reads (on = true).
struct Switches {
    bool detectmice = true;            // "Detect Mic-Encoded"
    bool detectmoving = true;          // "Detect aprs @ "
    bool detectfixed = true;           // "Detect aprs  =  and  ! "
    bool detectnmea = true;            // "Detect GPGGA/RMC/WPL"
    bool detect3rdparty = true;        // "Detect 3rd party } traffic" (shown, not read)
    bool detectGPWGTmic = true;        // "Detect gps Mic $GPWGT" (shown, not read)
    bool detectcompressed = true;      // "Detect compressed"
    bool detectobjects = true;         // "Detect objects/items"
    bool soundon = false;              // "Sound ON"
    bool CheckTrackOnlyMoving = false; // "Track/Map only if Green (Moving)"
};

inline constexpr const char* kStopComm = "STOP COMM";
inline constexpr const char* kStartComm = "START COMM";
inline constexpr const char* kGettingConfig = "GETTING CONFIG";
inline constexpr const char* kMovingTag = "TrackMOVINGstation";

struct Marks {
    std::string PGMmessage;            // the one-line status field
    std::string commTag = kStartComm;  // receive-pause mark
    std::string telnetBusy = "0";      // "1" while a telnet line is processed
    bool receiving = false;            // the receive handler is at work on a line
    std::string formTag;               // kGettingConfig while settings load
    std::string movingTag;             // kMovingTag once the station moved
    bool debugLog = false;             // the debug-log switch (the label's visibility)
    bool exportarchiveVisible = false; // new-data mark
    bool windowVisible = true;         // false when running headless or minimised away

    bool receivePaused() const { return commTag == kStopComm; }
    bool loading() const { return formTag == kGettingConfig; }
};

} // namespace qv
