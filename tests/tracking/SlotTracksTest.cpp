// The situation map's tracks: in memory they are what the slots' Ozi track
// files hold (read back by GPSBabel), report by report and again after a
// restart, within their bounds, and gone with the files.
#include "tracking/SlotTracks.h"
#include "shell/App.h"
#include "support/Fakes.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <sstream>

using namespace qv;
using namespace qv::test;

namespace {

bool haveGpsBabel() { return std::system("gpsbabel -V >/dev/null 2>&1") == 0; }

// The track points of an Ozi track file as GPSBabel reads them; a point
// repeating the one before adds nothing to a drawn track and is left out.
std::vector<std::pair<double, double>> readByGpsBabel(const std::filesystem::path& plt) {
    std::vector<std::pair<double, double>> out;
    if (!std::filesystem::exists(plt)) return out;
    const std::string cmd = "gpsbabel -t -i ozi -f '" + plt.string() + "' -o unicsv -F - 2>/dev/null";
    std::unique_ptr<FILE, int (*)(FILE*)> p(popen(cmd.c_str(), "r"), pclose);
    std::string text;
    std::array<char, 4096> buf;
    for (std::size_t n; (n = std::fread(buf.data(), 1, buf.size(), p.get())) > 0;)
        text.append(buf.data(), n);
    std::istringstream in(text);
    std::string line;
    std::getline(in, line); // No,Latitude,Longitude,...
    while (std::getline(in, line)) {
        std::istringstream fields(line);
        std::string no, lat, lon;
        std::getline(fields, no, ',');
        std::getline(fields, lat, ',');
        std::getline(fields, lon, ',');
        const std::pair<double, double> p(std::stod(lat), std::stod(lon));
        if (out.empty() || out.back() != p) out.push_back(p);
    }
    return out;
}

std::vector<std::pair<double, double>> inMemory(const Station& st, int n) {
    std::vector<std::pair<double, double>> out;
    for (const TrackPoint& p : st.tracks[n].points)
        out.emplace_back(p.lat, p.lon);
    return out;
}

void report(App& app, FakeClock& clock, int minute, const char* call, const char* lat, const char* lon) {
    clock.t = {2026, 12, 7, 9, minute, 0};
    auto& r = app.st.report;
    r.dataline = r.incomingdata = std::string(call) + ">APRS:!position";
    r.stationcallsign = r.callsign = call;
    r.latitude = lat;
    r.longitude = lon;
    app.autoassign();
    app.assigncolor();
    app.assigntime();
    app.makestrings();
    app.assigncoords();
    if (r.stationtracked == "YES") app.savefiles();
}

} // namespace

TEST(SlotTracks, TracksAreWhatTheTrackFilesHoldThroughAChangeOfHandsAndARestart) {
    if (!haveGpsBabel()) GTEST_SKIP() << "gpsbabel not installed";
    TempDir tmp;
    FakeClock clock;
    FakeUi ui;
    auto app = std::make_unique<App>(tmp.path(), ui, clock);
    app->st.slots[1].CallsignID = "W7TRK-9";
    app->st.slots[1].track = true;
    app->st.slots[2].CallsignID = "KF7ODF";
    app->st.slots[2].track = true;
    report(*app, clock, 0, "W7TRK-9", "45.5231", "-122.6765");
    report(*app, clock, 0, "N7UNT", "45.4001", "-122.3001"); // auto-assigned to slot 3, not tracked
    report(*app, clock, 1, "KF7ODF", "44.0582", "-121.3153");
    report(*app, clock, 1, "W7TRK-9", "45.524", "-122.6701");
    report(*app, clock, 1, "W7TRK-9", "45.524", "-122.6701"); // standing still
    report(*app, clock, 2, "W7TRK-9", "0", "-122.6701");      // no position: refused
    report(*app, clock, 3, "KF7ODF", "-44.06", "121.30");
    report(*app, clock, 4, "W7TRK-9", "45.53", "-122.66");
    EXPECT_EQ(app->st.tracks[1].points.size(), 3u);
    EXPECT_TRUE(app->st.tracks[3].points.empty());

    // Slot 2 changes hands: its file and its track start over with the new station.
    app->slotTable.setCallsignID(2, "K7NEW");
    app->slotTable.setTrack(2, true);
    report(*app, clock, 5, "K7NEW", "46.1", "-123.2");
    EXPECT_EQ(app->st.tracks[2].owner, "K7NEW");

    for (int n = 1; n <= 8; ++n) {
        SCOPED_TRACE("slot " + std::to_string(n));
        EXPECT_EQ(inMemory(app->st, n), readByGpsBabel(tmp.path() / ("quorvelID" + std::to_string(n) + ".plt")));
    }
    const auto before = inMemory(app->st, 1);

    // After a restart the tracks come back from the files; a file owned by
    // another station than its slot's stays off the map.
    app = std::make_unique<App>(tmp.path(), ui, clock);
    app->st.slots[1].CallsignID = "w7trk-9";
    app->st.slots[2].CallsignID = "KF7ODF";
    app->loadtracks();
    EXPECT_EQ(inMemory(app->st, 1), before);
    EXPECT_TRUE(app->st.tracks[2].points.empty());
    EXPECT_EQ(tmp.read("quorvel.err"), "");

    // The track files deleted: the tracks go with them.
    const auto revision = app->st.tracks.revision;
    ui.answers.push_back(Answer::Yes);
    app->archive.deletePLTs_Click();
    EXPECT_TRUE(app->st.tracks[1].points.empty());
    EXPECT_GT(app->st.tracks.revision, revision);
}

TEST(SlotTracks, ALongTrackKeepsItsLatestPointsAndLinesThatAreNoPositionAreLeftOut) {
    HeardTrack track;
    for (std::size_t i = 0; i < kMaxTrackPoints + 5; ++i)
        EXPECT_TRUE(extendTrack(track, {45 + i * 1e-5, -122}));
    EXPECT_FALSE(extendTrack(track, track.points.back())); // standing still adds nothing
    ASSERT_EQ(track.points.size(), kMaxTrackPoints);
    EXPECT_DOUBLE_EQ(track.points.front().lat, 45 + 5 * 1e-5);

    const std::vector<std::string> lines = {
        "OziExplorer Track Point File Version 2.1 CREATED BY QUORVEL",
        "WGS 84",
        "Altitude is in Feet",
        "Reserved 3",
        "0,2,255,N0CALL              ,0,0,2,8421376",
        "50",
        "45.5231, -122.6765,0,   -777,, ,09:05",
        "garbage",
        "95.1, -122.6,0,   -777,, ,09:06", // off the earth
        "-33.8688, 151.2093,0,   -777,, ,09:07",
        "45.5,",
    };
    const auto points = TrackMemory::trackPoints(lines, true);
    ASSERT_EQ(points.size(), 2u);
    EXPECT_DOUBLE_EQ(points[1].lat, -33.8688);
    EXPECT_DOUBLE_EQ(points[1].lon, 151.2093);
    // From inside a file the header is not there to skip.
    EXPECT_EQ(TrackMemory::trackPoints({"1.5, 2.5,0", "3.5, 4.5,0"}, false).size(), 2u);

    // A track file far longer than a track: its tail is read.
    TempDir tmp;
    {
        std::ofstream out(tmp.path() / "quorvelID4.plt", std::ios::binary);
        for (std::size_t i = 0; i < 5; ++i)
            out << lines[i] << "\r\n";
        out << "50\r\n";
        out.precision(10);
        for (int i = 0; i < 150000; ++i)
            out << 45 + i * 1e-6 << ", -122.6765,0,   -777,, ,09:05\r\n";
    }
    FakeClock clock;
    FakeUi ui;
    App app(tmp.path(), ui, clock);
    app.st.slots[4].CallsignID = "N0CALL";
    app.loadtracks();
    ASSERT_EQ(app.st.tracks[4].points.size(), kMaxTrackPoints);
    EXPECT_NEAR(app.st.tracks[4].points.back().lat, 45 + 149999 * 1e-6, 1e-9);
}
