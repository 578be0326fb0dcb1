// $GPWPL waypoint and $GPWGT sentences: the line goes through a scratch file
// and is read back as comma-separated fields counted from the start of the line.
#pragma once

#include "core/Context.h"

namespace qv {

class Waypoints {
public:
    explicit Waypoints(Context& ctx) : ctx_(ctx) {}

    // Decodes the waypoint line handed over in `gpwpldata`.
    void gpwpl();
    // Takes fields 3 to 6 of the line handed over in `gpwgtdata` as they stand.
    void gpwgt();

private:
    Context& ctx_;
};

inline constexpr const char* kGpwplFile = "quorvelGPWPL.txt";
inline constexpr const char* kGpwgtFile = "quorvelGPWGT.txt";

} // namespace qv
