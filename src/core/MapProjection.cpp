// Web Mercator as the tile servers cut it (EPSG:3857 on a 256-pixel tile).
#include "core/MapProjection.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <numbers>

namespace qv::geo {

namespace {

constexpr double kPi = std::numbers::pi;
// The equator's length over one tile: ground metres per pixel at zoom 0.
constexpr double kMetresPerPixelZ0 = 2 * kPi * 6378137.0 / kTileSize;

double clampLat(double lat) { return std::clamp(lat, -kMaxLatitude, kMaxLatitude); }

// Longitude in [-180, 180).
double normalLon(double lon) {
    double l = std::fmod(lon + 180.0, 360.0);
    if (l < 0) l += 360.0;
    return l - 180.0;
}

int clampZoom(int z) { return std::clamp(z, kMinZoom, kMaxZoom); }

} // namespace

double worldSize(int zoom) { return std::ldexp(static_cast<double>(kTileSize), zoom); }

WorldPoint project(LatLon p, int zoom) {
    const double w = worldSize(zoom);
    const double phi = clampLat(p.lat) * kPi / 180.0;
    const double y = (1.0 - std::log(std::tan(phi) + 1.0 / std::cos(phi)) / kPi) / 2.0;
    return {(p.lon + 180.0) / 360.0 * w, y * w};
}

LatLon unproject(WorldPoint p, int zoom) {
    const double w = worldSize(zoom);
    const double lat = std::atan(std::sinh(kPi * (1.0 - 2.0 * p.y / w))) * 180.0 / kPi;
    return {lat, p.x / w * 360.0 - 180.0};
}

TileId tileAt(LatLon p, int zoom) {
    const WorldPoint w = project(p, zoom);
    const int n = 1 << zoom;
    const int x = std::clamp(static_cast<int>(std::floor(w.x / kTileSize)), 0, n - 1);
    const int y = std::clamp(static_cast<int>(std::floor(w.y / kTileSize)), 0, n - 1);
    return {zoom, x, y};
}

WorldPoint viewOrigin(const View& v) {
    const WorldPoint c = project(v.centre, v.zoom);
    return {c.x - v.width / 2.0, c.y - v.height / 2.0};
}

WorldPoint toView(const View& v, LatLon p) {
    const double w = worldSize(v.zoom);
    const WorldPoint c = project(v.centre, v.zoom);
    const WorldPoint q = project(p, v.zoom);
    double dx = std::fmod(q.x - c.x, w);
    if (dx > w / 2) dx -= w;
    if (dx < -w / 2) dx += w;
    return {v.width / 2.0 + dx, v.height / 2.0 + (q.y - c.y)};
}

LatLon fromView(const View& v, double x, double y) {
    const WorldPoint o = viewOrigin(v);
    LatLon p = unproject({o.x + x, o.y + y}, v.zoom);
    p.lon = normalLon(p.lon);
    return p;
}

std::vector<TilePlace> tilesFor(const View& v) {
    std::vector<TilePlace> out;
    if (v.width <= 0 || v.height <= 0) return out;
    const WorldPoint o = viewOrigin(v);
    const int n = 1 << v.zoom;
    const int col0 = static_cast<int>(std::floor(o.x / kTileSize));
    const int col1 = static_cast<int>(std::floor((o.x + v.width - 1) / kTileSize));
    const int row0 = std::max(0, static_cast<int>(std::floor(o.y / kTileSize)));
    const int row1 = std::min(n - 1, static_cast<int>(std::floor((o.y + v.height - 1) / kTileSize)));
    for (int row = row0; row <= row1; ++row)
        for (int col = col0; col <= col1; ++col)
            out.push_back({{v.zoom, ((col % n) + n) % n, row},
                           static_cast<double>(col) * kTileSize - o.x,
                           static_cast<double>(row) * kTileSize - o.y});
    return out;
}

std::string tileUrl(std::string_view urlTemplate, const TileId& t) {
    std::string out;
    out.reserve(urlTemplate.size() + 16);
    for (std::size_t i = 0; i < urlTemplate.size();) {
        const std::string_view rest = urlTemplate.substr(i);
        if (rest.starts_with("{z}")) {
            out += std::to_string(t.z);
        } else if (rest.starts_with("{x}")) {
            out += std::to_string(t.x);
        } else if (rest.starts_with("{y}")) {
            out += std::to_string(t.y);
        } else {
            out += urlTemplate[i++];
            continue;
        }
        i += 3;
    }
    return out;
}

View panned(View v, double dx, double dy) {
    WorldPoint c = project(v.centre, v.zoom);
    c.x -= dx;
    c.y = std::clamp(c.y - dy, 0.0, worldSize(v.zoom));
    v.centre = unproject(c, v.zoom);
    v.centre.lon = normalLon(v.centre.lon);
    return v;
}

View zoomedAt(View v, int steps, double x, double y) {
    const int z = clampZoom(v.zoom + steps);
    if (z == v.zoom) return v;
    const LatLon under = fromView(v, x, y);
    const WorldPoint p = project(under, z);
    WorldPoint c{p.x - (x - v.width / 2.0), p.y - (y - v.height / 2.0)};
    c.y = std::clamp(c.y, 0.0, worldSize(z));
    v.zoom = z;
    v.centre = unproject(c, z);
    v.centre.lon = normalLon(v.centre.lon);
    return v;
}

View fitted(View v, const std::vector<LatLon>& points, int margin, int maxZoom) {
    if (points.empty()) return v;
    double south = 90, north = -90, west = 180, east = -180;
    for (const LatLon& p : points) {
        south = std::min(south, clampLat(p.lat));
        north = std::max(north, clampLat(p.lat));
        west = std::min(west, p.lon);
        east = std::max(east, p.lon);
    }
    const double roomX = std::max(1, v.width - 2 * margin);
    const double roomY = std::max(1, v.height - 2 * margin);
    int z = clampZoom(maxZoom);
    for (; z > kMinZoom; --z) {
        const WorldPoint nw = project({north, west}, z), se = project({south, east}, z);
        if (se.x - nw.x <= roomX && se.y - nw.y <= roomY) break;
    }
    const WorldPoint nw = project({north, west}, z), se = project({south, east}, z);
    v.zoom = z;
    v.centre = unproject({(nw.x + se.x) / 2, (nw.y + se.y) / 2}, z);
    return v;
}

double metresPerPixel(double lat, int zoom) {
    return kMetresPerPixelZ0 * std::cos(clampLat(lat) * kPi / 180.0) / std::ldexp(1.0, zoom);
}

ScaleBar scaleBar(double lat, int zoom, double maxPixels) {
    const double mpp = metresPerPixel(lat, zoom);
    const double most = mpp * maxPixels;
    double round = std::pow(10.0, std::floor(std::log10(most)));
    if (5 * round <= most)
        round *= 5;
    else if (2 * round <= most)
        round *= 2;
    ScaleBar s;
    s.metres = round;
    s.pixels = round / mpp;
    char text[32];
    if (round >= 1000)
        std::snprintf(text, sizeof text, "%g km", round / 1000);
    else
        std::snprintf(text, sizeof text, "%g m", round);
    s.label = text;
    return s;
}

double gridStep(double pixelsPerDegree, double minPixels) {
    static constexpr double kSteps[] = {0.0001, 0.0002, 0.0005, 0.001, 0.002, 0.005, 0.01, 0.02, 0.05, 0.1,
                                        0.2,    0.5,    1,      2,     5,     10,    15,   30,   45,   90};
    for (double s : kSteps)
        if (s * pixelsPerDegree >= minPixels) return s;
    return 90;
}

std::string gridLabel(double degrees, bool latitude, double step) {
    const int decimals = std::max(0, static_cast<int>(std::ceil(-std::log10(step) - 1e-9)));
    const double whole = std::round(degrees / step) * step; // no 44.99999 for 45
    char text[40];
    std::snprintf(text, sizeof text, "%.*f\u00B0", decimals, std::fabs(whole));
    std::string s = text;
    const double tiny = step / 1000;
    if (whole > tiny) s += latitude ? "N" : "E";
    if (whole < -tiny) s += latitude ? "S" : "W";
    if (std::fabs(whole) <= tiny) s = "0\u00B0";
    if (!latitude && std::fabs(std::fabs(whole) - 180) <= tiny) s = "180\u00B0"; // east and west meet there
    return s;
}

} // namespace qv::geo
