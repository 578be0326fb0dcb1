// Live OziExplorer posting against the recording library, and the Street
// Atlas station finder against the fake desktop.
#include "PostingRig.h"

#include <gtest/gtest.h>

using namespace qv;

namespace {

void report(test::PostingRig& rig, const char* name) {
    rig.st.report.trackname = name;
    rig.st.report.latitude = "44.0583";
    rig.st.report.longitude = "-121.3153";
    rig.st.report.incomingdata = "K7ABC-9>APRS:=4403.50N/12118.92W>";
    rig.st.rec.ozicolor = "255";
}

} // namespace

TEST(OziLive, CallsInOrderWithTheirArguments) {
    test::PostingRig rig;
    rig.st.slots[2].CallsignID = "k7abc-9";
    report(rig, "K7ABC-9");
    rig.oziLive.oziLivePost();
    EXPECT_EQ(rig.ozi.calls, (std::vector<std::string>{
                                 "oziDeleteWpByName(K7ABC-9)",
                                 "oziCreateTrackPoint(2, 0, 44.0583, -121.315, -777, -1)",
                                 "oziCreateWP(K7ABC-9, 0, 44.0583, -121.315, 0, -1, 4, 0, 0, 0, 255, 0, "
                                 "K7ABC-9>APRS:=4403.50N/12118.92W>, 10, 0, 17)",
                                 "oziRefreshMap()",
                                 "oziSaveWPfile(quorvelOziBackup.wpt)",
                             }));
    EXPECT_EQ(rig.tmp.read("quorvel.err"), "");
}

TEST(OziLive, TrackNumberIsTheHighestMatchingSlotOrZero) {
    struct Case {
        std::vector<std::pair<int, const char*>> slots;
        const char* name;
        int track;
    } cases[] = {
        {{{1, "K7ABC"}, {5, "k7abc"}}, "K7ABC", 5},
        {{{3, "K7ABC"}}, "Engine 4", 0},
        {{}, "K7ABC", 0},
        {{{8, "W1AW"}}, "w1aw", 8},
    };
    for (const auto& c : cases) {
        test::PostingRig rig;
        for (const auto& [n, call] : c.slots)
            rig.st.slots[n].CallsignID = call;
        EXPECT_EQ(rig.oziLive.trackNumber(c.name), c.track) << c.name;
    }
}

TEST(OziLive, WithoutTheLibraryTheWaypointFileKeepsEveryPositionAndTheLogOneEntry) {
    test::PostingRig rig;
    rig.ctx.ozi = nullptr; // the platform has no library
    report(rig, "K7ABC-9");
    for (const char* wpt : {"1,K7ABC-9,44.0583,-121.3153", "2,K7ABC-9,44.0590,-121.3160"}) {
        rig.st.rec.wptstring = wpt;
        rig.oziLive.oziLivePost();
    }
    const std::string err = rig.tmp.read("quorvel.err");
    std::size_t entries = 0;
    for (std::size_t p = err.find(" in SUB SAVEFILES "); p != std::string::npos;
         p = err.find(" in SUB SAVEFILES ", p + 1))
        ++entries;
    EXPECT_EQ(entries, 1u) << err;
    EXPECT_NE(err.find("ERROR  48Error in loading DLL in SUB SAVEFILES "), std::string::npos);
    const std::string wpt = rig.tmp.read("quorvel.wpt");
    EXPECT_EQ(wpt.find("OziExplorer Waypoint File Version 1.1"), 0u) << wpt;
    EXPECT_NE(wpt.find("\r\n1,K7ABC-9,44.0583,-121.3153\r\n2,K7ABC-9,44.0590,-121.3160\r\n"), std::string::npos) << wpt;

    // A position the library cannot take skips only the calls that carry it.
    test::PostingRig bad;
    report(bad, "K7ABC-9");
    bad.st.report.latitude = "";
    bad.oziLive.oziLivePost();
    EXPECT_EQ(bad.ozi.calls.size(), 3u);
    EXPECT_EQ(bad.ozi.calls.back(), "oziSaveWPfile(quorvelOziBackup.wpt)");
}

TEST(FindStation, FindsTheStationInAnyCaseAndTypesItsPosition) {
    for (const char* typed : {"k7abc-9", "K7ABC-9"}) {
        test::PostingRig rig;
        rig.st.map.importPathStreetAtlas = "/maps/QUORVELSA5NOW.TXT";
        rig.tmp.write("quorvelSA5now.txt", "44.1,-121.2,W1AW,a,b,c\r\n44.0583,-121.3153,K7ABC-9,\"x, y\",b,c\r\n");
        rig.windows.windows = {{"untitled"}};
        rig.ui.inputs = {typed};
        rig.find.findstaSA5_Click();
        EXPECT_EQ(rig.windows.log.front(), "activate untitled");
        EXPECT_EQ(rig.windows.keys(),
                  (std::vector<std::string>{"[ALT S ALT] L", "4 4 . 0 5 8 3", "{TAB}", "- 1 2 1 . 3 1 5 3", "{ENTER}"}))
            << typed;
        EXPECT_EQ(rig.st.marks.commTag, kStartComm);
    }
}

TEST(FindStation, RefusesOtherFilesUnknownStationsAndAMissingStreetAtlas) {
    test::PostingRig rig;
    rig.st.map.importPathStreetAtlas = "/maps/quorvelSA5.txt";
    rig.find.findstaSA5_Click();
    EXPECT_EQ(rig.ui.messages.back().text, "The FIND option is only available if you are posting the Street Atlas  "
                                           "quorvelSA5now.txt  data file to your map.");
    EXPECT_TRUE(rig.ui.prompts.empty());

    rig.st.map.importPathStreetAtlas = "/maps/quorvelSA5now.txt";
    rig.tmp.write("quorvelSA5now.txt", "44.1,-121.2,W1AW,a,b,c\r\n");
    rig.ui.inputs = {"N0NE"};
    rig.find.findstaSA5_Click();
    EXPECT_EQ(rig.ui.messages.back().text, "Station Callsign NOT FOUND");

    rig.ui.inputs = {"w1aw"};
    rig.find.findstaSA5_Click(); // no "untitled" window
    EXPECT_EQ(rig.st.marks.PGMmessage, "<< Warning >> STREET ATLAS NOT LOADED!! Can't Import");
    EXPECT_EQ(rig.ui.beeps, 1);
    EXPECT_TRUE(rig.windows.keys().empty());
}
