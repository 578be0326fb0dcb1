// Timer port: a repeating tick on the user-interface thread. The program uses a
// Qt timer; tests fire the tick by hand.
#pragma once

#include <functional>

namespace qv {

class Timer {
public:
    virtual ~Timer() = default;

    virtual void setInterval(int milliseconds) = 0;
    virtual int interval() const = 0;
    // An enabled timer ticks every interval.
    virtual void setEnabled(bool on) = 0;
    virtual bool isEnabled() const = 0;

    // Called on every tick.
    std::function<void()> onTimeout;
};

} // namespace qv
