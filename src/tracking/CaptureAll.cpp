// Capture-all switching and the slot rotation.
#include "tracking/CaptureAll.h"

#include "core/Context.h"
#include "core/ErrorLog.h"
#include "core/Station.h"
#include "platform/Ui.h"
#include "tracking/SlotTable.h"

namespace qv {

namespace {
constexpr const char* kRotationMarker = " in SUB CAPTUREALLCALLSIGNS ";

// The map programs capture-all writes nothing for: their files are built from
// the slot history, which the rotation keeps throwing away.
bool refusedProgram(MapOption o) {
    return o == MapOption::Option2ImportMapTech || o == MapOption::Option3ImportMapTechPRO ||
           o == MapOption::Option6ImportNatGeoTOPO;
}
} // namespace

void CaptureAll::captureallON_Click() {
    Station& st = ctx_.st;
    if (refusedProgram(st.map.option)) {
        ctx_.ui.message(kCaptureAllRefusal, "Quorvel", Buttons::Ok);
        return;
    }
    if (ctx_.ui.message(kCaptureAllQuestion, kCaptureAllTitle, Buttons::OkCancel) == Answer::Cancel) return;

    // Cleared before the mode flag is set, so the emptied table is saved as
    // any other clearing is; the churn that follows is not.
    table_.clearstationsmenu_Click();
    st.map.captureallON = true;
    st.map.captureallOFF = false;
    st.tracking.autoassigncheckboxVisible = false;
    st.map.CaptureAllLabel = true;
    st.tracking.CheckMapTacticalNames.enabled = false;
    ctx_.ui.refresh();
}

void CaptureAll::captureallOFF_Click() {
    Station& st = ctx_.st;
    st.map.captureallON = false;
    st.map.captureallOFF = true;
    st.tracking.autoassigncheckboxVisible = true;
    st.map.CaptureAllLabel = false;
    st.tracking.CheckMapTacticalNames.enabled = true;
    ctx_.ui.refresh();
}

void CaptureAll::captureallcallsigns() {
    Station& st = ctx_.st;
    // Every slot the rotation refills must be tracked, or a captured station
    // would sit in its slot without ever being written.
    for (int n = 1; n <= 8; ++n)
        ctx_.log.guard(kRotationMarker, [&] { table_.setTrack(n, true); });
    ctx_.ui.refresh();
    int& counter = st.tracking.captureslotcounter;
    ++counter;
    if (counter >= 1 && counter <= 7) {
        ctx_.log.guard(kRotationMarker, [&] { table_.CallsignID_DblClick(counter + 1); });
    } else {
        // 8, or anything a stray value left: empty slot 1 and start over.
        ctx_.log.guard(kRotationMarker, [&] { table_.CallsignID_DblClick(1); });
        counter = 0;
    }
}

} // namespace qv
