// Street Atlas: the cumulative file is appended, the "now" file rebuilt.
#include "mapfiles/StreetAtlasFiles.h"

#include "mapfiles/MapFileIo.h"
#include "mapfiles/NowFileRebuild.h"

namespace qv::mapfile {

void StreetAtlasFiles::fileStep() {
    show("Saving Files - Street Atlas");
    guarded([&] { appendLines(dir(), kSa5, {st().rec.sa5string}); });
}

void StreetAtlasFiles::nowStep() {
    st().map.menucreatestreetatlasfiles = true;
    show("Saving Files - Street Atlas NOW");
    NowFileRebuild(ctx_).rebuild(kSa5Now, kSa5NowTmp, st().rec.sa5string, st().report.callsign);
}

} // namespace qv::mapfile
