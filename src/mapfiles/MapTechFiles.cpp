// One record to each of the five MapTech files; a file that cannot be written
// misses this record while the others still get theirs.
#include "mapfiles/MapTechFiles.h"

#include "mapfiles/MapFileIo.h"

namespace qv::mapfile {

void MapTechFiles::write() {
    show("Saving Files - MapTech");
    const RecordState& r = st().rec;
    const std::pair<const char*, const std::string*> lines[] = {
        {kTxf, &r.txfstring},        {kRxf, &r.rxfstring},        {kMxf, &r.mxfstring},
        {kHistoryMxf, &r.mxfstring}, {kHistoryRxf, &r.rxfstring},
    };
    // A plain pair, not a structured binding: clang before 16 cannot capture those.
    for (const auto& entry : lines)
        guarded([&] { appendLines(dir(), entry.first, {*entry.second}); });
}

} // namespace qv::mapfile
