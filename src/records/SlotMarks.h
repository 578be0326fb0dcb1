// The position step: the matched slot's last position, its movement colour,
// the raw line behind its letter, and the moving marker.
#pragma once

#include <string>
#include <string_view>

namespace qv {

struct Context;

// The first 7 characters of the latitude and the first 9 of the longitude,
// cut rather than rounded, joined by ", ".
std::string positionText(std::string_view latitude, std::string_view longitude);

class SlotMarks {
public:
    explicit SlotMarks(Context& ctx) : ctx_(ctx) {}

    void assigncoords();

private:
    Context& ctx_;
};

} // namespace qv
