// Position step.
#include "records/SlotMarks.h"

#include "core/Context.h"
#include "core/ErrorLog.h"
#include "core/Station.h"
#include "core/Steps.h"
#include "core/Text.h"
#include "platform/Ui.h"
#include "tracking/SlotMatch.h"

namespace qv {

std::string positionText(std::string_view latitude, std::string_view longitude) {
    return text::left(latitude, 7) + ", " + text::left(longitude, 9);
}

void SlotMarks::assigncoords() {
    Station& st = ctx_.st;
    static constexpr const char* kMarker = " in SUB ASSIGNCOORDS ";
    ctx_.log.guard(kMarker, [&] {
        st.marks.PGMmessage = "AssigningCoordinates";
        ctx_.ui.refresh();
    });
    const std::string now = positionText(st.report.latitude, st.report.longitude);
    std::string old;
    ctx_.log.guard(kMarker, [&] {
        const int n = matchSlot(st.slots, st.report.callsign);
        if (n == 0) return;
        Slot& s = st.slots[n];
        // The first report since the CALL ID was set compares with "0", which
        // the movement test takes for a new station.
        if (s.location == kNoPosition) s.location = "0";
        old = s.location;
        if (text::iequals(old, now)) s.lastHeardBack = slotcolour::Red;
        std::string moved;
        ctx_.steps.checkmovement(old, now, moved);
        if (moved == "YES") s.lastHeardBack = slotcolour::LightGreen;
        s.location = now;
        s.letterToolTip = st.report.incomingdata;
    });
    ctx_.log.guard(kMarker, [&] {
        // A marker set here stays until the classifier writes a tracked report,
        // so every move seen is followed by a written report, even when the
        // station that moved is not tracked itself.
        if (old.empty() || !st.sw.CheckTrackOnlyMoving) return;
        std::string moved;
        ctx_.steps.checkmovement(old, now, moved);
        if (moved == "YES") st.marks.movingTag = kMovingTag;
    });
}

} // namespace qv
