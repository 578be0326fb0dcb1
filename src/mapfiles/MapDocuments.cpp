// The entry of a report and the three families in turn.
#include "mapfiles/MapDocuments.h"

#include "core/Failure.h"
#include "core/NumberText.h"
#include "core/Station.h"
#include "mapfiles/MapText.h"
#include "mapfiles/OziFiles.h"
#include "platform/Clock.h"

namespace qv::mapfile {

std::optional<MapEntry> MapDocuments::entry() const {
    const Station& st = ctx_.st;
    const std::string& call = st.report.callsign;
    // The slot as the Ozi track files find it, so both show the same tracks.
    const int n = OziFiles::slotOf(st.slots, call);
    if (n == 0) return std::nullopt;
    MapEntry e;
    e.slot = n;
    e.callsign = call;
    e.tactical = st.slots[n].Teamname.empty() ? "Tac" + std::string(1, SlotState::letter(n)) : st.slots[n].Teamname;
    e.name = st.tracking.CheckMapTacticalNames.inForce() ? e.tactical : st.report.trackname;
    if (e.name.empty()) e.name = call;
    e.point.lat = num::strict(st.report.latitude);
    e.point.lon = num::strict(st.report.longitude);
    if (!onGlobe(e.point.lat, e.point.lon)) throw Failure(err::InvalidCall);
    e.point.time = utcSeconds(ctx_.clock.now());
    return e;
}

void MapDocuments::write() {
    const MapState& m = ctx_.st.map;
    if (!m.menucreategpxfile && !m.menucreatekmlfiles && !m.menucreategeojsonfile) return;
    std::optional<MapEntry> e;
    if (!ctx_.log.guard(kSavefilesMarker, [&] { e = entry(); }) || !e) return;
    if (m.menucreategpxfile) gpx.step(*e);
    if (m.menucreatekmlfiles) {
        kml.step(*e);
        kml.liveLink();
    }
    if (m.menucreategeojsonfile) geojson.step(*e);
}

} // namespace qv::mapfile
