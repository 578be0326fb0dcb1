// quorvel.gpx: GPX 1.1 with one waypoint per slot at its latest position and
// one track per slot holding every position written for it, with UTC times;
// the slot colour rides in the track extensions that map readers honour.
#pragma once

#include "mapfiles/PaddedDocument.h"

namespace qv::mapfile {

class GpxFile final : public PaddedDocument {
public:
    explicit GpxFile(Context& ctx);

protected:
    int blockCount() const override { return 2; } // the waypoint, the track's head
    std::string block(int slot, int which, bool listed) const override;
    bool blockShowsPosition(int which) const override { return which == 0; }
    std::string pointText(const TrackPoint& p, bool first) const override;
    std::string closing(bool) const override { return "</trkseg></trk>"; }
    void compose(Composer& c) const override;
    bool read(std::string_view doc, SlotTracks& out) const override;
};

} // namespace qv::mapfile
