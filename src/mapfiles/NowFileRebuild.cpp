// The new file is written whole beside the old one and renamed over it, and
// the old one gets its .tmp name before that rename: the "now" file is in
// place at every moment, so no stop, however abrupt, can lose the stations.
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
    // The lines we last put there, while the file is still that one: a
    // rebuild then costs no read, however many stations the file holds.
    const std::vector<std::string>* known = dir().linesAsReplaced(nowFile);
    const bool present = known || dir().exists(nowFile);
    if (known)
        old = *known;
    else if (present && !guarded([&] { old = dir().readLines(nowFile); }))
        return; // unreadable: leave it as it is rather than rebuild it without its lines
    // Without the file, or with one a power loss left empty, its .tmp holds
    // the stations it had.
    if (old.empty() && dir().exists(tmpFile)) guarded([&] { old = dir().readLines(tmpFile); });
    ReplaceOptions options;
    options.remember = true;
    if (present) options.keepPreviousAs = tmpFile;
    guarded([&] { dir().replaceLinesAtomically(nowFile, rebuilt(old, record, callsign), options); });
}

bool NowFileRebuild::restore(Context& ctx, const char* nowFile, const char* tmpFile) {
    if (ctx.dir.exists(nowFile) || !ctx.dir.exists(tmpFile)) return false;
    return ctx.log.guard(kSavefilesMarker, [&] { ctx.dir.copyAtomically(tmpFile, nowFile); });
}

void NowFileRebuild::restoreAll(Context& ctx) {
    restore(ctx, kSa5Now, kSa5NowTmp);
    restore(ctx, kTopoNowCall, kTopoNowCallTmp);
}

} // namespace qv::mapfile
