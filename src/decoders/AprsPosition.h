// Plain APRS position reports: "@" and "/" with a time stamp (APRSmoving),
// "!" and "=" without (APRSfixed). Fixed character positions, uncompressed
// latitude and longitude only.
#pragma once

#include <cstddef>
#include <string>

namespace qv {

struct Context;

class AprsPosition {
public:
    explicit AprsPosition(Context& ctx) : ctx_(ctx) {}

    void APRSmoving();
    void APRSfixed();

private:
    struct Layout {
        std::size_t latDeg, latMin, ns, lonDeg, lonMin, ew;
    };
    void decode(const std::string& info, const Layout& at);

    Context& ctx_;
};

} // namespace qv
