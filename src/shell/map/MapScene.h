// What the situation map shows, taken from the station state: each occupied
// slot's track and its current position, its letter, the name it goes by on
// the maps and the colour of its last-heard label (moving, not moving,
// overdue ...).
#pragma once

#include "core/Colour.h"
#include "core/MapProjection.h"

#include <string>
#include <vector>

namespace qv {

struct Station;

struct MapMarker {
    int slot = 0;
    char letter = 'A';
    std::string name; // the tactical name where those go to the maps, else the CALL ID
    geo::LatLon pos;
    Colour fill = 0;  // the slot's colour
    Colour label = 0; // the slot's last-heard colour
};

struct MapTrack {
    int slot = 0;
    Colour colour = 0;
    std::vector<geo::LatLon> points;
};

struct MapScene {
    std::vector<MapTrack> tracks;
    std::vector<MapMarker> markers;

    const MapMarker* marker(int slot) const;
    std::vector<geo::LatLon> positions() const; // every marker's
};

MapScene sceneOf(const Station& st);

// The view of the given size that shows every station, or the whole world
// while there is none.
geo::View fitAll(const MapScene& scene, int width, int height);

} // namespace qv
