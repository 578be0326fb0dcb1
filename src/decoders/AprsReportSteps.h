// The steps that put a compressed position report, an object or an item into
// the current station report: the pure decoders do the reading, these write
// the position fields, or the error entry and the "ERROR " mark that drops it.
#pragma once

#include "core/Context.h"

namespace qv {

class AprsReportSteps {
public:
    explicit AprsReportSteps(Context& ctx) : ctx_(ctx) {}

    // The compressed position of the "!", "=", "@" or "/" report in `rawgpsdata`.
    void APRScompressed();
    // The position of the object or item in `rawgpsdata`; its name is the
    // classifier's to check and take.
    void APRSobject();

private:
    Context& ctx_;
};

} // namespace qv
