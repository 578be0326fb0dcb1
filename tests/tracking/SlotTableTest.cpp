// Matching reports to slots, auto-assignment and the user's edits of the table.
#include "support/TrackingHarness.h"
#include "tracking/SlotMatch.h"

#include <gtest/gtest.h>

#include <array>

namespace qv::test {
namespace {

using Ids = std::array<const char*, 8>;

void fill(TrackingHarness& h, const Ids& ids) {
    for (int n = 1; n <= 8; ++n)
        h.st.slots[n].CallsignID = ids[static_cast<std::size_t>(n - 1)];
}

Ids idsOf(const TrackingHarness& h) {
    Ids out{};
    for (int n = 1; n <= 8; ++n)
        out[static_cast<std::size_t>(n - 1)] = h.st.slots[n].CallsignID.c_str();
    return out;
}

const Ids kDesign = {"CALL ID-1", "CALL ID-2", "CALL ID-3", "CALL ID-4",
                     "CALL ID-5", "CALL ID-6", "CALL ID-7", "CALL ID-8"};
const Ids kFull = {"K1A", "K1B", "K1C", "K1D", "K1E", "K1F", "K1G", "K1H"};

struct AssignCase {
    const char* name;
    Ids before;
    bool autoOn;
    const char* call;
    int expectSlot; // slot that ends up holding the call; 0 = none
    Ids after;
};

const AssignCase kAssign[] = {
    {"FirstFreeSlot",
     kDesign,
     true,
     "N0CALL",
     1,
     {"N0CALL", "CALL ID-2", "CALL ID-3", "CALL ID-4", "CALL ID-5", "CALL ID-6", "CALL ID-7", "CALL ID-8"}},
    {"LowerCaseMatchesUpper",
     {"K1A", "N0CALL", "", "", "", "", "", ""},
     true,
     "n0call",
     0,
     {"K1A", "N0CALL", "", "", "", "", "", ""}},
    {"SuffixIsAnotherStation",
     {"N0CALL", "CALL ID-2", "", "", "", "", "", ""},
     true,
     "N0CALL-9",
     2,
     {"N0CALL", "N0CALL-9", "", "", "", "", "", ""}},
    {"OtherSlotsPlaceholderIsNotFree",
     {"K1A", "CALL ID-3", "K1C", "K1D", "call id-5", "K1F", "K1G", "K1H"},
     true,
     "W7NEW",
     5,
     {"K1A", "CALL ID-3", "K1C", "K1D", "W7NEW", "K1F", "K1G", "K1H"}},
    {"FullTableUnchanged", kFull, true, "W7NEW", 0, kFull},
    {"AutoOff", kDesign, false, "N0CALL", 0, kDesign},
};

class Autoassign : public ::testing::TestWithParam<AssignCase> {};

TEST_P(Autoassign, PlacesNewStations) {
    const AssignCase& c = GetParam();
    TrackingHarness h;
    fill(h, c.before);
    h.st.tracking.autoassigncheckbox = c.autoOn;
    h.st.report.stationcallsign = c.call;
    h.autoassign();
    EXPECT_EQ(h.st.report.trackname, c.call);
    EXPECT_EQ(h.st.marks.PGMmessage, "AssigningCALLID");
    for (int n = 1; n <= 8; ++n)
        EXPECT_EQ(h.st.slots[n].CallsignID, c.after[static_cast<std::size_t>(n - 1)]) << n;
    if (c.expectSlot != 0) {
        EXPECT_EQ(h.st.slots[c.expectSlot].location, "(latitude/longitude)");
        EXPECT_EQ(h.st.slots[c.expectSlot].lastHeard, "0");
        EXPECT_EQ(h.saves, 1);
    } else {
        EXPECT_EQ(h.saves, 0);
    }
}

INSTANTIATE_TEST_SUITE_P(Slots, Autoassign, ::testing::ValuesIn(kAssign),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(Autoassign, BeepsOnlyForUnknownStationWithSoundOn) {
    struct Case {
        Ids ids;
        bool sound;
        const char* call;
        int beeps;
    };
    const Case cases[] = {
        {kFull, true, "W7NEW", 1}, {kFull, false, "W7NEW", 0}, {kFull, true, "k1c", 0}, {kDesign, true, "W7NEW", 1}};
    for (const Case& c : cases) {
        TrackingHarness h;
        fill(h, c.ids);
        h.st.tracking.autoassigncheckbox = true;
        h.st.sw.soundon = c.sound;
        h.st.report.stationcallsign = c.call;
        h.autoassign();
        EXPECT_EQ(h.ui.beeps, c.beeps) << c.call;
    }
}

TEST(Autoassign, EmptyCallsignKeepsTracknameAndTable) {
    TrackingHarness h;
    h.st.tracking.autoassigncheckbox = true;
    h.st.report.trackname = "OLD";
    h.st.report.stationcallsign = "";
    h.autoassign();
    EXPECT_EQ(h.st.report.trackname, "OLD");
    EXPECT_EQ(idsOf(h)[0], std::string("CALL ID-1"));
}

TEST(Autoassign, StationInUntrackedSlotIsNotAssignedAgain) {
    TrackingHarness h;
    h.st.tracking.autoassigncheckbox = true;
    h.table.setCallsignID(3, "N0CALL");
    h.st.report.stationcallsign = "N0CALL";
    h.autoassign();
    EXPECT_EQ(h.st.slots[1].CallsignID, "CALL ID-1");
    EXPECT_EQ(matchSlot(h.st.slots, "N0CALL"), 3);
}

TEST(Autoassign, AfterClearAllNextStationGoesToSlot1) {
    TrackingHarness h;
    fill(h, kFull);
    h.table.clearstationsmenu_Click();
    EXPECT_EQ(h.st.marks.PGMmessage, "Clearing all Callsigns");
    EXPECT_EQ(h.saves, 8);
    h.st.tracking.autoassigncheckbox = true;
    h.st.report.stationcallsign = "W7NEW";
    h.autoassign();
    EXPECT_EQ(h.st.slots[1].CallsignID, "W7NEW");
    EXPECT_EQ(h.st.slots[2].CallsignID, "");
}

TEST(SlotMatch, FirstOfDuplicatesWinsAndTrackedScanPassesSwitchedOffSlots) {
    TrackingHarness h;
    h.st.slots[2].CallsignID = "N0CALL";
    h.st.slots[6].CallsignID = "n0call";
    EXPECT_EQ(matchSlot(h.st.slots, "N0Call"), 2);
    EXPECT_EQ(matchTrackedSlot(h.st.slots, "N0CALL"), 0);
    h.st.slots[6].track = true;
    EXPECT_EQ(matchTrackedSlot(h.st.slots, "N0CALL"), 6);
    EXPECT_EQ(matchSlot(h.st.slots, " N0CALL"), 0);
    EXPECT_EQ(matchSlot(h.st.slots, "N0CALL-9"), 0);
}

TEST(SlotTable, ChangeRuleResetsSlotAndSavesOutsideCaptureAll) {
    TrackingHarness h;
    Slot& s = h.st.slots[4];
    s.location = "45.5, -122.6";
    s.lastHeard = "12/7/2026 9:05:42 AM";
    // Typing runs the rule after every keystroke.
    for (const char* typed : {"N", "N0", "N0C"})
        h.table.setCallsignID(4, typed);
    EXPECT_EQ(s.lastHeard, "0");
    EXPECT_EQ(s.location, "(latitude/longitude)");
    EXPECT_EQ(h.saves, 3);
    h.table.setCallsignID(4, "N0C"); // no change, no rule
    EXPECT_EQ(h.saves, 3);
    s.location = "45.5, -122.6";
    h.table.setCallsignID(4, "n0c"); // another letter case is a change
    EXPECT_EQ(s.location, "(latitude/longitude)");
    EXPECT_EQ(h.saves, 4);
    h.st.map.captureallON = true;
    h.table.CallsignID_DblClick(4);
    EXPECT_EQ(s.CallsignID, "");
    EXPECT_EQ(h.saves, 4);
}

TEST(SlotTable, TacticalNamesTrackingSwitchesAndAutoassignSave) {
    TrackingHarness h;
    h.st.tracking.autoassigncheckbox = false;
    h.table.Teamname_dblclick(2);
    EXPECT_EQ(h.st.slots[2].Teamname, "");
    EXPECT_EQ(h.saves, 1);
    h.table.cleartacticalsmenu_Click(); // slot 2 is already empty
    for (int n = 1; n <= 8; ++n)
        EXPECT_EQ(h.st.slots[n].Teamname, "");
    EXPECT_EQ(h.saves, 8);
    h.table.setTrack(5, true);
    h.table.setTrack(5, true);
    h.table.setAutoassign(true);
    EXPECT_TRUE(h.st.slots[5].track);
    EXPECT_EQ(h.saves, 10);
}

TEST(SlotTable, TypedTacticalNamesThatWouldBreakTheRecordsAreMadeSafe) {
    struct Case {
        const char* typed;
        const char* kept;
    } cases[] = {
        {"Engine,7", "Engine 7"},       {"\"Bravo\"", " Bravo "}, {"Tab\tbed", "Tab bed"},
        {"Two\r\nlines", "Two  lines"}, {"Bell\a", "Bell "},      {"Engine 12 / S\xC3\xBC\x64", nullptr},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.typed);
        TrackingHarness h;
        h.table.setTeamname(3, c.typed);
        EXPECT_EQ(h.st.slots[3].Teamname, c.kept ? c.kept : c.typed);
        EXPECT_EQ(h.saves, 1);
        if (c.kept) {
            ASSERT_EQ(h.ui.messages.size(), 1u);
            EXPECT_EQ(h.ui.messages[0].title, kTacticalNoticeTitle);
            EXPECT_EQ(h.ui.messages[0].text.rfind("Tactical name 3 held a comma, a double quote, a tab or a control "
                                                  "character",
                                                  0),
                      0u);
        } else {
            EXPECT_TRUE(h.ui.messages.empty());
        }
    }
}

TEST(SlotTable, TacticalNameNoticeOncePerRunNeverWhileLoading) {
    TrackingHarness h;
    h.st.marks.formTag = kGettingConfig;
    h.table.setMapTacticalNames(true);
    EXPECT_TRUE(h.ui.messages.empty());
    EXPECT_EQ(h.st.tracking.CheckMapTacticalNames.tag, "");
    h.st.marks.formTag = "";
    h.table.setMapTacticalNames(false);
    h.table.setMapTacticalNames(true);
    h.table.setMapTacticalNames(false);
    h.table.setMapTacticalNames(true);
    ASSERT_EQ(h.ui.messages.size(), 1u);
    EXPECT_EQ(h.ui.messages[0].title, "TACTICAL NAME NOTICE");
    EXPECT_EQ(h.ui.messages[0].buttons, Buttons::Ok);
    EXPECT_EQ(h.ui.messages[0].text,
              "You have chosen to use TACTICAL NAMES for your maps.\r It is important that you know the naming "
              "limitations of your map programs when using this option.\rSome mapping programs may have limits on "
              "name length, Charactures used, or other limitations.\rYour tactical names must fit within those "
              "limits, as Quorvel does not check for valid naming.");
    EXPECT_EQ(h.st.tracking.CheckMapTacticalNames.tag, "Nameformatnotice given");
    EXPECT_EQ(h.saves, 5);
}

TEST(SlotTable, NoNoticeWhileDisabled) {
    TrackingHarness h;
    h.st.tracking.CheckMapTacticalNames.enabled = false;
    h.table.setMapTacticalNames(true);
    EXPECT_TRUE(h.ui.messages.empty());
    EXPECT_EQ(h.saves, 1);
}

TEST(SlotTable, LetterDoubleClickShowsLastRawLine) {
    TrackingHarness h;
    h.table.LabelCallidLetter_DblClick(3);
    EXPECT_EQ(h.st.report.incomingdata, kLetterHelp);
    h.track(3, "N0CALL");
    h.report("N0CALL", "45.5", "-122.6");
    h.st.report.incomingdata = "something else";
    h.table.LabelCallidLetter_DblClick(3);
    EXPECT_EQ(h.st.report.incomingdata, "N0CALL>APRS:!45.5/-122.6");
    h.table.LabelCallidLetter_DblClick(9); // no such letter: nothing happens
    EXPECT_EQ(h.st.report.incomingdata, "N0CALL>APRS:!45.5/-122.6");
}

} // namespace
} // namespace qv::test
