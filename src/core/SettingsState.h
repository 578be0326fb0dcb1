// Settings kept in quorvel.cfg that no other part of the state holds yet (the
// import files of the map programs and the display type), and the help file
// start-up found.
#pragma once

#include <string>

namespace qv {

// The import files and the display type live with the map options (MapState).
struct SettingsState {
    std::string helpFile; // QUORVEL.HLP when present
};

} // namespace qv
