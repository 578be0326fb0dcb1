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

bool OziFiles::ownedByOther(const std::vector<std::string>& head, const std::string& callsign) {
    // The fifth header line names the owner; a contained callsign counts as found.
    for (std::size_t i = 0; i < head.size(); ++i) {
        if (text::icontains(head[i], callsign)) return false;
        if (head[i].empty() || i + 1 == 5) return true;
    }
    return false;
}

void OziFiles::waypointStep(bool duplicate) {
    show("Saving Files - Ozi");
    std::vector<std::string> lines;
    if (!dir().exists(kWpt)) lines = waypointHeader();
    if (!duplicate) lines.push_back(st().rec.wptstring);
    if (lines.empty()) return;
    guarded([&] { appendLines(dir(), kWpt, lines); });
}

void OziFiles::trackStep() {
    const std::string& callsign = st().report.callsign;
    const int slot = slotOf(st().slots, callsign);
    if (slot == 0) return;
    const std::string file = trackFileName(slot);

    if (dir().exists(file)) {
        std::vector<std::string> head;
        // An unreadable file is kept and appended to rather than thrown away.
        if (guarded([&] { head = headLines(dir(), file, 5); }) && ownedByOther(head, callsign))
            guarded([&] { dir().remove(file); });
    }
    std::vector<std::string> lines;
    if (!dir().exists(file)) lines = trackHeader(st().rec.ozicolor, callsign);
    lines.push_back(st().rec.pltstring);
    guarded([&] { appendLines(dir(), file, lines); });
}

} // namespace qv::mapfile
