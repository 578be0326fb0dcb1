// The OziExplorer files: the waypoint file quorvel.wpt and one track file per
// slot, quorvelID1.plt .. quorvelID8.plt, each owned by the slot's station.
#pragma once

#include "mapfiles/MapFileStep.h"

#include <array>
#include <string>
#include <vector>

namespace qv::mapfile {

class OziFiles : public MapFileStep {
public:
    // `owners`, kept by the caller from pass to pass, remembers per slot the
    // station whose track points the file last took.
    explicit OziFiles(Context& ctx, std::array<std::string, 9>* owners = nullptr) : MapFileStep(ctx), owners_(owners) {}

    // Creates the file with its header when missing; the record itself is
    // left out for a duplicate.
    void waypointStep(bool duplicate);
    void trackStep();

    static std::string trackFileName(int slot);
    static std::vector<std::string> waypointHeader();
    static std::vector<std::string> trackHeader(const std::string& ozicolor, const std::string& callsign);
    // The first slot (1..8) holding `callsign`, 0 for none.
    static int slotOf(const SlotState& slots, const std::string& callsign);
    // Whether the head of an existing track file says it belongs to another station.
    static bool ownedByOther(const std::vector<std::string>& head, const std::string& callsign);

private:
    std::array<std::string, 9>* owners_;
};

} // namespace qv::mapfile
