// The old lines are read before anything is moved, and the new file replaces
// the old one whole, so no failure on the way can drop another station's line.
#include "mapfiles/NowFileRebuild.h"

#include "core/Text.h"
#include "core/WorkDir.h"
#include "mapfiles/MapFileIo.h"

namespace qv::mapfile {

std::vector<std::string> NowFileRebuild::rebuilt(const std::vector<std::string>& old, const std::string& record,
                                                 const std::string& callsign) {
    std::vector<std::string> lines{record};
    // A line is the station's when its callsign field is the callsign, not
    // when it holds it somewhere: N0CALL must not take the line of N0CALL-9.
    for (const auto& line : old)
        if (callsign.empty() || !text::iequals(thirdField(line), callsign)) lines.push_back(line);
    return lines;
}

void NowFileRebuild::rebuild(const char* nowFile, const char* tmpFile, const std::string& record,
                             const std::string& callsign) {
    std::vector<std::string> old;
    if (dir().exists(nowFile) && !guarded([&] { old = dir().readLines(nowFile); }))
        return; // unreadable: leave it as it is rather than rebuild it without its lines
    if (dir().exists(tmpFile)) guarded([&] { dir().remove(tmpFile); });
    bool rotated = false;
    if (dir().exists(nowFile)) rotated = guarded([&] { dir().rename(nowFile, tmpFile); });
    const auto lines = rebuilt(old, record, callsign);
    if (!guarded([&] { replaceLines(dir(), nowFile, lines); }) && rotated && !dir().exists(nowFile))
        guarded([&] { dir().rename(tmpFile, nowFile); }); // the map program keeps the previous positions
}

} // namespace qv::mapfile
