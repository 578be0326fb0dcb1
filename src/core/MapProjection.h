// The situation map's geometry: the Web Mercator projection of the usual tile
// servers, which tiles cover a view, the view that shows every station, and
// the steps of the grid and the scale bar. Pure functions, no drawing.
#pragma once

#include <compare>
#include <string>
#include <string_view>
#include <vector>

namespace qv::geo {

inline constexpr int kTileSize = 256;
inline constexpr int kMinZoom = 1;
inline constexpr int kMaxZoom = 19; // the deepest level of the standard tile layers
// Beyond this the projection runs off to infinity; tiles stop here.
inline constexpr double kMaxLatitude = 85.0511287798066;

struct LatLon {
    double lat = 0, lon = 0;
};

// Pixel position in the whole world's picture at one zoom level: (0, 0) is
// the north-west corner at 180 W, kTileSize << zoom the width and height.
struct WorldPoint {
    double x = 0, y = 0;
};

double worldSize(int zoom);
WorldPoint project(LatLon p, int zoom);
LatLon unproject(WorldPoint p, int zoom);

struct TileId {
    int z = 0, x = 0, y = 0;
    auto operator<=>(const TileId&) const = default;
};

// The tile holding a position.
TileId tileAt(LatLon p, int zoom);

// A tile and where its top-left corner falls in the view, in view pixels.
struct TilePlace {
    TileId tile;
    double left = 0, top = 0;
};

// A view: its centre, zoom level and size in pixels.
struct View {
    LatLon centre;
    int zoom = kMinZoom;
    int width = 0, height = 0;
};

// World position of the view's top-left corner.
WorldPoint viewOrigin(const View& v);
// Where a position falls in the view, in view pixels. Longitudes are taken
// on the side of the date line nearest the view's centre.
WorldPoint toView(const View& v, LatLon p);
LatLon fromView(const View& v, double x, double y);

// Every tile the view shows, rows from the top, columns from the left. The
// world repeats east and west, so columns wrap; rows stop at the poles.
std::vector<TilePlace> tilesFor(const View& v);

// The tile address: {z}, {x} and {y} of the template replaced.
std::string tileUrl(std::string_view urlTemplate, const TileId& t);

// The view moved by a drag of (dx, dy) pixels, and zoomed by `steps` levels
// keeping the position under view pixel (x, y) where it is.
View panned(View v, double dx, double dy);
View zoomedAt(View v, int steps, double x, double y);

// The deepest view (at most `maxZoom`) of the given size that shows every
// position with `margin` pixels to spare on each side; a single position is
// shown at `maxZoom`. An empty list leaves the view as it was.
View fitted(View v, const std::vector<LatLon>& points, int margin, int maxZoom);

// Ground metres per view pixel at a latitude.
double metresPerPixel(double lat, int zoom);

// A scale bar no longer than `maxPixels`: a round length (1, 2 or 5 times a
// power of ten, in metres or kilometres) and its length in pixels.
struct ScaleBar {
    double metres = 0;
    double pixels = 0;
    std::string label; // "500 m", "2 km"
};
ScaleBar scaleBar(double lat, int zoom, double maxPixels);

// A round step in degrees for grid lines no closer than `minPixels` when
// `pixelsPerDegree` pixels make a degree.
double gridStep(double pixelsPerDegree, double minPixels);
// A grid line's caption: "45°N", "122.5°W", "0°".
std::string gridLabel(double degrees, bool latitude, double step);

} // namespace qv::geo
