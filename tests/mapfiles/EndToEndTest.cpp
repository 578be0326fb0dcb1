// A realistic feed through the application: two tracked stations and several
// untracked ones, every family on; each map file must come out byte for byte
// as the golden copy under tests/data/mapfiles/feed (CR LF line ends).
// QUORVEL_UPDATE_GOLDEN=1 rewrites the golden copies after a deliberate change.
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

struct Decoded {
    int minute, second;
    const char* call;
    const char* lat; // signed, as the classifier leaves them
    const char* lon;
};

// Decoded reports in the order heard; W7TRK-9 and KF7ODF are tracked.
const Decoded kFeed[] = {
    {0, 5, "W7TRK-9", "45.5231", "-122.6765"}, {0, 20, "N7UNT", "45.4001", "-122.3001"},
    {0, 40, "KF7ODF", "44.0582", "-121.3153"}, {1, 2, "W7TRK-9", "45.5240", "-122.6701"},
    {1, 2, "W7TRK-9", "45.5240", "-122.6701"}, {1, 30, "K7XYZ-1", "47.6062", "-122.3321"},
    {1, 45, "KF7ODF", "44.0590", "-121.3100"}, {1, 50, "KF7ODF", "44.0600", "-121.3050"},
    {2, 10, "W7TRK-9", "0", "-122.6701"},      {2, 30, "W7TRK-9", "46.5000", "-117.0000"},
    {3, 0, "N7UNT", "45.4002", "-122.3002"},   {3, 15, "KF7ODF", "44.0610", "-121.3000"},
    {4, 0, "W7TRK-9", "45.5300", "-122.6600"},
};

const char* kFiles[] = {"quorvel.txf",
                        "quorvel.rxf",
                        "quorvel.mxf",
                        "quorvelhistory.mxf",
                        "quorvelhistory.rxf",
                        "quorvel.wpt",
                        "quorvelID1.plt",
                        "quorvelID2.plt",
                        "quorvelSA5.txt",
                        "quorvelSA5now.txt",
                        "quorvelSA5now.tmp",
                        "quorvelNGTOPO.txt",
                        "quorvelNGTOPOnow.txt",
                        "quorvelNGTOPOnowCall.txt",
                        "quorvelNGTOPOnowCall.tmp",
                        "quorvel.olt",
                        "quorvel.gpx",
                        "quorvel.kml",
                        "quorvellive.kml",
                        "quorvel.geojson"};

std::string slurp(const std::filesystem::path& p) {
    std::ifstream in(p, std::ios::binary);
    std::ostringstream ss;
    ss << in.rdbuf();
    return ss.str();
}

} // namespace

TEST(EndToEnd, FeedWritesEveryFamilyExactly) {
    TempDir tmp;
    FakeClock clock;
    FakeUi ui;
    App app(tmp.path(), ui, clock);
    app.st.slots[1].CallsignID = "W7TRK-9";
    app.st.slots[1].track = true;
    app.st.slots[2].CallsignID = "KF7ODF";
    app.st.slots[2].track = true;
    auto& m = app.st.map;
    m.menucreatemaptechfiles = m.menucreatestreetatlasfiles = m.menucreatenatgeotopofiles = true;
    m.menucreatenatgeotopoNowCallfile = m.ODFcheckbox = true;

    int written = 0;
    for (const auto& d : kFeed) {
        clock.t = {2026, 12, 7, 9, d.minute, d.second};
        auto& r = app.st.report;
        r.dataline = r.incomingdata = std::string(d.call) + ">APRS:!position";
        r.stationcallsign = r.callsign = d.call;
        r.latitude = d.lat;
        r.longitude = d.lon;
        // The classifier's pipeline, in its order, and its save rule.
        app.autoassign();
        app.assigncolor();
        app.assigntime();
        app.makestrings();
        app.assigncoords();
        if (r.stationtracked == "YES") {
            app.savefiles();
            ++written;
        }
    }
    EXPECT_EQ(written, 10);
    EXPECT_EQ(app.st.marks.commTag, "START COMM");
    EXPECT_FALSE(std::filesystem::exists(tmp.path() / "quorvel.err")) << tmp.read("quorvel.err");

    const auto golden = std::filesystem::path(QUORVEL_TEST_DATA) / "mapfiles" / "feed";
    const bool update = std::getenv("QUORVEL_UPDATE_GOLDEN") != nullptr;
    for (const char* f : kFiles) {
        SCOPED_TRACE(f);
        const std::string got = tmp.read(f);
        ASSERT_FALSE(got.empty());
        EXPECT_EQ(got.find('\n'), got.find("\r\n") + 1) << "line ends must be CR LF";
        if (update) {
            std::ofstream(golden / f, std::ios::binary) << got;
            continue;
        }
        EXPECT_EQ(got, slurp(golden / f));
    }
    // Nothing beyond the families above (and no scratch copies left behind).
    for (const auto& e : std::filesystem::directory_iterator(tmp.path())) {
        const std::string name = e.path().filename().string();
        if (name == "quorvel.cfg") continue; // auto-assigning a slot saves the settings
        EXPECT_NE(std::find(std::begin(kFiles), std::end(kFiles), name), std::end(kFiles)) << name;
    }
}

TEST(EndToEnd, TncLinesThroughTheClassifierReachEveryFamily) {
    TempDir tmp;
    FakeClock clock;
    FakeUi ui;
    App app(tmp.path(), ui, clock);
    app.st.tracking.autoassigncheckbox = false;
    app.st.slots[1].CallsignID = "W7TRK-9";
    app.st.slots[1].track = true;
    app.st.slots[2].CallsignID = "KF7ODF";
    app.st.slots[2].track = true;
    auto& m = app.st.map;
    m.menucreatemaptechfiles = m.menucreatestreetatlasfiles = m.menucreatenatgeotopofiles = true;
    m.menucreatenatgeotopoNowCallfile = m.ODFcheckbox = true;
    const char* lines[] = {
        "W7TRK-9>APRS,WIDE1-1:!4531.39N/12240.59W>mobile", "N7UNT>APRS,WIDE2-1:!4524.00N/12218.00W-home",
        "KF7ODF>APRS:!4403.49N/12118.92W>engine",          "K7XYZ-1>APRS:!4736.37N/12219.93W-",
        "W7TRK-9>APRS,WIDE1-1:!4531.44N/12240.21W>mobile",
    };
    int minute = 0;
    for (const char* l : lines) {
        clock.t = {2026, 12, 7, 10, minute++, 0};
        app.st.report.dataline = l;
        app.inspectdataline();
    }
    EXPECT_EQ(app.dir.readLines("quorvel.mxf").size(), 3u) << tmp.read("quorvel.err");
    EXPECT_EQ(app.dir.readLines("quorvel.wpt").size(), 4u + 3u);
    EXPECT_EQ(app.dir.readLines("quorvelID1.plt").size(), 6u + 2u);
    EXPECT_EQ(app.dir.readLines("quorvelID2.plt").size(), 6u + 1u);
    EXPECT_EQ(app.dir.readLines("quorvelSA5now.txt").size(), 2u);
    EXPECT_EQ(app.dir.readLines("quorvelNGTOPOnow.txt").size(), 2u);
    EXPECT_EQ(app.dir.readLines("quorvelNGTOPOnowCall.txt").size(), 2u);
    EXPECT_EQ(app.dir.readLines("quorvel.olt").size(), 3u);
    EXPECT_EQ(tmp.read("quorvel.mxf").find("N7UNT"), std::string::npos);
    EXPECT_EQ(tmp.read("quorvelSA5now.txt").rfind("45.5240, -122.67", 0), 0u) << tmp.read("quorvelSA5now.txt");
}

// With "only moving" on, a move of a station whose tracking switch is off
// lets the next tracked report through once; the marker then is spent.
TEST(EndToEnd, UnwrittenMoveLetsTheNextTrackedReportThrough) {
    TempDir tmp;
    FakeClock clock;
    FakeUi ui;
    App app(tmp.path(), ui, clock);
    app.st.tracking.autoassigncheckbox = false;
    app.st.sw.CheckTrackOnlyMoving = true;
    app.st.map.menucreatemaptechfiles = true;
    app.st.slots[1].CallsignID = "MOVER";
    app.st.slots[2].CallsignID = "STILL";
    app.st.slots[2].track = true;
    const struct {
        const char* line;
        std::size_t markers; // quorvel.mxf lines after it
    } feed[] = {
        {"STILL>APRS:!4531.39N/12240.59W-", 1}, // new: written
        {"STILL>APRS:!4531.39N/12240.59W-", 1}, // stood still
        {"MOVER>APRS:!4403.49N/12118.92W>", 1}, // moved, not tracked
        {"STILL>APRS:!4531.39N/12240.59W-", 2}, // takes the marker
        {"STILL>APRS:!4531.39N/12240.59W-", 2},
    };
    int minute = 0;
    for (const auto& f : feed) {
        clock.t = {2026, 12, 7, 10, minute++, 0};
        app.st.report.dataline = f.line;
        app.inspectdataline();
        EXPECT_EQ(app.dir.readLines("quorvel.mxf").size(), f.markers) << minute;
    }
}
