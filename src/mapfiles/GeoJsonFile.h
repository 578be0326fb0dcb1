// quorvel.geojson: an RFC 7946 feature collection (longitude before
// latitude) with a point per slot at its latest position, carrying the slot
// letter, callsign, tactical name, colour and time, and a line per slot track;
// the colours are also given in the style properties web maps read.
#pragma once

#include "mapfiles/PaddedDocument.h"

namespace qv::mapfile {

class GeoJsonFile final : public PaddedDocument {
public:
    explicit GeoJsonFile(Context& ctx);

protected:
    int blockCount() const override { return 1; } // the point feature and the line's head
    std::string block(int slot, int which, bool listed) const override;
    // A line string needs two positions: one alone is shown by its point only.
    bool listed(int slot) const override { return slots_[static_cast<std::size_t>(slot)].points.size() >= 2; }
    std::string pointText(const TrackPoint& p, bool first) const override;
    std::string closing(bool listed) const override { return listed ? "\r\n]}}" : ""; }
    void compose(Composer& c) const override;
    bool read(std::string_view doc, SlotTracks& out) const override;
};

} // namespace qv::mapfile
