// Map files another program archives, deletes or replaces between two
// reports: the next report's records all land in the files under their
// names, a rebuilt "now" file keeps the lines it was given meanwhile, and a
// track file taken over by another station starts over, as if the pass had
// kept nothing from the report before.
#include "MapFilesRig.h"
#include "mapfiles/OziFiles.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>

namespace fs = std::filesystem;
using namespace qv;
using namespace qv::test;

namespace {

void replaceByRename(const Rig& rig, const char* name, const std::string& content) {
    rig.tmp.write("incoming.part", content);
    fs::rename(rig.tmp.path() / "incoming.part", rig.tmp.path() / name);
}

std::vector<std::string> lastOf(const std::vector<std::string>& lines, std::size_t n) {
    return {lines.end() - static_cast<std::ptrdiff_t>(std::min(n, lines.size())), lines.end()};
}

} // namespace

TEST(ChangedBetweenReports, TheNextReportLandsInWhatTheNamesHoldThen) {
    struct Case {
        const char* what;
        std::function<void(Rig&)> act;
        std::function<void(Rig&)> check; // after the second report
        bool actReports = false;         // the act sets up the second report itself
    };
    const std::string other = "45.1, -122.1, OTHER1, 12, 1, 1";
    const Case cases[] = {
        {"nothing", [](Rig&) {}, [](Rig& rig) { EXPECT_EQ(rig.lines("quorvel.mxf").size(), 2u); }},
        {"MapTech files archived",
         [](Rig& rig) {
             fs::create_directory(rig.tmp.path() / "data");
             for (const char* f : {"quorvel.mxf", "quorvel.rxf", "quorvel.txf"})
                 fs::rename(rig.tmp.path() / f, rig.tmp.path() / "data" / f);
         },
         [](Rig& rig) {
             for (const char* f : {"quorvel.mxf", "quorvel.rxf", "quorvel.txf"}) {
                 EXPECT_EQ(rig.lines(f).size(), 1u) << f;
                 EXPECT_EQ(rig.lines(std::string("data/") + f).size(), 1u) << f;
             }
             EXPECT_EQ(rig.lines("quorvel.mxf")[0], rig.st.rec.mxfstring);
         }},
        {"waypoint file deleted", [](Rig& rig) { fs::remove(rig.tmp.path() / "quorvel.wpt"); },
         [](Rig& rig) {
             auto expected = mapfile::OziFiles::waypointHeader();
             expected.push_back(rig.st.rec.wptstring);
             EXPECT_EQ(rig.lines("quorvel.wpt"), expected);
         }},
        {"track file taken by another station",
         [](Rig& rig) {
             std::string head;
             for (const auto& l : mapfile::OziFiles::trackHeader("255", "K7OTHER"))
                 head += l + "\r\n";
             replaceByRename(rig, "quorvelID1.plt", head + "45.3, -122.3,0,   -777,, ,09:01\r\n");
         },
         [](Rig& rig) {
             auto expected = mapfile::OziFiles::trackHeader(rig.st.rec.ozicolor, "N0CALL");
             expected.push_back(rig.st.rec.pltstring);
             EXPECT_EQ(rig.lines("quorvelID1.plt"), expected);
         }},
        {"track file appended to by another program",
         [](Rig& rig) { WorkDir(rig.tmp.path()).appendLine("quorvelID1.plt", "45.3, -122.3,0,   -777,, ,09:01"); },
         [](Rig& rig) {
             EXPECT_EQ(lastOf(rig.lines("quorvelID1.plt"), 2),
                       (std::vector<std::string>{"45.3, -122.3,0,   -777,, ,09:01", rig.st.rec.pltstring}));
         }},
        {"now files replaced with another station's line",
         [&](Rig& rig) {
             replaceByRename(rig, "quorvelSA5now.txt", other + "\r\n");
             replaceByRename(rig, "quorvelNGTOPOnowCall.txt", "45.1, -122.1, OTHER1, 12/7/2026 0901, B-0901\r\n");
         },
         [&](Rig& rig) {
             EXPECT_EQ(rig.lines("quorvelSA5now.txt"), (std::vector<std::string>{rig.st.rec.sa5string, other}));
             EXPECT_EQ(rig.lines("quorvelNGTOPOnowCall.txt"),
                       (std::vector<std::string>{rig.st.rec.ngtopocallstring,
                                                 "45.1, -122.1, OTHER1, 12/7/2026 0901, B-0901"}));
         }},
        {"TOPO! now file rewritten in place with a second slot's line",
         [](Rig& rig) { rig.tmp.write("quorvelNGTOPOnow.txt", "45.2, -122.2, B-0901, 12/7/2026 0901, K7TWO\r\n"); },
         [](Rig& rig) {
             EXPECT_EQ(
                 rig.lines("quorvelNGTOPOnow.txt"),
                 (std::vector<std::string>{rig.st.rec.ngtopostring, "45.2, -122.2, B-0901, 12/7/2026 0901, K7TWO"}));
         }},
        {"last MapTech line repeated by another program, duplicates refused",
         [](Rig& rig) {
             rig.slotReport(1, "N0CALL", "45.6", "-122.7", 9, 7);
             WorkDir(rig.tmp.path()).appendLine("quorvel.mxf", rig.st.rec.mxfstring);
         },
         [](Rig& rig) {
             // The file's own last line decides, not the line we last wrote.
             EXPECT_EQ(rig.lines("quorvelhistory.mxf").size(), 1u);
         },
         true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Rig rig;
        rig.allFamilies();
        rig.slotReport(1, "N0CALL", "45.5", "-122.6", 9, 5);
        rig.writer.savefiles();
        c.act(rig);
        if (!c.actReports) rig.slotReport(1, "N0CALL", "45.6", "-122.7", 9, 7);
        rig.writer.savefiles();
        c.check(rig);
        if (!c.actReports) {
            EXPECT_EQ(lastOf(rig.lines("quorvelhistory.mxf"), 1)[0], rig.st.rec.mxfstring);
        }
        EXPECT_EQ(rig.errors(), "");
    }
}
