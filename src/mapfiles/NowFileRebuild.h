// The rotate-and-rebuild of a "now" file (one line per station, newest
// first): the previous version goes to the .tmp file, the new record comes
// first, and every earlier line of another station follows. Both files carry
// the station in their third field.
#pragma once

#include "mapfiles/MapFileStep.h"

#include <string>
#include <vector>

namespace qv::mapfile {

class NowFileRebuild : public MapFileStep {
public:
    using MapFileStep::MapFileStep;

    void rebuild(const char* nowFile, const char* tmpFile, const std::string& record, const std::string& callsign);

    // The new file's lines: the record, then the old lines whose third field
    // is not the callsign (letter case ignored).
    static std::vector<std::string> rebuilt(const std::vector<std::string>& old, const std::string& record,
                                            const std::string& callsign);
};

} // namespace qv::mapfile
