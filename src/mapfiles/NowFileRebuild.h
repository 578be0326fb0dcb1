// The rotate-and-rebuild of a "now" file (one line per station, newest
// first): the previous version stays in the .tmp file, the new record comes
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

    // A "now" file missing beside its .tmp (a rebuild of an older version
    // stopped half way) is put back from the .tmp; true when it was.
    static bool restore(Context& ctx, const char* nowFile, const char* tmpFile);
    // Both "now" files, at start-up.
    static void restoreAll(Context& ctx);
};

} // namespace qv::mapfile
