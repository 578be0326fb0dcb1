// The movement test and the overdue monitor: the colour of each slot's
// last-heard label, and the "Track/Map only if Green (Moving)" option.
#pragma once

#include <string>

namespace qv {

struct Context;

inline constexpr int kTimer2Interval = 60000;

class MovementMonitor {
public:
    explicit MovementMonitor(Context& ctx) : ctx_(ctx) {}

    // Runs the monitor pass once a minute on ctx.timer2 for the rest of the run.
    void start();

    // Sets `result` to "YES" when the report's `latitude`/`longitude` lie at
    // least 0.001 degree from `previous` in either axis, or `previous` is "0"
    // (a station not heard since its slot was set). Anything it cannot read
    // leaves `result` as it was. `current` is not consulted.
    void checkmovement(const std::string& previous, const std::string& current, std::string& result) const;

    // Settles the slot colours and marks tracked slots not heard within the
    // overdue limit yellow.
    void Timer2_Timer();

    void setOverdue(const std::string& text);
    void overdue_Change();
    void setCheckTrackOnlyMoving(bool on);
    void CheckTrackOnlyMoving_Click();

private:
    Context& ctx_;
};

} // namespace qv
