// Capture-all mode through the application: real lines classified, written
// and rotated, with the slot table read back after every report.
#include "tracking/CaptureAll.h"
#include "shell/App.h"
#include "support/Fakes.h"

#include <gtest/gtest.h>

#include <array>
#include <filesystem>
#include <string>
#include <vector>

using namespace qv;
using namespace qv::test;

namespace {

struct CaptureRig {
    TempDir tmp;
    FakeClock clock;
    FakeUi ui;
    App app{tmp.path(), ui, clock};
    int seconds = 0;

    CaptureRig() {
        app.st.map.option = MapOption::Option1ImportSA;
        app.st.map.mapType = kMapStreetAtlas;
    }

    // A position report of `call`; each one a little further north so none is
    // taken for a repeat of the last written line.
    void hear(const std::string& call) {
        ++seconds;
        clock.t = {2026, 12, 7, 10, seconds / 60, seconds % 60};
        const int hundredths = 10 + seconds % 80;
        app.receive.replayLine(call + ">APRS,WIDE2-1:!4531." + std::to_string(hundredths) + "N/12240.59W>rolling");
    }

    // CALL IDs of slots 1..8, "" for a free slot.
    std::vector<std::string> table() const {
        std::vector<std::string> out;
        for (int n = 1; n <= 8; ++n) {
            const std::string& id = app.st.slots[n].CallsignID;
            out.push_back(id == SlotState::placeholder(n) ? "" : id);
        }
        return out;
    }

    bool exists(const std::string& name) const { return std::filesystem::exists(tmp.path() / name); }
};

} // namespace

using Table = std::vector<std::string>;

TEST(CaptureAll, RotationEmptiesTheNextSlotAfterEveryWrittenReport) {
    CaptureRig rig;
    rig.app.st.slots[5].CallsignID = "OLD5";
    rig.app.captureAll.captureallON_Click();
    ASSERT_TRUE(rig.app.st.map.captureallON);
    EXPECT_EQ(rig.table(), Table(8, "")) << "turning the mode on clears the table";
    // Turning the mode on changes no tracking switch: only slot 1 tracks yet.
    rig.app.st.slots[1].track = true;

    // Each distinct station lands in the lowest free slot and, once written,
    // the rotation empties slots 2, 3, ... 8, 1, 2 in turn.
    struct Step {
        const char* call;
        Table after;
        int counter;
    };
    const Step steps[] = {
        {"S1", {"S1", "", "", "", "", "", "", ""}, 1},
        {"S2", {"S1", "S2", "", "", "", "", "", ""}, 2},
        {"S3", {"S1", "S2", "S3", "", "", "", "", ""}, 3},
        {"S4", {"S1", "S2", "S3", "S4", "", "", "", ""}, 4},
        {"S5", {"S1", "S2", "S3", "S4", "S5", "", "", ""}, 5},
        {"S6", {"S1", "S2", "S3", "S4", "S5", "S6", "", ""}, 6},
        {"S7", {"S1", "S2", "S3", "S4", "S5", "S6", "S7", ""}, 7},
        {"S8", {"", "S2", "S3", "S4", "S5", "S6", "S7", "S8"}, 0},
        {"S9", {"S9", "", "S3", "S4", "S5", "S6", "S7", "S8"}, 1},
        {"S10", {"S9", "S10", "", "S4", "S5", "S6", "S7", "S8"}, 2},
    };
    for (const Step& s : steps) {
        SCOPED_TRACE(s.call);
        rig.hear(s.call);
        EXPECT_EQ(rig.app.st.report.stationtracked, "YES");
        EXPECT_EQ(rig.table(), s.after);
        EXPECT_EQ(rig.app.st.tracking.captureslotcounter, s.counter);
        // The first written report switched tracking on everywhere.
        for (int n = 1; n <= 8; ++n)
            EXPECT_TRUE(rig.app.st.slots[n].track) << n;
    }
    EXPECT_EQ(rig.tmp.read("quorvel.err"), "");
}

TEST(CaptureAll, RepeatingStationKeepsItsSlotUntilItsTurn) {
    CaptureRig rig;
    rig.app.captureAll.captureallON_Click();
    rig.app.st.slots[1].track = true;
    rig.hear("RPT");   // slot 1, empties 2
    rig.hear("OTHER"); // slot 2, empties 3
    // RPT again and again: each written report empties the next slot, RPT's own last.
    const Table expected[] = {
        {"RPT", "OTHER", "", "", "", "", "", ""}, // empties 4
        {"RPT", "OTHER", "", "", "", "", "", ""}, // 5
        {"RPT", "OTHER", "", "", "", "", "", ""}, // 6
        {"RPT", "OTHER", "", "", "", "", "", ""}, // 7
        {"RPT", "OTHER", "", "", "", "", "", ""}, // 8
        {"", "OTHER", "", "", "", "", "", ""},    // 1: its own slot
    };
    for (const Table& t : expected) {
        rig.hear("RPT");
        EXPECT_EQ(rig.table(), t);
    }
    // OTHER is written and the rotation's turn has come to its own slot.
    rig.hear("OTHER");
    EXPECT_EQ(rig.table(), Table(8, ""));
    // An emptied station is placed again at its next report.
    rig.hear("RPT");
    EXPECT_EQ(rig.table(), Table({"RPT", "", "", "", "", "", "", ""}));
}

TEST(CaptureAll, FirstReportWrittenOnlyWhenItsSlotTracks) {
    CaptureRig rig;
    rig.app.captureAll.captureallON_Click();
    rig.hear("FIRST");
    EXPECT_EQ(rig.table()[0], "FIRST");
    EXPECT_FALSE(rig.exists("quorvelSA5now.txt"));
    EXPECT_EQ(rig.app.st.tracking.captureslotcounter, 0);
    for (int n = 1; n <= 8; ++n)
        EXPECT_FALSE(rig.app.st.slots[n].track) << n;
}

TEST(CaptureAll, WritesOnlyTheCurrentPositionFiles) {
    CaptureRig rig;
    auto& m = rig.app.st.map;
    m.menucreatemaptechfiles = m.menucreatestreetatlasfiles = m.menucreatenatgeotopofiles = true;
    rig.app.captureAll.captureallON_Click();
    rig.app.st.slots[1].track = true;
    for (const char* call : {"A1", "A2", "A3"})
        rig.hear(call);
    const std::string now = rig.tmp.read("quorvelSA5now.txt");
    for (const char* call : {"A1", "A2", "A3"})
        EXPECT_NE(now.find(call), std::string::npos) << call;
    for (const char* absent : {"quorvel.mxf", "quorvel.txf", "quorvel.rxf", "quorvelhistory.mxf", "quorvelID1.plt",
                               "quorvelSA5.txt", "quorvelNGTOPO.txt", "quorvelNGTOPOnow.txt"})
        EXPECT_FALSE(rig.exists(absent)) << absent;
}

TEST(CaptureAll, SwitchesAndLabelFollowTheMode) {
    CaptureRig rig;
    auto& st = rig.app.st;
    st.tracking.CheckMapTacticalNames.checked = true;
    rig.app.captureAll.captureallON_Click();
    ASSERT_EQ(rig.ui.messages.size(), 1u);
    EXPECT_EQ(rig.ui.messages[0].text, kCaptureAllQuestion);
    EXPECT_EQ(rig.ui.messages[0].title, kCaptureAllTitle);
    EXPECT_EQ(rig.ui.messages[0].buttons, Buttons::OkCancel);
    EXPECT_TRUE(st.map.captureallON);
    EXPECT_FALSE(st.map.captureallOFF);
    EXPECT_TRUE(st.map.CaptureAllLabel);
    EXPECT_FALSE(st.tracking.autoassigncheckboxVisible);
    EXPECT_TRUE(st.tracking.autoassigncheckbox) << "hidden, not changed";
    EXPECT_FALSE(st.tracking.CheckMapTacticalNames.inForce());

    rig.app.captureAll.captureallOFF_Click();
    EXPECT_FALSE(st.map.captureallON);
    EXPECT_TRUE(st.map.captureallOFF);
    EXPECT_FALSE(st.map.CaptureAllLabel);
    EXPECT_TRUE(st.tracking.autoassigncheckboxVisible);
    EXPECT_TRUE(st.tracking.CheckMapTacticalNames.inForce());
}

TEST(CaptureAll, HiddenAutoAssignOffPlacesAndWritesNothing) {
    CaptureRig rig;
    rig.app.st.tracking.autoassigncheckbox = false;
    rig.app.captureAll.captureallON_Click();
    rig.app.st.slots[1].track = true;
    rig.hear("NOBODY");
    EXPECT_EQ(rig.table(), Table(8, ""));
    EXPECT_FALSE(rig.exists("quorvelSA5now.txt"));
}

TEST(CaptureAll, OffKeepsTheTableAndOnAgainResumesTheRotation) {
    CaptureRig rig;
    rig.app.captureAll.captureallON_Click();
    rig.app.st.slots[1].track = true;
    for (const char* call : {"K1", "K2", "K3"})
        rig.hear(call);
    rig.app.captureAll.captureallOFF_Click();
    EXPECT_EQ(rig.table(), Table({"K1", "K2", "K3", "", "", "", "", ""}));
    EXPECT_EQ(rig.app.st.tracking.captureslotcounter, 3);

    rig.app.captureAll.captureallON_Click();
    rig.hear("K4"); // slot 1 of the cleared table; the rotation goes on with slot 5
    EXPECT_EQ(rig.app.st.tracking.captureslotcounter, 4);
    rig.hear("K5"); // slot 2, then slot 6 is emptied
    rig.app.st.slots[6].CallsignID = "PLANTED";
    rig.hear("K4"); // written, empties slot 7
    EXPECT_EQ(rig.table(), Table({"K4", "K5", "", "", "", "PLANTED", "", ""}));
    rig.hear("K4"); // empties slot 8
    rig.hear("K4"); // empties slot 1
    EXPECT_EQ(rig.table(), Table({"", "K5", "", "", "", "PLANTED", "", ""}));
}

TEST(CaptureAll, RefusedOrCancelledLeavesEverything) {
    struct Case {
        MapOption option;
        Answer answer;
        bool refused;
    };
    const Case cases[] = {
        {MapOption::Option2ImportMapTech, Answer::Ok, true},
        {MapOption::Option3ImportMapTechPRO, Answer::Ok, true},
        {MapOption::Option6ImportNatGeoTOPO, Answer::Ok, true},
        {MapOption::Option1ImportSA, Answer::Cancel, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.option));
        CaptureRig rig;
        rig.app.st.map.option = c.option;
        rig.app.st.slots[2].CallsignID = "KEEP2";
        rig.app.st.slots[3].track = true;
        rig.ui.answers.push_back(c.answer);
        rig.app.captureAll.captureallON_Click();
        ASSERT_EQ(rig.ui.messages.size(), 1u);
        EXPECT_EQ(rig.ui.messages[0].text, c.refused ? kCaptureAllRefusal : kCaptureAllQuestion);
        EXPECT_FALSE(rig.app.st.map.captureallON);
        EXPECT_TRUE(rig.app.st.map.captureallOFF);
        EXPECT_FALSE(rig.app.st.map.CaptureAllLabel);
        EXPECT_EQ(rig.app.st.slots[2].CallsignID, "KEEP2");
        EXPECT_TRUE(rig.app.st.slots[3].track);
    }
}
