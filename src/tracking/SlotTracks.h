// The tracks the situation map draws: each written report of a slot's
// station joins that slot's track in memory, and at start each track comes
// back from the slot's Ozi track file, so the map shows what the files hold.
#pragma once

#include <string>
#include <vector>

namespace qv {

struct Context;
struct HeardTrack;
struct TrackPoint;

class TrackMemory {
public:
    explicit TrackMemory(Context& ctx) : ctx_(ctx) {}

    // After the file writer wrote the current report.
    void addtrackpoint();
    // Each occupied slot's track from quorvelIDn.plt, when that file is its
    // station's; the tracks in memory are replaced.
    void loadtracks();

    // The positions of an Ozi track file's lines, header left out. `fromTop`
    // says the lines start at the top of the file (else at a line inside it).
    static std::vector<TrackPoint> trackPoints(const std::vector<std::string>& lines, bool fromTop);

private:
    Context& ctx_;
};

// Adds a point to a track, keeping at most kMaxTrackPoints; false when the
// point repeats the last one and was left out.
bool extendTrack(HeardTrack& track, const TrackPoint& p);

} // namespace qv
