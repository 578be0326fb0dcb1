// The tracking and record steps wired together over a fixed clock, a scripted
// user interface and a hand-driven Timer2, with the settings saves counted.
#pragma once

#include "core/Context.h"
#include "core/ErrorLog.h"
#include "core/Station.h"
#include "core/Steps.h"
#include "core/WorkDir.h"
#include "records/ColourStamp.h"
#include "records/RecordBuilder.h"
#include "records/SlotMarks.h"
#include "support/FakeTimer.h"
#include "support/Fakes.h"
#include "tracking/MovementMonitor.h"
#include "tracking/SlotTable.h"

#include <string>

namespace qv::test {

class TrackingHarness final : public Steps {
public:
    TempDir tmp;
    FakeClock clock;
    FakeUi ui;
    FakeTimer timer2;
    Station st;
    WorkDir dir{tmp.path()};
    ErrorLog log{dir, clock};
    Context ctx{st, dir, log, ui, clock, *this};
    SlotTable table{ctx};
    MovementMonitor monitor{ctx};
    ColourStamp colourStamp{ctx};
    RecordBuilder records{ctx};
    SlotMarks marks{ctx};
    int saves = 0;

    TrackingHarness() { ctx.timer2 = &timer2; }

    void autoassign() override { table.autoassign(); }
    void assigncolor() override { colourStamp.assigncolor(); }
    void assigntime() override { colourStamp.assigntime(); }
    void makestrings() override { records.makestrings(); }
    void assigncoords() override { marks.assigncoords(); }
    void Timer2_Timer() override { monitor.Timer2_Timer(); }
    void checkmovement(const std::string& previous, const std::string& current, std::string& result) override {
        monitor.checkmovement(previous, current, result);
    }
    void savesettings() override { ++saves; }

    // An accepted report of `call` at signed decimal degrees, through the
    // pipeline in the classifier's order.
    void report(const std::string& call, const std::string& lat, const std::string& lon) {
        st.report.callsign = call;
        st.report.stationcallsign = call;
        st.report.latitude = lat;
        st.report.longitude = lon;
        st.report.incomingdata = call + ">APRS:!" + lat + "/" + lon;
        autoassign();
        assigncolor();
        assigntime();
        makestrings();
        assigncoords();
    }

    // The slot switched to tracking with this CALL ID.
    void track(int n, const std::string& call) {
        table.setCallsignID(n, call);
        table.setTrack(n, true);
    }

    std::string errors() const { return tmp.read(kErrorFile); }
};

} // namespace qv::test
