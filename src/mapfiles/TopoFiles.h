// The TOPO! files (cumulative waypoints, latest waypoint per slot, latest
// waypoint per callsign) and the SPOTFIRES file quorvel.olt.
#pragma once

#include "mapfiles/MapFileStep.h"
#include "mapfiles/TopoNameIndex.h"

#include <array>
#include <string>
#include <vector>

namespace qv::mapfile {

class TopoFiles : public MapFileStep {
public:
    TopoFiles(Context& ctx, TopoNameIndex& names) : MapFileStep(ctx), names_(names) {}

    // quorvelNGTOPO.txt (one name per minute and slot) and quorvelNGTOPOnow.txt.
    void topoStep();
    void nowCallStep();
    void spotfiresStep();

    // The lines of the slot "now" file after `record` joined `lines`: per slot
    // A..H the latest line, the reporting slot's being the record. `unmatched`
    // counts the non-empty lines no slot claims.
    static std::vector<std::string> slotLines(const std::vector<std::string>& lines, const std::string& record,
                                              const SlotState& slots, int& unmatched);

private:
    void nowStep(const std::string& record);

    TopoNameIndex& names_;
};

} // namespace qv::mapfile
