// The slot table's rules: matching a report to a slot and placing new stations
// in free slots, and every edit the user makes to the table. Each handler is a
// plain method so the window, the configuration loader and tests drive it alike.
#pragma once

#include <string>

namespace qv {

struct Context;

class SlotTable {
public:
    explicit SlotTable(Context& ctx) : ctx_(ctx) {}

    // Sets `trackname` from the report and places an unknown station in the
    // lowest free slot when auto-assignment is on.
    void autoassign();

    // A new CALL ID text, from typing, loading, auto-assignment or capture-all;
    // the change rule runs only when the text really changes.
    void setCallsignID(int n, const std::string& text);
    void CallsignID_Change(int n);
    void CallsignID_DblClick(int n);
    void Callsign_DblClick();
    void clearstationsmenu_Click();

    void setTeamname(int n, const std::string& text);
    // A name that would break the records is made safe, and the user told.
    void Teamname_Change(int n);
    void Teamname_dblclick(int n);
    void cleartacticalsmenu_Click();

    // Switch setters run the click rule only when the value changes, as a
    // check box does.
    void setTrack(int n, bool on);
    void callsigntrack_Click(int n);
    void setAutoassign(bool on);
    void autoassigncheckbox_Click();
    void setMapTacticalNames(bool on);
    void CheckMapTacticalNames_Click();

    // Shows the raw line of the slot's last report in the incoming-data display.
    void LabelCallidLetter_DblClick(int n);

private:
    Context& ctx_;
};

inline constexpr const char* kTacticalNoticeTitle = "TACTICAL NAME NOTICE";
// Why a tactical name was changed, after "Tactical name N ".
inline constexpr const char* kUnsafeNameNote =
    "held a comma, a double quote, a tab or a control character, which would break the map records; each was "
    "replaced by a blank";
extern const char* const kTacticalNoticeText;

} // namespace qv
