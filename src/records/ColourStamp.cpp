// Colour and time steps.
#include "records/ColourStamp.h"

#include "core/Context.h"
#include "core/ErrorLog.h"
#include "core/Station.h"
#include "core/Steps.h"
#include "platform/Clock.h"
#include "records/SlotConstants.h"
#include "records/TimeStamps.h"
#include "tracking/MinuteStamp.h"
#include "tracking/SlotMatch.h"

#include <string>

namespace qv {

void ColourStamp::assigncolor() {
    Station& st = ctx_.st;
    ctx_.log.guard(" in SUB ASSIGNCOLOR ", [&] {
        st.report.stationtracked = "NO";
        st.rec.slotcolorhex = kNoSlotColour;
        Colour display = 0;
        // A slot holding the station with its switch off does not stop the
        // search: a later tracked slot may hold it too.
        if (const int n = matchTrackedSlot(st.slots, st.report.trackname); n != 0) {
            st.report.stationtracked = "YES";
            st.rec.slotcolorhex = std::string(slotRow(n).colourKey);
            st.rec.slotmarkerwidth = "40";
            display = st.slots[n].back;
        }
        st.rec.recordBack = display;
    });
}

void ColourStamp::assigntime() {
    Station& st = ctx_.st;
    ctx_.log.guard(" in SUB ASSIGNTIME ", [&] { ctx_.steps.Timer2_Timer(); });
    ctx_.log.guard(" in SUB ASSIGNTIME ", [&] {
        const int n = matchSlot(st.slots, st.report.callsign);
        if (n == 0) return;
        const DateTime now = ctx_.clock.now();
        Slot& s = st.slots[n];
        s.lastHeard = stamp::lastHeardText(now);
        s.lastHeardBack = slotcolour::White;
        s.LastHeardStamp = minuteStamp(now);
    });
}

} // namespace qv
