// The colour step (is the station tracked, and which slot's codes do its
// records carry) and the time step (when was the slot's station last heard).
#pragma once

namespace qv {

struct Context;

class ColourStamp {
public:
    explicit ColourStamp(Context& ctx) : ctx_(ctx) {}

    // Matches `trackname` against the tracked slots.
    void assigncolor();
    // Runs the monitor pass, then stamps the slot that `callsign` matches.
    void assigntime();

private:
    Context& ctx_;
};

} // namespace qv
