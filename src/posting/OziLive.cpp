// Live waypoint step through the OziExplorer library port.
#include "posting/OziLive.h"

#include "core/Context.h"
#include "core/ErrorLog.h"
#include "core/NumberText.h"
#include "core/Station.h"
#include "core/Text.h"
#include "mapfiles/OziFiles.h"
#include "platform/OziApi.h"

namespace qv {

namespace {
constexpr const char* kMarker = " in SUB SAVEFILES ";
} // namespace

int OziLive::trackNumber(const std::string& name) const {
    int track = 0;
    for (int n = 1; n <= 8; ++n)
        if (text::iequals(ctx_.st.slots[n].CallsignID, name)) track = n;
    return track;
}

namespace {
OziApi& library(OziApi* given) {
    static MissingOziApi missing;
    return given ? *given : missing;
}
} // namespace

bool OziLive::libraryLoaded() const { return library(ctx_.ozi).loaded(); }

void OziLive::oziLivePost() {
    OziApi& ozi = library(ctx_.ozi);
    if (!ozi.loaded()) {
        if (!missingNoted_) {
            missingNoted_ = true;
            ctx_.log.entry(48, "Error in loading DLL", kMarker);
        }
        mapfile::OziFiles(ctx_).waypointStep(false);
        return;
    }
    const ReportState& r = ctx_.st.report;
    const std::string name = r.trackname;
    const int track = trackNumber(name);
    // Each call stands alone: a failed one is logged and the next is made.
    ctx_.log.guard(kMarker, [&] { ozi.oziDeleteWpByName(name); });
    ctx_.log.guard(kMarker, [&] {
        ozi.oziCreateTrackPoint(track, 0, num::strict(r.latitude), num::strict(r.longitude), -777, -1);
    });
    ctx_.log.guard(kMarker, [&] {
        ozi.oziCreateWP(name, 0, num::strict(r.latitude), num::strict(r.longitude), 0, -1, 4, 0, 0, 0,
                        static_cast<int>(num::strictInt(ctx_.st.rec.ozicolor)), 0, r.incomingdata, 10, 0, 17);
    });
    ctx_.log.guard(kMarker, [&] { ozi.oziRefreshMap(); });
    ctx_.log.guard(kMarker, [&] { ozi.oziSaveWPfile("quorvelOziBackup.wpt"); });
}

} // namespace qv
