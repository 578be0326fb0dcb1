// The map over tiles from a local server (tests/support/tileserver.py on
// 127.0.0.1): which tiles a picture asks for, the disk cache and the
// servers' expiry, work without the server, and markers on their pixels.
#include "core/Station.h"
#include "platform/QtTileFetcher.h"
#include "shell/map/MapScene.h"
#include "shell/map/MapSnapshot.h"
#include "shell/map/TileStore.h"
#include "support/TileServer.h"

#include <QGuiApplication>
#include <QImage>
#include <gtest/gtest.h>

#include <memory>
#include <set>
#include <sstream>

using namespace qv;
using namespace qv::test;

namespace {

// One application for the run, gone before the program's exit handlers run.
std::unique_ptr<QGuiApplication> app;

class GuiEnvironment final : public ::testing::Environment {
public:
    void TearDown() override { app.reset(); }
};
[[maybe_unused]] auto* const environment = ::testing::AddGlobalTestEnvironment(new GuiEnvironment);

void gui() {
    static int argc = 1;
    static char name[] = "test_map";
    static char* argv[] = {name, nullptr};
    if (!app) app = std::make_unique<QGuiApplication>(argc, argv);
}

constexpr double kHalfWorldMetres = 20037508.3427892;

// Two stations, with their Web Mercator metres from gdaltransform.
struct Known {
    double lat, lon, mx, my;
};
constexpr Known kPortland{45.5152, -122.6784, -13656497.0193335, 5702997.14579815};
constexpr Known kAirport{45.5888, -122.5950, -13647212.9738014, 5714697.22426857};

Station twoStations(const std::string& url) {
    Station st;
    st.slots[1].CallsignID = "N0CALL";
    st.slots[1].location = "45.5152, -122.6784";
    st.slots[3].CallsignID = "W7ABC-9";
    st.slots[3].location = "45.5888, -122.5950";
    st.tracks.pane.tileUrl = url;
    return st;
}

class MapTiles : public ::testing::Test {
protected:
    MapTiles() { gui(); }

    // One picture, as the headless snapshot draws it, with a fetcher of its own on the shared cache.
    QImage picture(const Station& st, std::chrono::milliseconds wait = std::chrono::seconds(20)) {
        QtTileFetcher fetcher(QString::fromStdString((cache.path() / "tiles").string()));
        out.str("");
        std::ostringstream err;
        EXPECT_TRUE(writeSnapshot(st, {(files.path() / "map.png").string(), 640, 480}, &fetcher, wait, out, err))
            << err.str();
        return QImage(QString::fromStdString((files.path() / "map.png").string()));
    }
    // The view a picture of the stations shows.
    static geo::View viewOf(const Station& st) { return fitAll(sceneOf(st), 640, 480); }
    static std::set<std::string> tilesOf(const geo::View& v) {
        std::set<std::string> out;
        for (const geo::TilePlace& t : geo::tilesFor(v))
            out.insert(std::to_string(t.tile.z) + "/" + std::to_string(t.tile.x) + "/" + std::to_string(t.tile.y));
        return out;
    }
    std::vector<std::string> requests(const char* mode) const {
        std::vector<std::string> out;
        for (const std::string& r : server.requests())
            if (r.rfind(std::string(mode) + " ", 0) == 0) out.push_back(r);
        return out;
    }

    TileServer server;
    TempDir cache, files;
    std::ostringstream out;
};

} // namespace

TEST_F(MapTiles, APictureAsksForTheTilesOfItsViewOnceAndMarkersFallOnTheirPixels) {
    ASSERT_GT(server.port(), 0);
    const Station st = twoStations(server.url("fresh"));
    const QImage image = picture(st);
    ASSERT_EQ(image.size(), QSize(640, 480));
    const geo::View v = viewOf(st);

    std::set<std::string> asked;
    for (const std::string& r : requests("fresh")) {
        std::istringstream in(r);
        std::string mode, tile, status;
        in >> mode >> tile >> status;
        EXPECT_TRUE(asked.insert(tile).second) << "asked twice: " << tile;
        EXPECT_EQ(status, "200");
        EXPECT_NE(r.find("UA=Quorvel/" + std::to_string(QUORVEL_VERSION_MAJOR) + "."), std::string::npos) << r;
        EXPECT_NE(r.find("(+https://github.com/quorvel/quorvel)"), std::string::npos) << r;
    }
    EXPECT_EQ(asked, tilesOf(v));
    for (const Known& k : {kPortland, kAirport}) {
        const geo::TileId t = geo::tileAt({k.lat, k.lon}, v.zoom);
        EXPECT_TRUE(asked.count(std::to_string(t.z) + "/" + std::to_string(t.x) + "/" + std::to_string(t.y)));
    }
    EXPECT_NE(out.str().find("Map tiles: " + std::to_string(asked.size()) + " downloaded, 0 from the cache"),
              std::string::npos)
        << out.str();

    // Each tile lies where its colour says: the top-left pixel shows the tile holding that place.
    const geo::TileId corner = geo::tileAt(geo::fromView(v, 2.5, 2.5), v.zoom);
    EXPECT_EQ(image.pixelColor(2, 2), tileColour(corner.z, corner.x, corner.y));

    // The view is centred between the two; the markers lie as far apart as GDAL's metres put them.
    const double scale = geo::worldSize(v.zoom) / (2 * kHalfWorldMetres);
    const double dx = (kAirport.mx - kPortland.mx) * scale, dy = (kPortland.my - kAirport.my) * scale;
    const struct {
        double x, y;
        QColor colour;
    } markers[] = {
        {320 - dx / 2, 240 - dy / 2, QColor(0, 0, 255)}, // slot A, blue, south-west
        {320 + dx / 2, 240 + dy / 2, QColor(0, 128, 0)}, // slot C, green
    };
    for (const auto& m : markers) {
        // Above and below the letter the disc shows its slot colour.
        EXPECT_EQ(image.pixelColor(static_cast<int>(m.x), static_cast<int>(m.y) - 5), m.colour) << m.x << "," << m.y;
        EXPECT_EQ(image.pixelColor(static_cast<int>(m.x), static_cast<int>(m.y) + 5), m.colour) << m.x << "," << m.y;
    }
}

TEST_F(MapTiles, TheCacheServesTilesWhileTheServerSaysTheyAreFreshAndAsksAgainAfter) {
    const struct {
        const char* mode;
        bool askedAgain;         // the second picture sends requests
        const char* ifNoneMatch; // ... conditional ones, with the tile's ETag
    } cases[] = {
        {"fresh", false, ""},        // Cache-Control: max-age=86400
        {"revalidate", true, "yes"}, // Expires in the past, an ETag: checked, 304, served from the cache
        {"expired", true, ""},       // Expires in the past: fetched again
        {"nostore", true, ""},       // Cache-Control: no-store
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.mode);
        const Station st = twoStations(server.url(c.mode));
        picture(st);
        const std::size_t first = requests(c.mode).size();
        ASSERT_GT(first, 0u);
        const QImage second = picture(st);
        const std::vector<std::string> all = requests(c.mode);
        EXPECT_EQ(all.size(), c.askedAgain ? 2 * first : first);
        for (std::size_t i = first; i < all.size(); ++i) {
            if (*c.ifNoneMatch) {
                EXPECT_NE(all[i].find(" 304 "), std::string::npos) << all[i];
                EXPECT_EQ(all[i].find("INM=-"), std::string::npos) << all[i];
            }
        }
        if (!c.askedAgain || *c.ifNoneMatch) {
            EXPECT_NE(out.str().find("0 downloaded, " + std::to_string(first) + " from the cache"), std::string::npos)
                << out.str();
        }
        const geo::TileId corner = geo::tileAt(geo::fromView(viewOf(st), 2.5, 2.5), viewOf(st).zoom);
        EXPECT_EQ(second.pixelColor(2, 2), tileColour(corner.z, corner.x, corner.y));
    }
}

TEST_F(MapTiles, WithoutTheServerCachedTilesServeAndMissingOnesLeaveTheGrid) {
    const Station cached = twoStations(server.url("revalidate"));
    picture(cached);
    const std::size_t tiles = requests("revalidate").size();
    server.stop();

    // Offline: the expired copies are drawn rather than nothing.
    QImage image = picture(cached);
    EXPECT_NE(out.str().find(std::to_string(tiles) + " stale from the cache, 0 failed"), std::string::npos)
        << out.str();
    geo::View v = viewOf(cached);
    geo::TileId corner = geo::tileAt(geo::fromView(v, 2.5, 2.5), v.zoom);
    EXPECT_EQ(image.pixelColor(2, 2), tileColour(corner.z, corner.x, corner.y));

    // Tiles never fetched: each fails at once and the map is the grid, with its stations.
    Station never = twoStations(server.url("fresh"));
    never.slots[3].location = "(latitude/longitude)"; // one station: a view no tile of which was fetched
    image = picture(never);
    EXPECT_NE(out.str().find(" failed, 0 not there in time"), std::string::npos) << out.str();
    EXPECT_EQ(out.str().find(" 0 failed"), std::string::npos) << out.str();
    EXPECT_EQ(image.pixelColor(320, 240 - 5), QColor(0, 0, 255));
    v = viewOf(never);
    corner = geo::tileAt(geo::fromView(v, 2.5, 2.5), v.zoom);
    EXPECT_NE(image.pixelColor(2, 2), tileColour(corner.z, corner.x, corner.y));
}

TEST_F(MapTiles, ATileThatNeverComesHoldsThePictureOnlyUntilItsDeadline) {
    const Station st = twoStations(server.url("hang"));
    const QImage image = picture(st, std::chrono::milliseconds(300));
    EXPECT_EQ(image.size(), QSize(640, 480));
    EXPECT_NE(out.str().find("0 failed, " + std::to_string(tilesOf(viewOf(st)).size()) + " not there in time"),
              std::string::npos)
        << out.str();
    // Two at a time, as tile servers ask of a client.
    EXPECT_EQ(requests("hang").size(), static_cast<std::size_t>(kTilesInFlight));
}
