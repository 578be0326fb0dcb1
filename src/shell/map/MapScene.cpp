// From the slot table and the tracks to markers and lines.
#include "shell/map/MapScene.h"

#include "core/NumberText.h"
#include "core/Station.h"
#include "core/Text.h"
#include "tracking/SlotMatch.h"

#include <cmath>

namespace qv {

namespace {

constexpr int kFitMargin = 48;
constexpr int kFitDeepest = 15; // a lone station is shown with its streets around it

// The slot's last position as its position field shows it ("45.5031, -122.6755").
bool shownPosition(const std::string& text, geo::LatLon& p) {
    const std::size_t c = text.find(',');
    if (c == std::string::npos) return false;
    const std::string lat = text::trim(text.substr(0, c)), lon = text::trim(text.substr(c + 1));
    if (!num::isNumeric(lat) || !num::isNumeric(lon)) return false;
    p = {num::strict(lat), num::strict(lon)};
    // The file writer refuses a zero coordinate as no position; so does the map.
    return p.lat != 0 && p.lon != 0 && std::fabs(p.lat) <= 90 && std::fabs(p.lon) <= 180;
}

} // namespace

const MapMarker* MapScene::marker(int slot) const {
    for (const MapMarker& m : markers)
        if (m.slot == slot) return &m;
    return nullptr;
}

std::vector<geo::LatLon> MapScene::positions() const {
    std::vector<geo::LatLon> out;
    for (const MapMarker& m : markers)
        out.push_back(m.pos);
    return out;
}

MapScene sceneOf(const Station& st) {
    MapScene scene;
    for (int n = 1; n <= 8; ++n) {
        if (isFree(st.slots, n)) continue;
        const Slot& s = st.slots[n];
        const HeardTrack& track = st.tracks[n];
        const bool own = !track.points.empty() && text::iequals(track.owner, s.CallsignID);
        if (own) {
            MapTrack t{n, s.back, {}};
            t.points.reserve(track.points.size());
            for (const TrackPoint& p : track.points)
                t.points.push_back({p.lat, p.lon});
            scene.tracks.push_back(std::move(t));
        }
        geo::LatLon pos;
        if (!shownPosition(s.location, pos)) continue;
        // The position field cuts the digits (to three decimals at worst);
        // the track has them all when its last point is the same place.
        if (own) {
            const TrackPoint& last = track.points.back();
            if (std::fabs(last.lat - pos.lat) < 0.001 && std::fabs(last.lon - pos.lon) < 0.001)
                pos = {last.lat, last.lon};
        }
        const bool tactical = st.tracking.CheckMapTacticalNames.inForce() && !s.Teamname.empty();
        scene.markers.push_back(
            {n, SlotState::letter(n), tactical ? s.Teamname : s.CallsignID, pos, s.back, s.lastHeardBack});
    }
    return scene;
}

geo::View fitAll(const MapScene& scene, int width, int height) {
    geo::View world{{20, 0}, 2, width, height};
    return geo::fitted(world, scene.positions(), kFitMargin, kFitDeepest);
}

} // namespace qv
