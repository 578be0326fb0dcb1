// A timer that ticks only when a test says so.
#pragma once

#include "platform/Timer.h"

namespace qv::test {

class FakeTimer final : public Timer {
public:
    void setInterval(int milliseconds) override { interval_ = milliseconds; }
    int interval() const override { return interval_; }
    void setEnabled(bool on) override { enabled_ = on; }
    bool isEnabled() const override { return enabled_; }

    // One tick, as the running timer would deliver it; a stopped timer stays silent.
    void fire() {
        if (enabled_ && onTimeout) onTimeout();
    }

private:
    int interval_ = 0;
    bool enabled_ = false;
};

} // namespace qv::test
