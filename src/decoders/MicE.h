// Mic-E position reports: latitude digits and the three flags travel in the
// destination address, the longitude in three characters of the information field.
#pragma once

#include "core/Context.h"

#include <string_view>

namespace qv {

class MicE {
public:
    explicit MicE(Context& ctx) : ctx_(ctx) {}

    // Decodes `micedata` into the position fields; marks `rawgpsdata` with
    // "ERROR " when the report is unusable.
    void micencoded();

private:
    Context& ctx_;
};

namespace mice {

// The digit character a destination character stands for.
char digitOf(char c);

// The six-character destination: the address after the first ">" (the line
// start when there is none), ended by its SSID, the path or the information
// field. Failure 5 when it has fewer than six characters.
std::string_view destination(std::string_view line);

// The information field: after the first ":`", else after the first ":'",
// up to the line end; empty when there is neither.
std::string_view infoField(std::string_view line);

} // namespace mice

} // namespace qv
