// Objects and items are stations named by their senders, with blanks in
// their names and names that begin like one another ("AID 1", "AID 12").
// Through the whole application, every family on, each keeps its own slot,
// track file and lines; a killed one and one whose name would break a record
// write nothing. The files must come out as the golden copies under
// tests/data/mapfiles/objects; QUORVEL_UPDATE_GOLDEN=1 rewrites them.
#include "shell/App.h"
#include "support/Fakes.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

using namespace qv;
using namespace qv::test;

namespace {

// Oregon positions, so that the SPOTFIRES file is written too.
const char* kFeed[] = {
    "KD7ODF>APRS,WIDE2-1:;AID 1    *071205z4403.50N/12118.92WaFirst aid",
    "KD7ODF>APRS,WIDE2-1:;AID 12   *071206z4404.10N/12119.40WaSecond aid",
    "W7ENG-9>APRS:!/85=x/le(>7P[Engine 3", // compressed
    "KD7ODF>APRS,WIDE2-1:)AID 1!4403.60N/12118.90WaMoved",
    "KD7ODF>APRS,WIDE2-1:;AID 12   _071210z4404.10N/12119.40Wa", // killed
    "KD7ODF>APRS,WIDE2-1:;AID,3    *071211z4404.20N/12119.50Wa", // refused
    "KD7ODF>APRS,WIDE2-1:;AID 12   *071212z4404.30N/12119.60Wa!W55!",
};

struct Desk {
    TempDir tmp;
    FakeClock clock;
    FakeUi ui;
    App app{tmp.path(), ui, clock};

    explicit Desk(bool captureAll) {
        app.st.tracking.autoassigncheckbox = true;
        for (int n = 1; n <= 4; ++n)
            app.st.slots[n].track = true;
        auto& m = app.st.map;
        m.captureallON = captureAll;
        m.menucreatemaptechfiles = m.menucreatestreetatlasfiles = m.menucreatenatgeotopofiles = true;
        m.menucreatenatgeotopoNowCallfile = m.ODFcheckbox = true;
        int minute = 0;
        for (const char* line : kFeed) {
            clock.t = {2026, 12, 7, 12, minute++, 0};
            app.st.report.dataline = line;
            app.inspectdataline();
        }
    }
};

} // namespace

TEST(ObjectNames, NamesWithBlanksReachEveryFamilyAsStationsOfTheirOwn) {
    Desk d(false);
    EXPECT_EQ(d.app.st.slots[1].CallsignID, "AID 1");
    EXPECT_EQ(d.app.st.slots[2].CallsignID, "AID 12");
    EXPECT_EQ(d.app.st.slots[4].CallsignID, "CALL ID-4");
    const std::string errors = d.tmp.read(kErrorFile);
    EXPECT_NE(errors.find("Invalid station ID, line dropped"), std::string::npos);
    EXPECT_EQ(errors.find("ERROR", errors.find("ERROR") + 1), std::string::npos) << errors;

    const auto golden = std::filesystem::path(QUORVEL_TEST_DATA) / "mapfiles" / "objects";
    for (const char* f :
         {"quorvel.txf", "quorvel.rxf", "quorvel.mxf", "quorvelhistory.mxf", "quorvelhistory.rxf", "quorvel.wpt",
          "quorvelID1.plt", "quorvelID2.plt", "quorvelID3.plt", "quorvelSA5.txt", "quorvelSA5now.txt",
          "quorvelNGTOPO.txt", "quorvelNGTOPOnow.txt", "quorvelNGTOPOnowCall.txt", "quorvel.olt"}) {
        SCOPED_TRACE(f);
        if (std::getenv("QUORVEL_UPDATE_GOLDEN")) {
            std::filesystem::create_directories(golden);
            std::ofstream(golden / f, std::ios::binary) << d.tmp.read(f);
            continue;
        }
        std::ostringstream want;
        want << std::ifstream(golden / f, std::ios::binary).rdbuf();
        EXPECT_EQ(d.tmp.read(f), want.str());
    }

    // The names come back from the configuration, in capitals, and still match.
    App again(d.tmp.path(), d.ui, d.clock);
    again.settings.getsettings();
    EXPECT_EQ(again.st.slots[2].CallsignID, "AID 12");
    again.st.report.dataline = "KD7ODF>APRS:;aid 12   *071206z4404.10N/12119.40Wa";
    again.inspectdataline();
    EXPECT_EQ(again.st.report.stationtracked, "YES");
}

// Capture-all takes objects like any station; killed ones never take a slot.
TEST(ObjectNames, CaptureAllTakesObjectsAsStations) {
    Desk d(true);
    const auto now = d.app.dir.readLines("quorvelSA5now.txt");
    ASSERT_EQ(now.size(), 3u);
    EXPECT_NE(now[0].find(", AID 12, "), std::string::npos) << now[0];
    EXPECT_NE(now[1].find(", AID 1, "), std::string::npos) << now[1];
    EXPECT_NE(now[2].find(", W7ENG-9, "), std::string::npos) << now[2];
}
