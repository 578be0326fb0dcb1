// Builds the one text record of every map-file family from the current
// report, the matched slot's codes and the clock. The file writer adds only
// file structure around these lines.
#pragma once

namespace qv {

struct Context;

class RecordBuilder {
public:
    explicit RecordBuilder(Context& ctx) : ctx_(ctx) {}

    void makestrings();

private:
    Context& ctx_;
};

} // namespace qv
