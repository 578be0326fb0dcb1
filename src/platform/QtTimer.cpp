// The timer port on a QTimer.
#include "platform/QtTimer.h"

namespace qv {

QtTimer::QtTimer() {
    QObject::connect(&timer_, &QTimer::timeout, [this] {
        if (onTimeout) onTimeout();
    });
}

void QtTimer::setInterval(int milliseconds) { timer_.setInterval(milliseconds); }
int QtTimer::interval() const { return timer_.interval(); }

void QtTimer::setEnabled(bool on) {
    // Enabling a running timer keeps its count, so a repeated switch-on does not delay the tick.
    if (on && !timer_.isActive())
        timer_.start();
    else if (!on)
        timer_.stop();
}

bool QtTimer::isEnabled() const { return timer_.isActive(); }

} // namespace qv
