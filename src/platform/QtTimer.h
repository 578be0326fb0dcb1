// The timer port on a QTimer; ticks arrive through the Qt event loop.
#pragma once

#include "platform/Timer.h"

#include <QTimer>

namespace qv {

class QtTimer final : public Timer {
public:
    QtTimer();

    void setInterval(int milliseconds) override;
    int interval() const override;
    void setEnabled(bool on) override;
    bool isEnabled() const override;

private:
    QTimer timer_;
};

} // namespace qv
