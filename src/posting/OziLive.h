// Live posting to a running OziExplorer through its programming library: the
// station's waypoint moves to the new position and its slot's track grows.
#pragma once

#include <string>

namespace qv {

struct Context;

class OziLive {
public:
    explicit OziLive(Context& ctx) : ctx_(ctx) {}

    // The live waypoint step, run by the file writer in place of quorvel.wpt.
    // Without the library it writes quorvel.wpt after all, so no position is
    // lost, and notes the missing library once in the error file.
    void oziLivePost();

    // Whether the library is there to post to.
    bool libraryLoaded() const;

    // The slot whose CALL ID is `name` (case-blind; the highest such slot), 0 for none.
    int trackNumber(const std::string& name) const;

private:
    Context& ctx_;
    bool missingNoted_ = false;
};

} // namespace qv
