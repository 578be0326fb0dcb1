// Settings kept in quorvel.cfg that no other part of the state holds yet (the
// import files of the map programs and the display type), and the help file
// start-up found.
#pragma once

#include <string>

namespace qv {

struct SettingsState {
    std::string importPathMapTech;
    std::string importPathStreetAtlas;
    std::string importPathNatGeoTopo;
    std::string designatedNgTopoMap;
    // Name of the selected display-type option ("OptionMapPostbyTRACK" ...), "" when none.
    std::string mapDataFormat;

    std::string helpFile; // QUORVEL.HLP when present
};

} // namespace qv
