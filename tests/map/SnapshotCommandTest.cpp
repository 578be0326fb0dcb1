// `quorvel --headless --snapshot FILE [--snapshot-size WxH] import`: after the
// replay every tracked slot is on the picture where its track file says,
// over tiles from the local server, from the cache the second time, and on
// the grid with tiles off.
#include "core/MapProjection.h"
#include "shell/map/MapScene.h"
#include "support/TileServer.h"

#include <QImage>
#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <filesystem>

using namespace qv;
using namespace qv::test;

namespace {

struct Outcome {
    int status = -1;
    std::string out;
};

Outcome quorvel(const TempDir& cache, const std::string& args) {
    Outcome r;
    const std::string cmd = "XDG_CACHE_HOME='" + cache.path().string() + "' " + QUORVEL_BINARY + " " + args + " 2>&1";
    FILE* p = ::popen(cmd.c_str(), "r");
    if (!p) return r;
    std::array<char, 4096> buf{};
    for (std::size_t n; (n = std::fread(buf.data(), 1, buf.size(), p)) > 0;)
        r.out.append(buf.data(), n);
    r.status = ::pclose(p);
    return r;
}

// Three tracked stations a few miles apart, two of them moving.
const char* const kFeed = "N0AAA>APRS:!4530.00N/12240.00W>\r\n"
                          "N0BBB>APRS:!4525.00N/12230.00W>\r\n"
                          "N0AAA>APRS:!4531.00N/12239.00W>\r\n"
                          "N0CCC>APRS:!4535.00N/12250.00W-\r\n"
                          "N0BBB>APRS:!4523.50N/12229.00W>\r\n"
                          "N0AAA>APRS:!4532.00N/12238.00W>\r\n";

std::string config(const std::string& extra) {
    return "QUORVEL CONFIGURATION SETTINGS. Do not change unless you know what you are doing!\r\n2.0\r\n0\r\n\r\n"
           "N0AAA\r\nN0BBB\r\nN0CCC\r\nCALL ID-4\r\n1\r\n1\r\n1\r\n0\r\n0\r\n60\r\nStdimport\r\n"
           "NEW_CONFIG_FORMAT_BELOW\r\n" +
           extra;
}

// The last point of a slot's track file.
geo::LatLon lastPoint(const TempDir& dir, int slot) {
    const std::string text = dir.read("quorvelID" + std::to_string(slot) + ".plt");
    const std::size_t end = text.find_last_not_of("\r\n");
    const std::size_t start = text.find_last_of('\n', end) + 1;
    const std::string line = text.substr(start, end - start + 1);
    return {std::stod(line), std::stod(line.substr(line.find(',') + 1))};
}

} // namespace

TEST(SnapshotCommand, EveryTrackedSlotIsWhereItsTrackFileSaysOverTilesThenFromTheCache) {
    TileServer server;
    ASSERT_GT(server.port(), 0);
    TempDir work, cache;
    work.write("quorvel.cfg", config("\"MAPTILEURL\",\"" + server.url("fresh") + "\"\r\n"));
    work.write("quorvel.imp", kFeed);
    const std::string png = (work.path() / "map.png").string();
    const std::string args =
        "--headless --workdir " + work.path().string() + " --snapshot " + png + " --snapshot-size 800x600 import";
    Outcome r = quorvel(cache, args);
    ASSERT_EQ(r.status, 0) << r.out;
    EXPECT_NE(r.out.find("Map of 3 stations written to " + png + " (800x600, zoom "), std::string::npos) << r.out;
    const std::size_t asked = server.requests().size();
    EXPECT_GT(asked, 0u);
    EXPECT_NE(r.out.find("Map tiles: " + std::to_string(asked) + " downloaded"), std::string::npos) << r.out;

    const QImage image(QString::fromStdString(png));
    ASSERT_EQ(image.size(), QSize(800, 600));
    MapScene scene;
    const struct {
        int slot;
        QColor colour;
    } slots[] = {{1, QColor(0, 0, 255)}, {2, QColor(192, 0, 0)}, {3, QColor(0, 128, 0)}};
    for (const auto& s : slots)
        scene.markers.push_back({s.slot, 'A', "", lastPoint(work, s.slot), 0, 0});
    const geo::View v = fitAll(scene, 800, 600);
    for (const auto& s : slots) {
        const geo::WorldPoint at = geo::toView(v, scene.marker(s.slot)->pos);
        EXPECT_EQ(image.pixelColor(static_cast<int>(at.x), static_cast<int>(at.y) - 5), s.colour) << s.slot;
    }
    const geo::TileId corner = geo::tileAt(geo::fromView(v, 2.5, 2.5), v.zoom);
    EXPECT_EQ(image.pixelColor(2, 2), tileColour(corner.z, corner.x, corner.y));

    // The same picture again: every tile from the disk cache, none asked for.
    std::filesystem::remove(png);
    r = quorvel(cache, args);
    ASSERT_EQ(r.status, 0) << r.out;
    EXPECT_EQ(server.requests().size(), asked);
    EXPECT_NE(r.out.find("Map tiles: 0 downloaded, " + std::to_string(asked) + " from the cache"), std::string::npos)
        << r.out;
    EXPECT_TRUE(std::filesystem::exists(png));
}

TEST(SnapshotCommand, TheSampleReplayDrawsOnTheGridWithTilesOffAndBadRequestsAreRefused) {
    TempDir work, cache;
    for (const char* name : {"quorvel.cfg", "quorvel.imp"})
        std::filesystem::copy_file(std::filesystem::path(QUORVEL_SOURCE_DIR) / "examples" / name, work.path() / name);
    // Tiles off: nothing is fetched from anywhere.
    work.write("quorvel.cfg", work.read("quorvel.cfg") + "\"MAPTILES\",0\r\n");
    const std::string png = (work.path() / "sample.png").string();
    const std::string dir = " --workdir " + work.path().string();
    Outcome r = quorvel(cache, "--headless" + dir + " --snapshot=" + png + " --snapshot-size=320x200 import");
    ASSERT_EQ(r.status, 0) << r.out;
    EXPECT_NE(r.out.find("Map of 8 stations written to " + png + " (320x200, zoom 1, grid only)"), std::string::npos)
        << r.out;
    EXPECT_EQ(r.out.find("Map tiles:"), std::string::npos) << r.out;
    EXPECT_EQ(QImage(QString::fromStdString(png)).size(), QSize(320, 200));

    const struct {
        const char* args;
        const char* says;
    } refused[] = {
        {" --snapshot x.png import", "--snapshot works with --headless only"},
        {" --headless --snapshot x.png --snapshot-size 10x10 import", "--snapshot-size needs WIDTHxHEIGHT"},
        {" --headless --snapshot", "--snapshot needs a file name"},
    };
    for (const auto& c : refused) {
        r = quorvel(cache, dir + c.args);
        EXPECT_EQ(WEXITSTATUS(r.status), 2) << c.args;
        EXPECT_NE(r.out.find(c.says), std::string::npos) << r.out;
    }
    r = quorvel(cache, "--headless" + dir + " --snapshot " + (work.path() / "no" / "such.png").string() + " import");
    EXPECT_EQ(WEXITSTATUS(r.status), 1) << r.out;
    EXPECT_NE(r.out.find("cannot write the map picture"), std::string::npos) << r.out;
}
