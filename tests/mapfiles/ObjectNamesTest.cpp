// Objects and items are stations named by their senders, with blanks in their
// names and names that begin like one another ("AID 1", "AID 12"). Through
// the whole application into every map-file family, the slot table and the
// configuration: each keeps its own slot, track file and lines; a killed one
// and one whose name would break a record write nothing. The files must come
// out byte for byte as the golden copies under tests/data/mapfiles/objects.
// QUORVEL_UPDATE_GOLDEN=1 rewrites them after a deliberate change.
#include "shell/App.h"
#include "support/Fakes.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

using namespace qv;
using namespace qv::test;

namespace {

const char* kFiles[] = {
    "quorvel.txf",       "quorvel.rxf",       "quorvel.mxf",          "quorvelhistory.mxf",       "quorvelhistory.rxf",
    "quorvel.wpt",       "quorvelID1.plt",    "quorvelID2.plt",       "quorvelID3.plt",           "quorvelSA5.txt",
    "quorvelSA5now.txt", "quorvelNGTOPO.txt", "quorvelNGTOPOnow.txt", "quorvelNGTOPOnowCall.txt", "quorvel.olt"};

// Oregon positions, so that the SPOTFIRES file is written too.
const char* kFeed[] = {
    "KD7ODF>APRS,WIDE2-1:;AID 1    *071205z4403.50N/12118.92WaFirst aid",
    "KD7ODF>APRS,WIDE2-1:;AID 12   *071206z4404.10N/12119.40WaSecond aid",
    "W7ENG-9>APRS:!/85=x/le(>7P[Engine 3", // compressed, a station of its own
    "KD7ODF>APRS,WIDE2-1:)AID 1!4403.60N/12118.90WaMoved",
    "KD7ODF>APRS,WIDE2-1:;AID 12   _071210z4404.10N/12119.40Wa", // killed
    "KD7ODF>APRS,WIDE2-1:;AID,3    *071211z4404.20N/12119.50Wa", // a comma would split every record
    "KD7ODF>APRS,WIDE2-1:;AID 12   *071212z4404.30N/12119.60Wa!W55!",
};

std::string slurp(const std::filesystem::path& p) {
    std::ifstream in(p, std::ios::binary);
    std::ostringstream ss;
    ss << in.rdbuf();
    return ss.str();
}

struct Desk {
    TempDir tmp;
    FakeClock clock;
    FakeUi ui;
    App app{tmp.path(), ui, clock};

    Desk() {
        app.st.tracking.autoassigncheckbox = true;
        for (int n = 1; n <= 4; ++n)
            app.st.slots[n].track = true;
        auto& m = app.st.map;
        m.menucreatemaptechfiles = m.menucreatestreetatlasfiles = m.menucreatenatgeotopofiles = true;
        m.menucreatenatgeotopoNowCallfile = m.ODFcheckbox = true;
    }
    void feed(const char* line, int minute) {
        clock.t = {2026, 12, 7, 12, minute, 0};
        app.st.report.dataline = app.st.report.incomingdata = line;
        app.inspectdataline();
        app.st.report.dataline.clear();
    }
    std::vector<std::string> lines(const char* f) const { return app.dir.readLines(f); }
};

} // namespace

TEST(ObjectNames, NamesWithBlanksReachEveryFamilyAsStationsOfTheirOwn) {
    Desk s;
    int minute = 0;
    for (const char* line : kFeed) {
        const std::string was = s.tmp.read("quorvel.mxf");
        s.feed(line, minute++);
        const std::string l = line;
        if (l.find("_071210z") != std::string::npos || l.find("AID,3") != std::string::npos) {
            EXPECT_EQ(s.tmp.read("quorvel.mxf"), was) << "nothing written for " << line;
        }
    }

    // The slot table and the configuration hold the names as sent.
    EXPECT_EQ(s.app.st.slots[1].CallsignID, "AID 1");
    EXPECT_EQ(s.app.st.slots[2].CallsignID, "AID 12");
    EXPECT_EQ(s.app.st.slots[3].CallsignID, "W7ENG-9");
    EXPECT_EQ(s.app.st.slots[4].CallsignID, "CALL ID-4");
    const auto cfg = s.lines("quorvel.cfg");
    EXPECT_EQ(cfg[4], "AID 1");
    EXPECT_EQ(cfg[5], "AID 12");

    // AID 1's second report continues its own track, not AID 12's.
    EXPECT_EQ(s.lines("quorvelID1.plt").size(), 6u + 2u);
    EXPECT_EQ(s.lines("quorvelID1.plt")[4], "0,2,16711680,AID 1              ,0,0,2,8421376");
    EXPECT_EQ(s.lines("quorvelID2.plt").size(), 6u + 2u);
    EXPECT_EQ(s.lines("quorvelID2.plt")[4], "0,2,255,AID 12              ,0,0,2,8421376");
    // One line per station in the "now" files: AID 1 does not take AID 12's.
    EXPECT_EQ(s.lines("quorvelSA5now.txt").size(), 3u);
    EXPECT_EQ(s.lines("quorvelNGTOPOnowCall.txt").size(), 3u);
    // The refused name is told of; nothing else went wrong.
    const std::string errors = s.tmp.read(kErrorFile);
    EXPECT_NE(errors.find("Invalid station ID, line dropped"), std::string::npos);
    EXPECT_NE(errors.find(";AID,3"), std::string::npos);
    EXPECT_EQ(errors.find("ERROR", errors.find("ERROR") + 1), std::string::npos) << errors;

    const auto golden = std::filesystem::path(QUORVEL_TEST_DATA) / "mapfiles" / "objects";
    const bool update = std::getenv("QUORVEL_UPDATE_GOLDEN") != nullptr;
    if (update) std::filesystem::create_directories(golden);
    for (const char* f : kFiles) {
        SCOPED_TRACE(f);
        const std::string got = s.tmp.read(f);
        ASSERT_FALSE(got.empty());
        if (update)
            std::ofstream(golden / f, std::ios::binary) << got;
        else
            EXPECT_EQ(got, slurp(golden / f));
    }
}

TEST(ObjectNames, SlotNamesWithBlanksSurviveTheConfiguration) {
    TempDir tmp;
    FakeClock clock;
    FakeUi ui;
    {
        App app(tmp.path(), ui, clock);
        app.st.slots[2].CallsignID = "aid 12";
        app.st.slots[2].track = true;
        app.st.slots[7].CallsignID = "SPOT FIRE";
        app.st.slots[7].Teamname = "Crew 3";
        app.savesettings();
    }
    App app(tmp.path(), ui, clock);
    app.settings.getsettings();
    EXPECT_EQ(app.st.slots[2].CallsignID, "AID 12");
    EXPECT_EQ(app.st.slots[7].CallsignID, "SPOT FIRE");
    EXPECT_EQ(app.st.slots[7].Teamname, "Crew 3");
    // Matching ignores letter case, as for callsigns.
    app.st.report.dataline = "KD7ODF>APRS:;aid 12   *071206z4404.10N/12119.40Wa";
    app.inspectdataline();
    EXPECT_EQ(app.st.report.stationtracked, "YES");
}

// Capture-all rotates objects through the slots like any station; killed ones
// never take a slot.
TEST(ObjectNames, CaptureAllTakesObjectsAsStations) {
    Desk s;
    s.app.st.map.captureallON = true;
    s.app.st.tracking.CheckMapTacticalNames.enabled = false;
    int minute = 0;
    for (const char* line : kFeed)
        s.feed(line, minute++);
    const auto now = s.lines("quorvelSA5now.txt");
    ASSERT_EQ(now.size(), 3u) << s.tmp.read("quorvelSA5now.txt");
    EXPECT_NE(now[0].find(", AID 12, "), std::string::npos) << now[0];
    EXPECT_NE(now[1].find(", AID 1, "), std::string::npos) << now[1];
    EXPECT_NE(now[2].find(", W7ENG-9, "), std::string::npos) << now[2];
    for (int n = 1; n <= 8; ++n)
        EXPECT_NE(s.app.st.slots[n].CallsignID, "AID,3");
}
