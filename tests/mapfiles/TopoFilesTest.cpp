// TOPO! and SPOTFIRES: one waypoint name per minute and slot, the slot-ordered
// "now" file, the callsign "now" file and the Oregon-only fire file.
#include "mapfiles/TopoFiles.h"
#include "MapFilesRig.h"

#include <gtest/gtest.h>

#include <filesystem>

using namespace qv;
using namespace qv::test;

namespace {
void topoOn(Rig& rig) {
    rig.st.map.menucreatenatgeotopofiles = true;
    rig.st.map.menucreatenatgeotopoNowCallfile = true;
}
} // namespace

TEST(TopoFiles, SameMinuteNameIsNotAddedButNowFileShowsTheNewReport) {
    Rig rig;
    topoOn(rig);
    rig.st.sw.soundon = true;
    rig.slotReport(1, "N0CALL", "45.1", "-122.1", 9, 5);
    rig.writer.savefiles();
    const std::string first = rig.st.rec.ngtopostring;
    rig.slotReport(1, "N0CALL", "45.2", "-122.2", 9, 5);
    rig.writer.savefiles();
    EXPECT_EQ(rig.lines("quorvelNGTOPO.txt"), std::vector<std::string>{first});
    EXPECT_EQ(rig.lines("quorvelNGTOPOnow.txt"), std::vector<std::string>{rig.st.rec.ngtopostring});
    EXPECT_NE(std::find(rig.ui.shown.begin(), rig.ui.shown.end(), "NGTOPO....DUPLICATE TIMESTAMP WAYPOINT NAME"),
              rig.ui.shown.end());
    EXPECT_EQ(rig.ui.beeps, 1);
    EXPECT_EQ(rig.errors(), "");
}

TEST(TopoFiles, SameHourAndMinuteOnALaterDayIsRejectedToo) {
    Rig rig;
    topoOn(rig);
    rig.tmp.write("quorvelNGTOPO.txt", "45.1, -122.1, A-0905, 12/6/2026 0905, N0CALL\r\n");
    rig.slotReport(1, "N0CALL", "45.2", "-122.2", 9, 5);
    rig.writer.savefiles();
    EXPECT_EQ(rig.lines("quorvelNGTOPO.txt").size(), 1u);
    EXPECT_EQ(rig.ui.beeps, 0); // sound off
}

TEST(TopoFiles, NamesFollowTheFileOnDisk) {
    Rig rig;
    topoOn(rig);
    rig.slotReport(1, "N0CALL", "45.1", "-122.1", 9, 5);
    rig.writer.savefiles();
    rig.writer.savefiles();
    ASSERT_EQ(rig.lines("quorvelNGTOPO.txt").size(), 1u);
    // Hand edit: the line goes, so the name is free again.
    rig.tmp.write("quorvelNGTOPO.txt", "45.0, -122.0, B-0800, 12/7/2026 0800, OTHER\r\n");
    rig.writer.savefiles();
    EXPECT_EQ(rig.lines("quorvelNGTOPO.txt").size(), 2u);
    // Deleted: the next report starts the file again.
    std::filesystem::remove(rig.tmp.path() / "quorvelNGTOPO.txt");
    rig.writer.savefiles();
    EXPECT_EQ(rig.lines("quorvelNGTOPO.txt").size(), 1u);
    // A name added behind our back is seen as well.
    rig.slotReport(1, "N0CALL", "45.1", "-122.1", 9, 7);
    WorkDir(rig.tmp.path()).appendLine("quorvelNGTOPO.txt", "45.0, -122.0, A-0907, 12/7/2026 0907, N0CALL");
    rig.writer.savefiles();
    EXPECT_EQ(rig.lines("quorvelNGTOPO.txt").size(), 2u);
    // Other minutes keep coming in.
    for (int mm = 10; mm < 20; ++mm) {
        rig.slotReport(1, "N0CALL", "45.1", "-122.1", 9, mm);
        rig.writer.savefiles();
    }
    EXPECT_EQ(rig.lines("quorvelNGTOPO.txt").size(), 12u);
}

TEST(TopoFiles, WaypointNameIsTheThirdFieldWithoutSpaces) {
    struct Case {
        const char* line;
        const char* name;
    } cases[] = {
        {"45.1, -122.1, A-0905, 12/7/2026 0905, N0CALL", "A-0905"},
        {"45.1,-122.1,Engine 7-0905,x", "Engine 7-0905"},
        {"44.09082, -121.26709, BOGUS, 9/09/99 0000, This is a Sample file for TOPO! config. ZZ9ZZ", "BOGUS"},
        {"45.1, -122.1, A-0905", "A-0905"},
        {"45.1, -122.1", ""},
        {"45.1, -122.1,   , x", ""},
        {"", ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(mapfile::TopoNameIndex::nameOf(c.line), c.name) << c.line;
}

TEST(TopoFiles, NowFileHoldsOneLinePerSlotInSlotOrder) {
    for (bool cFirst : {false, true}) {
        Rig rig;
        topoOn(rig);
        auto reportA = [&] {
            rig.slotReport(1, "N0CALL", "45.1", "-122.1", 9, 5);
            rig.writer.savefiles();
        };
        auto reportC = [&] {
            rig.slotReport(3, "N0CALL-9", "45.3", "-122.3", 9, 6);
            rig.writer.savefiles();
        };
        if (cFirst) {
            reportC();
            reportA();
        } else {
            reportA();
            reportC();
        }
        const auto now = rig.lines("quorvelNGTOPOnow.txt");
        ASSERT_EQ(now.size(), 2u);
        EXPECT_NE(now[0].find(", A-0905,"), std::string::npos);
        EXPECT_NE(now[1].find(", C-0906,"), std::string::npos);
    }
}

TEST(TopoFiles, SlotLinesTable) {
    const std::string a = "45.1, -122.1, A-0905, 12/7/2026 0905, N0CALL";
    const std::string b = "45.2, -122.2, B-0905, 12/7/2026 0905, N1CALL";
    const std::string c = "45.3, -122.3, C-0905, 12/7/2026 0905, N2CALL";
    const std::string a2 = "45.4, -122.4, A-0906, 12/7/2026 0906, N0CALL";
    const std::string tacB = "45.5, -122.5, Engine 7-0907, 12/7/2026 0907, N1CALL";
    const std::string tacDefaultA = "45.6, -122.6, TacA-0908, 12/7/2026 0908, N0CALL";
    const std::string e1 = "45.3, -122.3, Engine 1-0909, 12/7/2026 0909, N2CALL";
    const std::string e12 = "45.4, -122.4, Engine 12-0909, 12/7/2026 0909, N3CALL";
    const std::string f = "45.6, -122.6, F-0905, 12/7/2026 0905, N5CALL";
    const std::string tac7 = "45.5, -122.5, 7-0910, 12/7/2026 0910, N4CALL";
    struct Case {
        const char* name;
        std::vector<std::string> old;
        std::string record;
        std::vector<std::string> want;
        int unmatched;
    } cases[] = {
        {"new record replaces its slot", {a, b, c}, a2, {a2, b, c}, 0},
        {"slot order whatever the file order", {c, b}, a, {a, b, c}, 0},
        {"empty tactical names keep later slots", {b, c}, a2, {a2, b, c}, 0},
        {"tactical name identifies its slot", {a, b}, tacB, {a, tacB}, 0},
        {"stand-in name of an unnamed slot", {b, tacB}, tacDefaultA, {tacDefaultA, tacB}, 0},
        {"hand-edited line is dropped", {a, "garbage"}, b, {a, b}, 1},
        {"empty lines are dropped quietly", {a, ""}, b, {a, b}, 0},
        // The whole waypoint name decides, never a piece of the line.
        {"a longer name is another slot's", {e12}, e1, {e1, e12}, 0},
        {"a shorter name is another slot's", {e1}, e12, {e1, e12}, 0},
        {"a name held by the date", {f}, tac7, {tac7, f}, 0},
        {"a name held by the callsign", {"45.1, -122.1, X-0905, 12/7/2026 0905, ENGINE 1"}, e1, {e1}, 1},
        {"the time must follow the name", {"45.1, -122.1, C-09O5, 12/7/2026 0905, N2CALL"}, b, {b}, 1},
    };
    for (const auto& cs : cases) {
        SCOPED_TRACE(cs.name);
        SlotState slots;
        for (int n = 1; n <= 8; ++n)
            slots[n].Teamname = "";
        slots[2].Teamname = "Engine 7";
        slots[3].Teamname = "Engine 1";
        slots[4].Teamname = "Engine 12";
        slots[5].Teamname = "7";
        int unmatched = -1;
        EXPECT_EQ(mapfile::TopoFiles::slotLines(cs.old, cs.record, slots, unmatched), cs.want);
        EXPECT_EQ(unmatched, cs.unmatched);
    }
}

TEST(TopoFiles, HandEditedLineIsDroppedWithABeep) {
    Rig rig;
    topoOn(rig);
    rig.tmp.write("quorvelNGTOPOnow.txt", "not a TOPO line\r\n");
    rig.slotReport(1, "N0CALL", "45.1", "-122.1");
    rig.writer.savefiles();
    EXPECT_EQ(rig.lines("quorvelNGTOPOnow.txt"), std::vector<std::string>{rig.st.rec.ngtopostring});
    EXPECT_EQ(rig.ui.beeps, 1);
}

// A name is a duplicate only when the whole waypoint name is already there.
TEST(TopoFiles, DuplicateNamesAreWholeNames) {
    struct Case {
        const char* existing;
        const char* tactical;
        bool tacticalInForce;
        bool appended;
    } cases[] = {
        {"A-0905", "", true, true}, // TacA-0905 holds it
        {"A-0905", "", false, false},
        {"ngine 7-0905", "Engine 7", true, true},
        {"engine 7-0905", "Engine 7", true, false},
        {"Engine 7-09", "Engine 7", true, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.existing);
        Rig rig;
        topoOn(rig);
        rig.tmp.write("quorvelNGTOPO.txt", std::string("45.0, -122.0, ") + c.existing + ", 12/7/2026 0905, OTHER\r\n");
        rig.st.slots[1].CallsignID = "N0CALL";
        rig.st.slots[1].Teamname = c.tactical;
        rig.report("N0CALL", 1, "45.1", "-122.1", 9, 5, c.tacticalInForce);
        rig.writer.savefiles();
        EXPECT_EQ(rig.lines("quorvelNGTOPO.txt").size(), c.appended ? 2u : 1u);
    }
}

TEST(TopoFiles, CallsignNowFileOneLinePerStationNewestFirst) {
    Rig rig;
    rig.st.map.menucreatenatgeotopoNowCallfile = true;
    rig.slotReport(2, "N0CALL-9", "45.1", "-122.1");
    rig.writer.savefiles();
    const std::string nine = rig.st.rec.ngtopocallstring;
    rig.slotReport(3, "K7ABC", "45.2", "-122.2");
    rig.writer.savefiles();
    const std::string k7 = rig.st.rec.ngtopocallstring;
    rig.slotReport(1, "N0CALL", "45.3", "-122.3");
    rig.writer.savefiles();
    // N0CALL-9 is another station: its line stays.
    EXPECT_EQ(rig.lines("quorvelNGTOPOnowCall.txt"), (std::vector<std::string>{rig.st.rec.ngtopocallstring, k7, nine}));
    EXPECT_EQ(rig.lines("quorvelNGTOPOnowCall.tmp"), (std::vector<std::string>{k7, nine}));
}

TEST(TopoFiles, SpotfiresOnlyInsideOregon) {
    struct Case {
        const char* lat;
        const char* lon;
        bool written;
    } cases[] = {
        {"45.5", "-122.6", true},  {"42", "-122.6", true},    {"46.23", "-116.4", true},
        {"47.0", "-122.6", false}, {"45.5", "-110.0", false}, {"41.99", "-122.6", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.lat) + "," + c.lon);
        Rig rig;
        rig.st.map.ODFcheckbox = true;
        rig.slotReport(1, "N0CALL", c.lat, c.lon);
        rig.writer.savefiles();
        EXPECT_EQ(rig.has("quorvel.olt"), c.written);
        if (c.written) {
            EXPECT_EQ(rig.file("quorvel.olt"), rig.st.rec.spotfirestring + "\r\n");
        }
    }
}

TEST(TopoFiles, CaptureAllWritesNoTopoWaypointFiles) {
    Rig rig;
    topoOn(rig);
    rig.st.map.ODFcheckbox = true;
    rig.st.map.captureallON = true;
    rig.slotReport(1, "N0CALL", "45.5", "-122.6");
    rig.writer.savefiles();
    EXPECT_FALSE(rig.has("quorvelNGTOPO.txt"));
    EXPECT_FALSE(rig.has("quorvelNGTOPOnow.txt"));
    EXPECT_TRUE(rig.has("quorvelNGTOPOnowCall.txt"));
    EXPECT_TRUE(rig.has("quorvel.olt"));
}
