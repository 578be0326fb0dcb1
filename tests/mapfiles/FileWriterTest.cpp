// The pass as a whole: which families run in which mode, the zero-position
// guard, the duplicate check, the receive-pause mark and failing files.
#include "MapFilesRig.h"
#include "mapfiles/OziFiles.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <map>

using namespace qv;
using namespace qv::test;

namespace {

const std::string kDupe = "Saving Files - Dupe string check";
const std::string kMapTech = "Saving Files - MapTech";
const std::string kOzi = "Saving Files - Ozi";
const std::string kSa = "Saving Files - Street Atlas";
const std::string kSaNow = "Saving Files - Street Atlas NOW";
const std::string kTopo = "Saving Files - NGTOPO";
const std::string kNowCall = "Saving Files - Nat.Geo.TOPO! NowCall";
const std::string kSpot = "Saving Files - SPOTFIRES";
const std::string kGpx = "Saving Files - GPX";
const std::string kKml = "Saving Files - KML";
const std::string kGeo = "Saving Files - GeoJSON";
const std::string kDone = "Saving Files complete";

const char* kAllFiles[] = {"quorvel.txf",        "quorvel.rxf",          "quorvel.mxf",
                           "quorvelhistory.mxf", "quorvelhistory.rxf",   "quorvel.wpt",
                           "quorvelID1.plt",     "quorvelSA5.txt",       "quorvelSA5now.txt",
                           "quorvelNGTOPO.txt",  "quorvelNGTOPOnow.txt", "quorvelNGTOPOnowCall.txt",
                           "quorvel.olt",        "quorvel.gpx",          "quorvel.kml",
                           "quorvellive.kml",    "quorvel.geojson"};

} // namespace

TEST(SaveFiles, StepsByMode) {
    enum Pre { Fresh, Duplicate };
    struct Case {
        const char* name;
        bool captureAll, live, import;
        Pre pre;
        std::vector<std::string> statuses;
        std::vector<std::string> written; // files that got this report's line
        int livePosts;
    } cases[] = {
        {"normal",
         false,
         false,
         false,
         Fresh,
         {kDupe, kMapTech, kOzi, kSa, kSaNow, kTopo, kNowCall, kSpot, kGpx, kKml, kGeo, kDone},
         {"quorvel.txf", "quorvel.rxf", "quorvel.mxf", "quorvelhistory.mxf", "quorvelhistory.rxf", "quorvel.wpt",
          "quorvelID1.plt", "quorvelSA5.txt", "quorvelSA5now.txt", "quorvelNGTOPO.txt", "quorvelNGTOPOnow.txt",
          "quorvelNGTOPOnowCall.txt", "quorvel.olt", "quorvel.gpx", "quorvel.kml", "quorvellive.kml",
          "quorvel.geojson"},
         0},
        {"normal duplicate",
         false,
         false,
         false,
         Duplicate,
         {kDupe, kNowCall, kSpot, kDone},
         {"quorvelNGTOPOnowCall.txt", "quorvel.olt"},
         0},
        {"import replay",
         false,
         false,
         true,
         Fresh,
         {kDupe, kMapTech, kOzi, kSa, kNowCall, kSpot, kGpx, kKml, kGeo, kDone},
         {"quorvel.txf", "quorvel.rxf", "quorvel.mxf", "quorvelhistory.mxf", "quorvelhistory.rxf", "quorvel.wpt",
          "quorvelID1.plt", "quorvelSA5.txt", "quorvelNGTOPOnowCall.txt", "quorvel.olt", "quorvel.gpx", "quorvel.kml",
          "quorvellive.kml", "quorvel.geojson"},
         0},
        {"live Ozi",
         false,
         true,
         false,
         Fresh,
         {kDupe, kMapTech, kSa, kSaNow, kTopo, kNowCall, kSpot, kGpx, kKml, kGeo, kDone},
         {"quorvel.txf", "quorvel.rxf", "quorvel.mxf", "quorvelhistory.mxf", "quorvelhistory.rxf", "quorvelID1.plt",
          "quorvelSA5.txt", "quorvelSA5now.txt", "quorvelNGTOPO.txt", "quorvelNGTOPOnow.txt",
          "quorvelNGTOPOnowCall.txt", "quorvel.olt", "quorvel.gpx", "quorvel.kml", "quorvellive.kml",
          "quorvel.geojson"},
         1},
        {"live Ozi duplicate",
         false,
         true,
         false,
         Duplicate,
         {kDupe, kNowCall, kSpot, kDone},
         {"quorvelNGTOPOnowCall.txt", "quorvel.olt"},
         0},
        {"capture all",
         true,
         false,
         false,
         Fresh,
         {kDupe, kOzi, kSaNow, kNowCall, kSpot, kGpx, kKml, kGeo, kDone},
         {"quorvel.wpt", "quorvelSA5now.txt", "quorvelNGTOPOnowCall.txt", "quorvel.olt", "quorvel.gpx", "quorvel.kml",
          "quorvellive.kml", "quorvel.geojson"},
         0},
        {"capture all duplicate",
         true,
         false,
         false,
         Duplicate,
         {kDupe, kOzi, kSaNow, kNowCall, kSpot, kDone},
         {"quorvelNGTOPOnowCall.txt", "quorvel.olt"}, // the "now" file is rebuilt to the same line
         0},
        {"capture all live",
         true,
         true,
         false,
         Fresh,
         {kDupe, kSaNow, kNowCall, kSpot, kGpx, kKml, kGeo, kDone},
         {"quorvelSA5now.txt", "quorvelNGTOPOnowCall.txt", "quorvel.olt", "quorvel.gpx", "quorvel.kml",
          "quorvellive.kml", "quorvel.geojson"},
         1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Rig rig;
        rig.allFamilies();
        rig.st.map.captureallON = c.captureAll;
        rig.st.map.captureallOFF = !c.captureAll;
        if (c.live) rig.st.map.option = MapOption::Option7LivePostOzi;
        if (c.import) rig.st.map.commandLine = "import";
        rig.slotReport(1, "N0CALL", "45.5123", "-122.6");
        if (c.pre == Duplicate) {
            // The key file's last line already is this report's key record.
            rig.dir.appendLine(c.captureAll ? "quorvelSA5now.txt" : "quorvel.mxf",
                               c.captureAll ? rig.st.rec.sa5string : rig.st.rec.mxfstring);
            rig.dir.appendLines("quorvel.wpt", mapfile::OziFiles::waypointHeader());
        }
        std::map<std::string, std::string> before;
        for (const char* f : kAllFiles)
            before[f] = rig.file(f);

        rig.writer.savefiles();

        EXPECT_EQ(rig.ui.shown, c.statuses);
        EXPECT_EQ(rig.steps.livePosts, c.livePosts);
        EXPECT_EQ(rig.steps.rotations, c.captureAll ? 1 : 0);
        EXPECT_EQ(rig.st.marks.PGMmessage, kDone);
        EXPECT_TRUE(rig.st.marks.exportarchiveVisible);
        EXPECT_EQ(rig.st.map.exportarchiveCaption, "Current Data files available");
        EXPECT_TRUE(rig.st.map.importtomapnowVisible);
        EXPECT_FALSE(rig.st.map.exportarchiveNoticeVisible);
        EXPECT_TRUE(rig.st.map.menucreatestreetatlasfiles);
        for (const char* f : kAllFiles) {
            const bool wrote = std::find(c.written.begin(), c.written.end(), f) != c.written.end();
            EXPECT_EQ(rig.file(f) != before[f], wrote) << f;
        }
        EXPECT_EQ(rig.errors(), "");
    }
}

TEST(SaveFiles, CaptureAllWritesNoMapTechWhateverItsSwitchAndSwitchesStreetAtlasOn) {
    Rig rig;
    rig.st.map.menucreatemaptechfiles = true;
    rig.st.map.captureallON = true;
    rig.slotReport(2, "N0CALL-9", "45.5", "-122.6");
    rig.writer.savefiles();
    EXPECT_FALSE(rig.has("quorvel.mxf"));
    EXPECT_FALSE(rig.has("quorvelID2.plt"));
    EXPECT_TRUE(rig.st.map.menucreatestreetatlasfiles);
    EXPECT_EQ(rig.file("quorvelSA5now.txt"), rig.st.rec.sa5string + "\r\n");
    EXPECT_EQ(rig.steps.commAtRotation, "STOP COMM"); // the rotation runs inside the pass
}

TEST(SaveFiles, ZeroPositionWritesNothingButStillHandsOver) {
    struct Case {
        const char* lat;
        const char* lon;
    } cases[] = {{"0", "-122.6"}, {"45.5", "0"}, {"", ""}, {"0.0000", "-122.6"}, {"N/A", "-122.6"}, {"45.5", "-0"}};
    for (bool captureAll : {false, true}) {
        for (const auto& c : cases) {
            SCOPED_TRACE(std::string(c.lat) + "/" + c.lon);
            Rig rig;
            rig.allFamilies();
            rig.st.map.captureallON = captureAll;
            rig.slotReport(1, "N0CALL", c.lat, c.lon);
            rig.writer.savefiles();
            for (const char* f : kAllFiles)
                EXPECT_FALSE(rig.has(f)) << f;
            EXPECT_EQ(rig.st.report.incomingdataBack, 65535u);
            EXPECT_EQ(rig.st.marks.PGMmessage, " WARNING!!! INVALID GPS DATA (zero's)");
            EXPECT_EQ(rig.ui.beeps, 1);
            EXPECT_EQ(rig.steps.rotations, captureAll ? 1 : 0);
            EXPECT_EQ(rig.st.marks.commTag, "START COMM");
            EXPECT_FALSE(rig.st.marks.exportarchiveVisible);
        }
    }
}

TEST(SaveFiles, ReceivePauseHoldsDuringThePassAndEndsOnEveryPath) {
    struct Case {
        const char* name;
        bool captureAll, duplicate, zero, failRotation, failLive, brokenFiles;
    } cases[] = {
        {"normal", false, false, false, false, false, false},
        {"duplicate", false, true, false, false, false, false},
        {"zero position", false, false, true, false, false, false},
        {"capture all", true, false, false, false, false, false},
        {"rotation fails", true, false, false, true, false, false},
        {"live posting fails", false, false, false, false, true, false},
        {"every file unwritable", false, false, false, false, false, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Rig rig;
        rig.allFamilies();
        rig.st.map.captureallON = c.captureAll;
        rig.steps.failRotation = c.failRotation;
        rig.steps.failLive = c.failLive;
        if (c.failLive) rig.st.map.option = MapOption::Option7LivePostOzi;
        rig.slotReport(1, "N0CALL", c.zero ? "0" : "45.5", "-122.6");
        if (c.duplicate) rig.dir.appendLine("quorvel.mxf", rig.st.rec.mxfstring);
        if (c.brokenFiles)
            for (const char* f : kAllFiles)
                std::filesystem::create_directories(rig.tmp.path() / f / "held");
        rig.writer.savefiles();
        EXPECT_EQ(rig.st.marks.commTag, "START COMM");
        for (const auto& mark : rig.ui.comm)
            EXPECT_EQ(mark, "STOP COMM");
        if (!c.zero) {
            EXPECT_FALSE(rig.ui.comm.empty());
        }
        if (c.failRotation || c.failLive || c.brokenFiles) {
            EXPECT_NE(rig.errors().find(" in SUB SAVEFILES "), std::string::npos);
        }
    }
}

TEST(SaveFiles, DuplicateCheckAgainstLastNonEmptyLineOfKeyFile) {
    struct Case {
        const char* name;
        bool preventdupes;
        std::string mxfTail; // appended before the report; %R is the report's own marker record
        bool duplicate;
    } cases[] = {
        {"same line", true, "%R\r\n", true},
        {"same line other case", true, "%U\r\n", true},
        {"blank lines after it", true, "%R\r\n\r\n\r\n", true},
        {"no line end after it", true, "%R", true},
        {"another station in between", true, "%R\r\nxx, yy\r\n", false},
        {"check switched off", false, "%R\r\n", false},
        {"key file missing", true, "", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Rig rig;
        rig.st.map.preventdupes = c.preventdupes;
        rig.st.map.menucreatemaptechfiles = true;
        rig.slotReport(1, "N0CALL", "45.5", "-122.6");
        std::string tail = c.mxfTail;
        std::string rec = rig.st.rec.mxfstring;
        if (auto p = tail.find("%R"); p != std::string::npos) tail.replace(p, 2, rec);
        if (auto p = tail.find("%U"); p != std::string::npos) {
            std::string up = rec;
            for (auto& ch : up)
                ch = static_cast<char>(std::toupper(static_cast<unsigned char>(ch)));
            tail.replace(p, 2, up);
        }
        if (!tail.empty()) rig.tmp.write("quorvel.mxf", tail);
        EXPECT_EQ(rig.writer.duplicate(), c.duplicate);
        rig.writer.savefiles();
        EXPECT_EQ(rig.has("quorvel.wpt"), !c.duplicate);
        EXPECT_EQ(rig.ui.shown.back(), "Saving Files complete");
    }
}

TEST(SaveFiles, TwoStationsAlternatingAreNeverDuplicates) {
    Rig rig;
    rig.st.map.menucreatemaptechfiles = true;
    for (int round = 0; round < 3; ++round) {
        rig.slotReport(1, "N0CALL", "45.5", "-122.6");
        rig.writer.savefiles();
        rig.slotReport(2, "N0CALL-9", "45.5", "-122.6");
        rig.writer.savefiles();
    }
    EXPECT_EQ(rig.lines("quorvel.mxf").size(), 6u);
    EXPECT_EQ(rig.lines("quorvel.wpt").size(), 4u + 6u);
    // The same station again with the same record is one.
    rig.writer.savefiles();
    EXPECT_EQ(rig.lines("quorvel.mxf").size(), 6u);
}

TEST(SaveFiles, UnopenableFileIsLoggedAndTheOthersStillGetTheirLines) {
    Rig rig;
    rig.allFamilies();
    std::filesystem::create_directories(rig.tmp.path() / "quorvel.mxf" / "held");
    rig.slotReport(1, "N0CALL", "45.5", "-122.6");
    rig.writer.savefiles();
    for (const char* f : {"quorvel.txf", "quorvel.rxf", "quorvelhistory.mxf", "quorvelhistory.rxf"})
        EXPECT_EQ(rig.lines(f).size(), 1u) << f;
    EXPECT_EQ(rig.lines("quorvel.wpt").size(), 5u);
    EXPECT_EQ(rig.lines("quorvelSA5now.txt").size(), 1u);
    EXPECT_EQ(rig.lines("quorvel.olt").size(), 1u);
    const auto err = rig.lines("quorvel.err");
    // Once for the duplicate check reading it, once for the append.
    ASSERT_EQ(err.size(), 4u) << rig.errors();
    for (int i : {0, 2}) {
        EXPECT_EQ(err[i], "");
        EXPECT_EQ(err[i + 1].rfind("ERROR  75Path/File access error in SUB SAVEFILES 12/7/2026", 0), 0u) << err[i + 1];
    }
    EXPECT_EQ(rig.st.marks.PGMmessage, "Saving Files complete");
    EXPECT_TRUE(rig.ui.shown.size() > 3);
}

TEST(SaveFiles, FullDiskIsLoggedNotTakenForSuccess) {
    if (!std::filesystem::exists("/dev/full")) GTEST_SKIP() << "no /dev/full";
    Rig rig;
    rig.st.map.ODFcheckbox = true;
    std::filesystem::create_symlink("/dev/full", rig.tmp.path() / "quorvel.olt");
    rig.slotReport(1, "N0CALL", "45.5", "-122.6");
    rig.writer.savefiles();
    EXPECT_NE(rig.errors().find(" 61Disk full in SUB SAVEFILES "), std::string::npos) << rig.errors();
    EXPECT_EQ(rig.lines("quorvel.wpt").size(), 5u);
}
