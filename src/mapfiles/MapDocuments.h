// The open map formats (GPX, KML, GeoJSON) as the last step of the
// file-writing pass: one entry made from the report, handed to each family
// that is switched on.
#pragma once

#include "mapfiles/GeoJsonFile.h"
#include "mapfiles/GpxFile.h"
#include "mapfiles/KmlFiles.h"

#include <optional>

namespace qv::mapfile {

class MapDocuments {
public:
    explicit MapDocuments(Context& ctx) : gpx(ctx), kml(ctx), geojson(ctx), ctx_(ctx) {}

    void write();

    // The report as the documents take it; nullopt when its callsign is in no
    // slot. Failure 13 for a position that is no number, 5 for one off the globe.
    std::optional<MapEntry> entry() const;

    GpxFile gpx;
    KmlFiles kml;
    GeoJsonFile geojson;

private:
    Context& ctx_;
};

} // namespace qv::mapfile
