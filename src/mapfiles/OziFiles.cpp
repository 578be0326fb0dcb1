// Waypoints for every report; track points only into the track file of the
// reporting station's slot, which starts over when the slot changed hands.
#include "mapfiles/OziFiles.h"

#include "core/Text.h"
#include "core/WorkDir.h"
#include "mapfiles/MapFileIo.h"

namespace qv::mapfile {

std::string OziFiles::trackFileName(int slot) { return "quorvelID" + std::to_string(slot) + ".plt"; }

std::vector<std::string> OziFiles::waypointHeader() {
    return {"OziExplorer Waypoint File Version 1.1 CREATED BY QUORVEL", "WGS 84", "Reserved 2",
            "Above lines are created as default by Quorvel"};
}

std::vector<std::string> OziFiles::trackHeader(const std::string& ozicolor, const std::string& callsign) {
    return {"OziExplorer Track Point File Version 2.1 CREATED BY QUORVEL",
            "WGS 84",
            "Altitude is in Feet",
            "Reserved 3",
            "0,2," + ozicolor + "," + callsign + "              ,0,0,2,8421376",
            "50"};
}

int OziFiles::slotOf(const SlotState& slots, const std::string& callsign) {
    if (callsign.empty()) return 0; // an empty CALL ID is a free slot, not a station
    for (int n = 1; n <= 8; ++n)
        if (text::iequals(slots[n].CallsignID, callsign)) return n;
    return 0;
}

namespace {

// Whether one comma-separated field of the line, without its surrounding
// blanks, is the callsign. A name only contained in a field is another
// station's: N0CALL is not N0CALL-9, nor is the object "AID 1" the "AID 12".
bool namesStation(std::string_view line, const std::string& callsign) {
    std::size_t from = 0;
    for (;;) {
        const std::size_t comma = line.find(',', from);
        const std::string_view field = line.substr(from, comma == std::string_view::npos ? comma : comma - from);
        if (text::iequals(text::trim(field), callsign)) return true;
        if (comma == std::string_view::npos) return false;
        from = comma + 1;
    }
}

} // namespace

bool OziFiles::ownedByOther(const std::vector<std::string>& head, const std::string& callsign) {
    // The fifth header line names the owner.
    for (std::size_t i = 0; i < head.size(); ++i) {
        if (namesStation(head[i], callsign)) return false;
        if (head[i].empty() || i + 1 == 5) return true;
    }
    return false;
}

void OziFiles::waypointStep(bool duplicate) {
    show("Saving Files - Ozi");
    if (!duplicate) {
        guarded([&] { appendLines(dir(), kWpt, {st().rec.wptstring}, waypointHeader()); });
        return;
    }
    // A duplicate leaves its record out, but a missing file is still created.
    if (!dir().exists(kWpt)) guarded([&] { appendLines(dir(), kWpt, waypointHeader()); });
}

void OziFiles::trackStep() {
    const std::string& callsign = st().report.callsign;
    const int slot = slotOf(st().slots, callsign);
    if (slot == 0) return;
    const std::string file = trackFileName(slot);
    std::string* owner = owners_ ? &(*owners_)[static_cast<std::size_t>(slot)] : nullptr;
    // Still the file this station's last point went to, untouched since: its
    // head was read then, and says the same now.
    if (owner && *owner == callsign && dir().untouchedSinceAppend(file)) {
        if (!guarded([&] { appendLines(dir(), file, {st().rec.pltstring}); })) owner->clear();
        return;
    }
    if (owner) owner->clear();

    if (dir().exists(file)) {
        std::vector<std::string> head;
        // An unreadable file is kept and appended to rather than thrown away.
        if (guarded([&] { head = headLines(dir(), file, 5); }) && ownedByOther(head, callsign))
            guarded([&] { dir().remove(file); });
    }
    if (guarded([&] { appendLines(dir(), file, {st().rec.pltstring}, trackHeader(st().rec.ozicolor, callsign)); }) &&
        owner)
        *owner = callsign;
}

} // namespace qv::mapfile
