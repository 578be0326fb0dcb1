// What the situation map draws besides the slot table: the track of each
// slot's station as its reports were written, and the map pane's settings.
#pragma once

#include <array>
#include <cstdint>
#include <deque>
#include <string>

namespace qv {

inline constexpr const char* kDefaultTileUrl = "https://tile.openstreetmap.org/{z}/{x}/{y}.png";
// A week of one report a minute; older points drop off the front.
inline constexpr std::size_t kMaxTrackPoints = 10000;

struct TrackPoint {
    double lat = 0, lon = 0;
};

// One slot's track and whose it is: a report of another station starts it
// over, as the slot's Ozi track file does.
struct HeardTrack {
    std::string owner;
    std::deque<TrackPoint> points;
};

// The map pane as the operator left it.
struct MapPaneSettings {
    bool visible = true;
    // "left", "right", "top", "bottom", "floating", or "" until the operator
    // moves it: then beside the window where the screen has room, else under it.
    std::string place;
    bool tiles = true; // map tiles under the tracks; off: the plain grid
    std::string tileUrl = kDefaultTileUrl;
};

struct TrackState {
    std::array<HeardTrack, 8> slot; // slot n is slot[n - 1]
    std::uint64_t revision = 0;     // counts every change of the tracks
    MapPaneSettings pane;

    HeardTrack& operator[](int n) { return slot[static_cast<std::size_t>(n - 1)]; }
    const HeardTrack& operator[](int n) const { return slot[static_cast<std::size_t>(n - 1)]; }
    void clear() {
        for (HeardTrack& t : slot)
            t = {};
        ++revision;
    }
};

} // namespace qv
