// The MapTech (and TopoUSA) files: marker, route and track files plus the
// marker and route history kept across archiving.
#pragma once

#include "mapfiles/MapFileStep.h"

namespace qv::mapfile {

class MapTechFiles : public MapFileStep {
public:
    using MapFileStep::MapFileStep;
    void write();
};

} // namespace qv::mapfile
