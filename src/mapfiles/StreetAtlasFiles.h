// The Street Atlas files: quorvelSA5.txt with every report and
// quorvelSA5now.txt with the latest report of each station.
#pragma once

#include "mapfiles/MapFileStep.h"

namespace qv::mapfile {

class StreetAtlasFiles : public MapFileStep {
public:
    using MapFileStep::MapFileStep;
    void fileStep();
    // Also switches Street Atlas file creation on (capture-all mode relies on it).
    void nowStep();
};

} // namespace qv::mapfile
