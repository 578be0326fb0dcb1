// OziExplorer files: the waypoint file header, and the track file that
// belongs to one station and starts over when its slot changes hands.
#include "mapfiles/OziFiles.h"
#include "MapFilesRig.h"

#include <gtest/gtest.h>

using namespace qv;
using namespace qv::test;
using mapfile::OziFiles;

namespace {
std::string crlf(const std::vector<std::string>& lines) {
    std::string s;
    for (const auto& l : lines)
        s += l + "\r\n";
    return s;
}
} // namespace

TEST(OziFiles, FirstReportCreatesWaypointFileWithHeaderLaterOnesAppend) {
    Rig rig;
    rig.slotReport(1, "N0CALL", "45.5", "-122.6", 9, 5);
    rig.writer.savefiles();
    const std::string first = rig.st.rec.wptstring;
    EXPECT_EQ(rig.file("quorvel.wpt"), "OziExplorer Waypoint File Version 1.1 CREATED BY QUORVEL\r\n"
                                       "WGS 84\r\n"
                                       "Reserved 2\r\n"
                                       "Above lines are created as default by Quorvel\r\n" +
                                           first + "\r\n");
    rig.slotReport(1, "N0CALL", "45.6", "-122.6", 9, 6);
    rig.writer.savefiles();
    EXPECT_EQ(rig.lines("quorvel.wpt").size(), 6u);
    EXPECT_EQ(rig.lines("quorvel.wpt").back(), rig.st.rec.wptstring);
}

TEST(OziFiles, TrackFileHeaderNamesColourAndStation) {
    Rig rig;
    rig.slotReport(2, "N0CALL", "45.5", "-122.6");
    rig.writer.savefiles();
    EXPECT_EQ(rig.file("quorvelID2.plt"), "OziExplorer Track Point File Version 2.1 CREATED BY QUORVEL\r\n"
                                          "WGS 84\r\n"
                                          "Altitude is in Feet\r\n"
                                          "Reserved 3\r\n"
                                          "0,2,255,N0CALL              ,0,0,2,8421376\r\n"
                                          "50\r\n"
                                          "45.5, -122.6,0,   -777,, ,09:05\r\n");
    for (int n : {1, 3, 4, 5, 6, 7, 8})
        EXPECT_FALSE(rig.has(OziFiles::trackFileName(n))) << n;
}

TEST(OziFiles, StationInNoSlotWritesWaypointButNoTrack) {
    Rig rig;
    rig.report("N0CALL", 0, "45.5", "-122.6");
    rig.writer.savefiles();
    EXPECT_EQ(rig.lines("quorvel.wpt").size(), 5u);
    for (int n = 1; n <= 8; ++n)
        EXPECT_FALSE(rig.has(OziFiles::trackFileName(n))) << n;
}

TEST(OziFiles, SameCallsignInTwoSlotsUsesTheLowerSlot) {
    Rig rig;
    rig.st.slots[5].CallsignID = "n0call";
    rig.slotReport(3, "N0CALL", "45.5", "-122.6");
    rig.writer.savefiles();
    EXPECT_TRUE(rig.has("quorvelID3.plt"));
    EXPECT_FALSE(rig.has("quorvelID5.plt"));
}

TEST(OziFiles, TrackFileOwnership) {
    const std::string header9 = crlf(OziFiles::trackHeader("255", "N0CALL-9"));
    const std::string header = crlf(OziFiles::trackHeader("255", "N0CALL"));
    const std::string point = "45.1, -122.1,0,   -777,, ,08:00\r\n";
    struct Case {
        const char* name;
        std::string existing;
        const char* call;
        bool startsOver;
    } cases[] = {
        {"slot went from N0CALL to N0CALL-9", header + point, "N0CALL-9", true},
        {"new callsign contained in the old one", header9 + point, "N0CALL", true},
        {"object name a prefix of the old one", crlf(OziFiles::trackHeader("255", "AID 12")) + point, "AID 1", true},
        {"object name with a blank, same object", crlf(OziFiles::trackHeader("255", "AID 1")) + point, "aid 1", false},
        {"same station", header + point, "N0CALL", false},
        {"other case", header + point, "n0call", false},
        {"empty line before the callsign", "OziExplorer\r\n\r\nN0CALL\r\n", "N0CALL", true},
        {"callsign early, no header", "N0CALL\r\n" + point, "N0CALL", false},
        {"short file without the callsign", "a\r\nb\r\nc\r\n", "N0CALL", false},
        {"five lines without the callsign", "a\r\nb\r\nc\r\nd\r\ne\r\nN0CALL\r\n", "N0CALL", true},
        {"bare CR line ends", "a\rb\rc\rd\r0,2,255,N0CALL\r", "N0CALL", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Rig rig;
        rig.tmp.write("quorvelID2.plt", c.existing);
        rig.slotReport(2, c.call, "45.5", "-122.6");
        rig.writer.savefiles();
        const std::string expected =
            (c.startsOver ? crlf(OziFiles::trackHeader("255", c.call)) : c.existing) + rig.st.rec.pltstring + "\r\n";
        EXPECT_EQ(rig.file("quorvelID2.plt"), expected);
        EXPECT_EQ(rig.errors(), "");
    }
}

TEST(OziFiles, TrackFileFoundWithAnyLetterCase) {
    Rig rig;
    const std::string existing = crlf(OziFiles::trackHeader("255", "N0CALL"));
    rig.tmp.write("QUORVELID2.PLT", existing);
    rig.slotReport(2, "N0CALL", "45.5", "-122.6");
    rig.writer.savefiles();
    EXPECT_EQ(rig.file("QUORVELID2.PLT"), existing + rig.st.rec.pltstring + "\r\n");
    EXPECT_FALSE(rig.has("quorvelID2.plt") && rig.file("quorvelID2.plt") != rig.file("QUORVELID2.PLT"));
}

TEST(OziFiles, CaptureAllLeavesTrackFilesAlone) {
    Rig rig;
    rig.st.map.captureallON = true;
    rig.slotReport(1, "N0CALL", "45.5", "-122.6");
    rig.writer.savefiles();
    EXPECT_FALSE(rig.has("quorvelID1.plt"));
    EXPECT_TRUE(rig.has("quorvel.wpt"));
}
