// Street Atlas: the cumulative file and the rotate-and-rebuild of the "now"
// file, including the failures that must not drop another station's line.
#include "MapFilesRig.h"

#include <gtest/gtest.h>

#include <filesystem>

#include <unistd.h>

using namespace qv;
using namespace qv::test;

namespace {
void saOn(Rig& rig) { rig.st.map.menucreatestreetatlasfiles = true; }
} // namespace

TEST(StreetAtlasFiles, FirstReportCreatesNowFileWithOneLineAndNoTmp) {
    Rig rig;
    saOn(rig);
    rig.slotReport(1, "N0CALL", "45.5", "-122.6");
    rig.writer.savefiles();
    EXPECT_EQ(rig.file("quorvelSA5now.txt"), "45.5, -122.6, N0CALL, 12, 1, 2\r\n");
    EXPECT_EQ(rig.file("quorvelSA5.txt"), "45.5, -122.6, N0CALL, 12, 1, 2\r\n");
    EXPECT_FALSE(rig.has("quorvelSA5now.tmp"));
}

TEST(StreetAtlasFiles, RotateAndRebuildKeepsOneLinePerStationNewestFirst) {
    Rig rig;
    saOn(rig);
    rig.slotReport(1, "A1AAA", "45.1", "-122.1");
    rig.writer.savefiles();
    const std::string a1 = rig.st.rec.sa5string;
    rig.slotReport(2, "B2BBB", "45.2", "-122.2");
    rig.writer.savefiles();
    const std::string b1 = rig.st.rec.sa5string;
    rig.slotReport(1, "A1AAA", "45.3", "-122.3");
    rig.writer.savefiles();
    const std::string a2 = rig.st.rec.sa5string;
    EXPECT_EQ(rig.lines("quorvelSA5now.txt"), (std::vector<std::string>{a2, b1}));
    EXPECT_EQ(rig.lines("quorvelSA5now.tmp"), (std::vector<std::string>{b1, a1}));
    EXPECT_EQ(rig.lines("quorvelSA5.txt"), (std::vector<std::string>{a1, b1, a2}));
}

// A line is a station's when its callsign field is the callsign, letter case
// ignored: N0CALL does not take the line of N0CALL-9, nor of a lookalike.
TEST(StreetAtlasFiles, CallsignMatchesTheWholeField) {
    Rig rig;
    saOn(rig);
    rig.slotReport(2, "N0CALL-9", "45.1", "-122.1");
    rig.writer.savefiles();
    const std::string nine = rig.st.rec.sa5string;
    rig.slotReport(3, "XN0CALL", "45.2", "-122.2");
    rig.writer.savefiles();
    const std::string x = rig.st.rec.sa5string;
    rig.slotReport(1, "N0CALL", "45.3", "-122.3");
    rig.writer.savefiles();
    rig.slotReport(1, "n0call", "45.4", "-122.4");
    rig.writer.savefiles();
    EXPECT_EQ(rig.lines("quorvelSA5now.txt"), (std::vector<std::string>{rig.st.rec.sa5string, x, nine}));
}

TEST(StreetAtlasFiles, TacticalNamesLeaveEarlierLinesInPlace) {
    Rig rig;
    saOn(rig);
    rig.st.slots[1].Teamname = "Engine 7";
    for (int mm : {1, 2, 3}) {
        rig.st.slots[1].CallsignID = "N0CALL";
        rig.report("N0CALL", 1, "45." + std::to_string(mm), "-122.6", 9, mm, true);
        rig.writer.savefiles();
    }
    EXPECT_EQ(rig.lines("quorvelSA5now.txt").size(), 3u);
}

TEST(StreetAtlasFiles, ImportReplayGrowsTheTrackButLeavesNowAndTopoAlone) {
    Rig rig;
    rig.allFamilies();
    rig.tmp.write("quorvelSA5now.txt", "old line\r\n");
    rig.st.map.commandLine = "import";
    rig.slotReport(1, "N0CALL", "45.5", "-122.6");
    rig.writer.savefiles();
    EXPECT_EQ(rig.lines("quorvelSA5.txt").size(), 1u);
    EXPECT_EQ(rig.file("quorvelSA5now.txt"), "old line\r\n");
    EXPECT_FALSE(rig.has("quorvelNGTOPO.txt"));
    EXPECT_FALSE(rig.has("quorvelNGTOPOnow.txt"));
    EXPECT_TRUE(rig.has("quorvelNGTOPOnowCall.txt"));
}

TEST(StreetAtlasFiles, ImportWordOnlyCountsExactly) {
    Rig rig;
    saOn(rig);
    rig.st.map.commandLine = "t";
    rig.slotReport(1, "N0CALL", "45.5", "-122.6");
    rig.writer.savefiles();
    EXPECT_TRUE(rig.has("quorvelSA5now.txt"));
}

TEST(StreetAtlasFiles, StuckTmpFileNeverDropsOtherStations) {
    Rig rig;
    saOn(rig);
    rig.tmp.write("quorvelSA5now.txt", "45.1, -122.1, OTHER1, 12, 1, 1\r\n45.2, -122.2, OTHER2, 12, 1, 3\r\n");
    std::filesystem::create_directories(rig.tmp.path() / "quorvelSA5now.tmp" / "held");
    rig.slotReport(1, "N0CALL", "45.5", "-122.6");
    rig.writer.savefiles();
    EXPECT_EQ(rig.lines("quorvelSA5now.txt"),
              (std::vector<std::string>{rig.st.rec.sa5string, "45.1, -122.1, OTHER1, 12, 1, 1",
                                        "45.2, -122.2, OTHER2, 12, 1, 3"}));
    EXPECT_NE(rig.errors().find(" in SUB SAVEFILES "), std::string::npos);
    EXPECT_EQ(rig.st.marks.commTag, "START COMM");
}

TEST(StreetAtlasFiles, UnreadableNowFileIsLeftAsItWas) {
    Rig rig;
    saOn(rig);
    const auto now = rig.tmp.path() / "quorvelSA5now.txt";
    rig.tmp.write("quorvelSA5now.txt", "45.1, -122.1, OTHER1, 12, 1, 1\r\n");
    std::filesystem::permissions(now, std::filesystem::perms::none);
    if (::access(now.c_str(), R_OK) == 0) GTEST_SKIP() << "running with rights that read any file";
    rig.slotReport(1, "N0CALL", "45.5", "-122.6");
    rig.writer.savefiles();
    std::filesystem::permissions(now, std::filesystem::perms::owner_all);
    EXPECT_EQ(rig.file("quorvelSA5now.txt"), "45.1, -122.1, OTHER1, 12, 1, 1\r\n");
    EXPECT_NE(rig.errors().find(" in SUB SAVEFILES "), std::string::npos);
}
