// Slot table handlers and auto-assignment.
#include "tracking/SlotTable.h"

#include "core/Context.h"
#include "core/ErrorLog.h"
#include "core/Fields.h"
#include "core/Station.h"
#include "core/Steps.h"
#include "platform/Ui.h"
#include "tracking/SlotMatch.h"

namespace qv {

const char* const kTacticalNoticeText =
    "You have chosen to use TACTICAL NAMES for your maps.\r"
    " It is important that you know the naming limitations of your map programs when using this option.\r"
    "Some mapping programs may have limits on name length, Charactures used, or other limitations.\r"
    "Your tactical names must fit within those limits, as Quorvel does not check for valid naming.";

namespace {
bool inRange(int n) { return n >= 1 && n <= 8; }
} // namespace

void SlotTable::autoassign() {
    Station& st = ctx_.st;
    ctx_.log.guard(" in SUB AUTOASSIGN ", [&] {
        st.marks.PGMmessage = "AssigningCALLID";
        if (st.report.stationcallsign.empty()) return;
        st.report.trackname = st.report.stationcallsign;
        if (!st.tracking.autoassigncheckbox) return;
        if (matchSlot(st.slots, st.report.trackname) != 0) return;
        if (st.sw.soundon) ctx_.ui.beep();
        for (int n = 1; n <= 8; ++n) {
            if (isFree(st.slots, n)) {
                setCallsignID(n, st.report.trackname);
                return;
            }
        }
        // A full table is no error: the station is simply not placed.
    });
}

void SlotTable::setCallsignID(int n, const std::string& text) {
    if (!inRange(n)) return;
    Slot& s = ctx_.st.slots[n];
    if (s.CallsignID == text) return;
    s.CallsignID = text;
    CallsignID_Change(n);
}

void SlotTable::CallsignID_Change(int n) {
    if (!inRange(n)) return;
    Slot& s = ctx_.st.slots[n];
    s.lastHeard = "0";
    s.location = kNoPosition;
    // While capture-all rotates the table, its churn is not worth keeping.
    if (!ctx_.st.map.captureallON) ctx_.steps.savesettings();
}

void SlotTable::CallsignID_DblClick(int n) { setCallsignID(n, ""); }

void SlotTable::Callsign_DblClick() { clearstationsmenu_Click(); }

void SlotTable::clearstationsmenu_Click() {
    ctx_.st.marks.PGMmessage = "Clearing all Callsigns";
    for (int n = 1; n <= 8; ++n)
        CallsignID_DblClick(n);
}

void SlotTable::setTeamname(int n, const std::string& text) {
    if (!inRange(n)) return;
    Slot& s = ctx_.st.slots[n];
    if (s.Teamname == text) return;
    s.Teamname = text;
    Teamname_Change(n);
}

void SlotTable::Teamname_Change(int n) {
    if (!inRange(n)) return;
    std::string& name = ctx_.st.slots[n].Teamname;
    if (!isRecordSafeName(name)) {
        name = recordSafeName(name);
        ctx_.ui.message("Tactical name " + std::to_string(n) + " " + kUnsafeNameNote + ".", kTacticalNoticeTitle,
                        Buttons::Ok, Icon::Exclamation);
    }
    ctx_.steps.savesettings();
}

void SlotTable::Teamname_dblclick(int n) { setTeamname(n, ""); }

void SlotTable::cleartacticalsmenu_Click() {
    for (int n = 1; n <= 8; ++n)
        Teamname_dblclick(n);
}

void SlotTable::setTrack(int n, bool on) {
    if (!inRange(n)) return;
    Slot& s = ctx_.st.slots[n];
    if (s.track == on) return;
    s.track = on;
    callsigntrack_Click(n);
}

void SlotTable::callsigntrack_Click(int n) {
    if (!inRange(n)) return;
    ctx_.steps.savesettings();
}

void SlotTable::setAutoassign(bool on) {
    if (ctx_.st.tracking.autoassigncheckbox == on) return;
    ctx_.st.tracking.autoassigncheckbox = on;
    autoassigncheckbox_Click();
}

void SlotTable::autoassigncheckbox_Click() { ctx_.steps.savesettings(); }

void SlotTable::setMapTacticalNames(bool on) {
    TacticalNamesSwitch& sw = ctx_.st.tracking.CheckMapTacticalNames;
    if (sw.checked == on) return;
    sw.checked = on;
    CheckMapTacticalNames_Click();
}

void SlotTable::CheckMapTacticalNames_Click() {
    TacticalNamesSwitch& sw = ctx_.st.tracking.CheckMapTacticalNames;
    // Once per run, and never while the settings are being loaded.
    if (sw.checked && sw.enabled && sw.tag.empty() && !ctx_.st.marks.loading()) {
        ctx_.ui.message(kTacticalNoticeText, kTacticalNoticeTitle, Buttons::Ok);
        sw.tag = kNoticeGiven;
    }
    ctx_.steps.savesettings();
}

void SlotTable::LabelCallidLetter_DblClick(int n) {
    if (!inRange(n)) return;
    ctx_.st.report.incomingdata = ctx_.st.slots[n].letterToolTip;
}

} // namespace qv
