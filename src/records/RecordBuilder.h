// Builds the one text record of every map-file family from the current
// report, the matched slot's codes and the clock. The file writer adds only
// file structure around these lines.
#pragma once

#include "platform/Clock.h"

#include <string>

namespace qv {

struct Context;

class RecordBuilder {
public:
    explicit RecordBuilder(Context& ctx) : ctx_(ctx) {}

    // With no window to show them, the records of a report are only taken
    // down (time, position, names and codes as they are now) and built when
    // something asks for them: most reports are of stations nobody tracks.
    void makestrings();
    // Builds the records taken down by the last makestrings, if any.
    void ensurestrings();

private:
    struct Inputs {
        DateTime now;
        std::string lat, lon, trackname, stationcallsign, colourKey, markerWidth, tactical;
        bool tacticalInForce = false;
    };
    void build(const Inputs& in);

    Context& ctx_;
    Inputs pending_;
    bool deferred_ = false;
};

} // namespace qv
