// The station state: every value the subsystems share. Plain values only; the
// window draws this and never holds the truth itself.
#pragma once

#include "core/DisplayState.h"
#include "core/LinkState.h"
#include "core/MapState.h"
#include "core/MessageState.h"
#include "core/RecordState.h"
#include "core/ReportState.h"
#include "core/SettingsState.h"
#include "core/SlotState.h"
#include "core/TelnetState.h"
#include "core/TrackState.h"
#include "core/TrackingState.h"

namespace qv {

struct Station {
    ReportState report;
    Switches sw;
    Marks marks;
    SlotState slots;
    RecordState rec;
    MapState map;
    TrackingState tracking;
    TelnetState telnet;
    DisplayState display;
    MessageWindowState Form5Message;
    LinkState link;
    SettingsState cfg;
    TrackState tracks;
};

} // namespace qv
