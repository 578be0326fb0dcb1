// quorvel.kml: KML 2.2, a folder per slot with a placemark at the latest
// position (an icon in the slot colour, the display name, the time) and the
// line of its track; quorvellive.kml: a network link that has a virtual globe
// read quorvel.kml again every 10 seconds, written when it is missing.
#pragma once

#include "mapfiles/PaddedDocument.h"

namespace qv::mapfile {

class KmlFiles final : public PaddedDocument {
public:
    explicit KmlFiles(Context& ctx);

    // Writes quorvellive.kml when it is not there.
    void liveLink();
    static std::string liveLinkText();

protected:
    int blockCount() const override { return 1; } // the folder head with the latest position
    std::string block(int slot, int which, bool listed) const override;
    // A line needs two positions: one alone is shown by its placemark only.
    bool listed(int slot) const override { return slots_[static_cast<std::size_t>(slot)].points.size() >= 2; }
    std::string pointText(const TrackPoint& p, bool first) const override;
    std::string closing(bool listed) const override;
    void compose(Composer& c) const override;
    bool read(std::string_view doc, SlotTracks& out) const override;
};

} // namespace qv::mapfile
