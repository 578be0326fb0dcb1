// The Qt timer behind Timer2 ticks through the event loop until stopped.
#include "platform/QtTimer.h"

#include <QCoreApplication>
#include <QTimer>

#include <gtest/gtest.h>

namespace qv {
namespace {

TEST(QtTimer, TicksUntilDisabled) {
    int argc = 1;
    char name[] = "test_tracking";
    char* argv[] = {name, nullptr};
    QCoreApplication app(argc, argv);
    QtTimer timer;
    timer.setInterval(1);
    EXPECT_EQ(timer.interval(), 1);
    EXPECT_FALSE(timer.isEnabled());
    int ticks = 0;
    timer.onTimeout = [&] {
        if (++ticks == 3) {
            timer.setEnabled(false);
            app.quit();
        }
    };
    timer.setEnabled(true);
    timer.setEnabled(true); // a second switch-on changes nothing
    EXPECT_TRUE(timer.isEnabled());
    QTimer::singleShot(10000, &app, [&] { app.quit(); }); // never hang the suite
    app.exec();
    EXPECT_EQ(ticks, 3);
    EXPECT_FALSE(timer.isEnabled());
}

} // namespace
} // namespace qv
