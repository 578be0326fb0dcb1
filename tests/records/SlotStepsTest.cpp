// The colour, time and position steps, and a replay of several stations.
#include "records/SlotMarks.h"
#include "support/TrackingHarness.h"
#include "tracking/MinuteStamp.h"

#include <gtest/gtest.h>

namespace qv::test {
namespace {

TEST(Assigncolor, TrackedSlotCodesAndDisplayColour) {
    struct Case {
        const char* name;
        bool slot3Track, slot6Track;
        const char *tracked, *hex;
        Colour back;
    };
    const Case cases[] = {
        {"LaterTrackedSlotWins", false, true, "YES", "800000", 8388608},
        {"FirstTrackedSlotWins", true, true, "YES", "8000", 32768},
        {"NoTrackedSlot", false, false, "NO", "-2147483643", 0},
    };
    for (const Case& c : cases) {
        TrackingHarness h;
        h.st.slots[3].CallsignID = "N0CALL";
        h.st.slots[6].CallsignID = "n0call";
        h.st.slots[3].track = c.slot3Track;
        h.st.slots[6].track = c.slot6Track;
        h.st.report.trackname = "N0CALL";
        h.assigncolor();
        SCOPED_TRACE(c.name);
        EXPECT_EQ(h.st.report.stationtracked, c.tracked);
        EXPECT_EQ(h.st.rec.slotcolorhex, c.hex);
        EXPECT_EQ(h.st.rec.recordBack, c.back);
    }
}

TEST(Assigncolor, MarkerWidthOutlivesTheTrackedReport) {
    TrackingHarness h;
    EXPECT_EQ(h.st.rec.slotmarkerwidth, "");
    h.track(1, "N0CALL");
    h.report("N0CALL", "45.5", "-122.6");
    EXPECT_EQ(h.st.rec.slotmarkerwidth, "40");
    h.report("K1ABC", "45.5", "-122.6");
    EXPECT_EQ(h.st.report.stationtracked, "NO");
    EXPECT_EQ(h.st.rec.slotcolorhex, "-2147483643");
    EXPECT_EQ(h.st.rec.slotmarkerwidth, "40");
}

TEST(Assigntime, StampsMatchedSlotWhateverItsSwitch) {
    TrackingHarness h;
    h.st.slots[4].CallsignID = "N0CALL";
    h.st.slots[2].lastHeardBack = slotcolour::White;
    h.st.report.callsign = "n0call";
    h.assigntime();
    EXPECT_EQ(h.st.slots[4].lastHeard, "12/7/2026 9:05:42 AM");
    EXPECT_EQ(h.st.slots[4].lastHeardBack, slotcolour::White);
    EXPECT_EQ(h.st.slots[4].LastHeardStamp, minuteStamp(h.clock.t));
    EXPECT_EQ(h.st.slots[2].lastHeardBack, slotcolour::ButtonFace); // the monitor pass ran first
    h.st.report.callsign = "K1ABC";
    h.clock.t.minute = 30;
    h.assigntime();
    EXPECT_EQ(h.st.slots[4].lastHeard, "12/7/2026 9:05:42 AM");
}

TEST(Assigncoords, PositionTextIsCutNotRounded) {
    EXPECT_EQ(positionText("45.1234567", "-123.4567891"), "45.1234, -123.4567");
    EXPECT_EQ(positionText("45.5", "-122.6"), "45.5, -122.6");
    EXPECT_EQ(positionText("", ""), ", ");
}

// Each row is one report of N0CALL in slot 2, in order; the label colour and
// the moving marker after it.
TEST(Assigncoords, LabelColoursAndMovingMarker) {
    struct Step {
        const char *lat, *lon;
        Colour label;
        bool marker;
    };
    const Step steps[] = {
        {"45.5", "-122.6", slotcolour::LightGreen, true}, // first report: new
        {"45.5", "-122.6", slotcolour::Red, false},       // same position
        {"45.5004", "-122.6", slotcolour::White, false},  // minor movement
        {"45.5020", "-122.6", slotcolour::LightGreen, true},
        {"45.50200001", "-122.6", slotcolour::Red, false}, // equal once cut to 7 characters
    };
    TrackingHarness h;
    h.track(2, "N0CALL");
    h.monitor.setCheckTrackOnlyMoving(true);
    for (const Step& s : steps) {
        h.st.marks.movingTag.clear(); // the tracked report before was written, which consumes it
        h.report("N0CALL", s.lat, s.lon);
        SCOPED_TRACE(s.lat);
        EXPECT_EQ(h.st.slots[2].lastHeardBack, s.label);
        EXPECT_EQ(h.st.marks.movingTag, s.marker ? kMovingTag : "");
        EXPECT_EQ(h.st.marks.PGMmessage, "AssigningCoordinates");
    }
    EXPECT_EQ(h.st.slots[2].location, "45.5020, -122.6");
}

TEST(Assigncoords, MarkerOnlyWithOptionAndMatchedSlot) {
    TrackingHarness h;
    h.st.tracking.autoassigncheckbox = false;
    h.st.slots[1].CallsignID = "N0CALL"; // tracking off: slot still updated
    h.report("N0CALL", "45.5", "-122.6");
    EXPECT_EQ(h.st.slots[1].location, "45.5, -122.6");
    EXPECT_EQ(h.st.slots[1].lastHeardBack, slotcolour::LightGreen);
    EXPECT_EQ(h.st.marks.movingTag, "");
    h.monitor.setCheckTrackOnlyMoving(true);
    const SlotState before = h.st.slots;
    h.report("K1ABC", "44", "-120");
    EXPECT_EQ(h.st.marks.movingTag, "");
    for (int n = 1; n <= 8; ++n) {
        EXPECT_EQ(h.st.slots[n].location, before[n].location);
        EXPECT_EQ(h.st.slots[n].letterToolTip, before[n].letterToolTip);
    }
}

// A station that moved but was not written leaves its marker for the next
// tracked report; a report that did not move never clears it.
TEST(Assigncoords, MarkerOfAnUnwrittenMoveStays) {
    TrackingHarness h;
    h.st.tracking.autoassigncheckbox = false;
    h.monitor.setCheckTrackOnlyMoving(true);
    h.st.slots[1].CallsignID = "MOVER"; // not tracked: its files are not written
    h.track(2, "STILL");
    h.report("STILL", "45.5", "-122.6");
    h.st.marks.movingTag.clear(); // written and consumed
    h.report("MOVER", "44", "-120");
    EXPECT_EQ(h.st.marks.movingTag, kMovingTag);
    h.report("STILL", "45.5", "-122.6");
    EXPECT_EQ(h.st.report.stationtracked, "YES");
    EXPECT_EQ(h.st.marks.movingTag, kMovingTag);
}

// Several stations heard in turn: the table ends exactly as the steps say.
TEST(Replay, SeveralStations) {
    TrackingHarness h;
    h.st.tracking.autoassigncheckbox = true;
    h.table.setTrack(1, true);
    h.table.setTrack(2, true);
    struct Line {
        int hour, minute;
        const char *call, *lat, *lon;
    };
    const Line lines[] = {
        {9, 0, "N0CALL", "45.5", "-122.6"},        {9, 1, "K1ABC-9", "44.0521", "-123.0868"},
        {9, 2, "W7XYZ", "42.3265", "-122.8756"},   {9, 3, "n0call", "45.5", "-122.6"},
        {9, 4, "K1ABC-9", "44.0600", "-123.0868"},
    };
    for (const Line& l : lines) {
        h.clock.t = {2026, 12, 7, l.hour, l.minute, 0};
        h.report(l.call, l.lat, l.lon);
    }
    EXPECT_EQ(h.st.slots[1].CallsignID, "N0CALL");
    EXPECT_EQ(h.st.slots[2].CallsignID, "K1ABC-9");
    EXPECT_EQ(h.st.slots[3].CallsignID, "W7XYZ");
    EXPECT_EQ(h.st.slots[4].CallsignID, "CALL ID-4");
    EXPECT_EQ(h.st.slots[1].lastHeardBack, slotcolour::Red);
    EXPECT_EQ(h.st.slots[2].lastHeardBack, slotcolour::LightGreen);
    EXPECT_EQ(h.st.slots[3].lastHeardBack, slotcolour::LightGreen);
    EXPECT_EQ(h.st.slots[1].lastHeard, "12/7/2026 9:03:00 AM");
    EXPECT_EQ(h.st.slots[2].location, "44.0600, -123.0868");
    EXPECT_EQ(h.st.report.stationtracked, "YES");
    EXPECT_EQ(h.st.rec.mxfstring, R"(44.0600, -123.0868, "B:09:04", "12/7/2026 09:04", "RT:K1ABC-9", ff, 40)");
    EXPECT_EQ(h.st.rec.spotfirestring, "11111111\t12/07/2026 09:04:00.000\t2\t-123.08680\t44.06000\t-400\tCG");
    // A minute later with a 1-minute limit, the tracked slots are overdue; slot 3 is not tracked.
    h.st.tracking.overdue = "1";
    h.clock.t = {2026, 12, 7, 9, 5, 0};
    h.timer2.setEnabled(true);
    h.timer2.onTimeout = [&] { h.monitor.Timer2_Timer(); };
    h.timer2.fire();
    EXPECT_EQ(h.st.slots[1].lastHeardBack, slotcolour::Yellow);
    EXPECT_EQ(h.st.slots[2].lastHeardBack, slotcolour::Yellow);
    EXPECT_EQ(h.st.slots[3].lastHeardBack, slotcolour::LightGreen);
    EXPECT_EQ(h.errors(), "");
}

} // namespace
} // namespace qv::test
