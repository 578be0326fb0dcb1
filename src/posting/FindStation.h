// "Find Station in Street Atlas": centres a running Street Atlas on the last
// position of one station, typed into its location dialog.
#pragma once

namespace qv {

struct Context;

class FindStation {
public:
    explicit FindStation(Context& ctx) : ctx_(ctx) {}

    void findstaSA5_Click();

private:
    Context& ctx_;
};

} // namespace qv
