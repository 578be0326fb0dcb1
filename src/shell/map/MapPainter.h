// Draws the situation map: the tiles (or, where there are none, a latitude
// and longitude grid), the slots' tracks and markers, the scale bar and the
// tile attribution. The map pane and the headless snapshot both draw with it.
#pragma once

#include "core/MapProjection.h"

class QImage;
class QPainter;

namespace qv {

struct MapScene;
class TileStore;

inline constexpr const char* kTileAttribution = "\u00A9 OpenStreetMap contributors";

// `tiles` null: the grid alone.
void paintMap(QPainter& p, const geo::View& view, const MapScene& scene, const TileStore* tiles);

// The map as a picture of the view's size.
QImage renderMap(const geo::View& view, const MapScene& scene, const TileStore* tiles);

} // namespace qv
