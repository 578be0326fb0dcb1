// The map's geometry: Web Mercator against an independent transform (GDAL's
// EPSG:4326 to EPSG:3857, in metres), the tiles a view needs, zoom, pan, the
// view that fits the stations, the scale bar and the grid captions.
#include "core/MapProjection.h"

#include <gtest/gtest.h>

#include <cmath>
#include <set>

using namespace qv::geo;

namespace {

constexpr double kHalfWorldMetres = 20037508.3427892;

WorldPoint fromMetres(double mx, double my, int zoom) {
    const double w = 256.0 * (1 << zoom);
    return {(mx + kHalfWorldMetres) / (2 * kHalfWorldMetres) * w, (kHalfWorldMetres - my) / (2 * kHalfWorldMetres) * w};
}

} // namespace

TEST(MapProjection, WebMercatorAgreesWithGdalAtKnownPoints) {
    // gdaltransform -s_srs EPSG:4326 -t_srs EPSG:3857
    const struct {
        double lat, lon, mx, my;
    } points[] = {
        {45.5152, -122.6784, -13656497.0193335, 5702997.14579815}, // Portland
        {0, 0, 0, 0},
        {kMaxLatitude, -180, -kHalfWorldMetres, kHalfWorldMetres}, // the world's top-left corner
        {-33.8688, 151.2093, 16832542.2792073, -4011198.64730757}, // Sydney
        {51.5074, -0.1278, -14226.6309233804, 6711542.47558763},   // London
        {-85, 179.999, 20037397.0232984, -19971868.8804086},
    };
    for (const auto& p : points)
        for (int zoom : {0, 5, 12, 18}) {
            SCOPED_TRACE(std::to_string(p.lat) + "," + std::to_string(p.lon) + " z" + std::to_string(zoom));
            const WorldPoint want = fromMetres(p.mx, p.my, zoom);
            const WorldPoint got = project({p.lat, p.lon}, zoom);
            EXPECT_NEAR(got.x, want.x, 1e-3);
            EXPECT_NEAR(got.y, want.y, 1e-3);
            const LatLon back = unproject(got, zoom);
            EXPECT_NEAR(back.lat, p.lat, 1e-9);
            EXPECT_NEAR(back.lon, p.lon, 1e-9);
        }
    EXPECT_EQ(tileAt({45.5152, -122.6784}, 12), (TileId{12, 652, 1465}));
    // Past the projection's edge a position sits on the last row.
    EXPECT_EQ(tileAt({89.9, 0}, 3), (TileId{3, 4, 0}));
}

TEST(MapProjection, EveryViewPixelIsCoveredByTheTileThatHoldsIt) {
    const View views[] = {
        {{0, 0}, 1, 1000, 600}, // the world repeats sideways, rows stop at the poles
        {{45.52, -122.68}, 13, 801, 533},
        {{-12.5, 179.95}, 9, 640, 480}, // across the date line
    };
    for (const View& v : views) {
        SCOPED_TRACE("zoom " + std::to_string(v.zoom));
        const std::vector<TilePlace> tiles = tilesFor(v);
        std::set<std::pair<double, double>> corners;
        for (const TilePlace& t : tiles)
            EXPECT_TRUE(corners.insert({t.left, t.top}).second) << "two tiles in one place";
        for (int x = 0; x < v.width; x += 37)
            for (int y = 0; y < v.height; y += 41) {
                const double worldY = viewOrigin(v).y + y;
                int covering = 0;
                for (const TilePlace& t : tiles)
                    if (x >= t.left && x < t.left + kTileSize && y >= t.top && y < t.top + kTileSize) {
                        ++covering;
                        EXPECT_EQ(t.tile, tileAt(fromView(v, x + 0.5, y + 0.5), v.zoom)) << x << "," << y;
                    }
                EXPECT_EQ(covering, worldY >= 0 && worldY < worldSize(v.zoom) ? 1 : 0) << x << "," << y;
            }
    }
}

TEST(MapProjection, ZoomKeepsThePlaceUnderTheCursorAndPanMovesEverythingAlike) {
    const View v{{45.52, -122.68}, 10, 800, 600};
    for (int steps : {1, 3, -2}) {
        const View z = zoomedAt(v, steps, 100, 450);
        EXPECT_EQ(z.zoom, 10 + steps);
        const LatLon before = fromView(v, 100, 450), after = fromView(z, 100, 450);
        EXPECT_NEAR(after.lat, before.lat, 1e-9);
        EXPECT_NEAR(after.lon, before.lon, 1e-9);
    }
    EXPECT_EQ(zoomedAt(v, 40, 0, 0).zoom, kMaxZoom);
    EXPECT_EQ(zoomedAt(v, -40, 0, 0).zoom, kMinZoom);

    const View p = panned(v, 30, -20);
    for (const LatLon& at : {LatLon{45.6, -122.5}, LatLon{45.4, -122.9}}) {
        EXPECT_NEAR(toView(p, at).x, toView(v, at).x + 30, 1e-6);
        EXPECT_NEAR(toView(p, at).y, toView(v, at).y - 20, 1e-6);
    }
}

TEST(MapProjection, FitShowsEveryStationAtTheDeepestZoomThatHoldsThem) {
    const View start{{0, 0}, 2, 900, 600};
    const std::vector<std::vector<LatLon>> sets = {
        {{45.5031, -122.6755}, {45.5183, -122.6633}, {45.59, -122.3358}},
        {{45.5, -122.6}, {33.4273, -112.129}, {-45.59, -122.3358}},
        {{51.5, -0.12}, {-33.87, 151.2}},
    };
    for (const auto& points : sets) {
        const View v = fitted(start, points, 40, 15);
        auto inside = [&](const View& view, int margin) {
            for (const LatLon& p : points) {
                const WorldPoint q = toView(view, p);
                if (q.x < margin || q.x > view.width - margin || q.y < margin || q.y > view.height - margin)
                    return false;
            }
            return true;
        };
        EXPECT_TRUE(inside(v, 40)) << "zoom " << v.zoom;
        if (v.zoom < 15 && v.zoom > kMinZoom) {
            View deeper = v;
            ++deeper.zoom;
            EXPECT_FALSE(inside(deeper, 40)) << "zoom " << v.zoom << " is not the deepest";
        }
    }
    const View one = fitted(start, {{45.5, -122.6}}, 40, 15);
    EXPECT_EQ(one.zoom, 15);
    EXPECT_NEAR(toView(one, {45.5, -122.6}).x, 450, 1e-6);
    EXPECT_NEAR(toView(one, {45.5, -122.6}).y, 300, 1e-6);
    EXPECT_EQ(fitted(start, {}, 40, 15).zoom, 2);
}

TEST(MapProjection, AddressesScaleBarAndGridCaptions) {
    EXPECT_EQ(tileUrl("https://tile.example/{z}/{x}/{y}.png?k={z}", {12, 652, 1465}),
              "https://tile.example/12/652/1465.png?k=12");
    EXPECT_EQ(tileUrl("file:///srv/tiles/{z}/{x}/{y}", {0, 0, 0}), "file:///srv/tiles/0/0/0");

    const struct {
        double lat;
        int zoom;
        double maxPixels;
        const char* label;
        double pixels;
    } bars[] = {
        {0, 0, 150, "20000 km", 127.76}, // 156543 m a pixel on the equator at zoom 0
        {45.5, 15, 150, "500 m", 149.32},
        {60, 18, 100, "20 m", 66.98},
    };
    for (const auto& b : bars) {
        const ScaleBar s = scaleBar(b.lat, b.zoom, b.maxPixels);
        EXPECT_EQ(s.label, b.label);
        EXPECT_NEAR(s.pixels, b.pixels, 0.01) << b.label;
        EXPECT_LE(s.pixels, b.maxPixels);
    }

    EXPECT_DOUBLE_EQ(gridStep(1024 / 360.0, 90), 45);      // zoom 2
    EXPECT_DOUBLE_EQ(gridStep(2097152 / 360.0, 90), 0.02); // zoom 13
    const struct {
        double degrees;
        bool latitude;
        double step;
        const char* text;
    } captions[] = {
        {-122.5, false, 0.5, "122.5\u00B0W"},
        {45, true, 5, "45\u00B0N"},
        {0, true, 0.1, "0\u00B0"},
        {-0.1, true, 0.1, "0.1\u00B0S"},
        {44.99999999, true, 0.05, "45.00\u00B0N"},
        {180, false, 45, "180\u00B0"},
        {-180, false, 45, "180\u00B0"},
        {-135, false, 45, "135\u00B0W"},
    };
    for (const auto& c : captions)
        EXPECT_EQ(gridLabel(c.degrees, c.latitude, c.step), c.text);
}
