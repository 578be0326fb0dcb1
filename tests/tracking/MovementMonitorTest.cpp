// The movement test, the overdue pass and its timer, and the moving-only option.
#include "support/TrackingHarness.h"
#include "tracking/MinuteStamp.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>
#include <string>

namespace qv::test {
namespace {

struct MoveCase {
    const char *previous, *lat, *lon, *resultBefore, *resultAfter;
};

TEST(Checkmovement, Thresholds) {
    const MoveCase cases[] = {
        {"0", "49.0583", "-72.02916", "", "YES"},                       // new station
        {"49.0583, -72.02916", "49.0590", "-72.0291666666667", "", ""}, // 0.0007 and 0.0000067
        {"49.0583, -72.02916", "49.0594", "-72.02916", "", "YES"},
        {"49.0583, -72.02916", "49.0593", "-72.02916", "", ""},         // 0.001 only in decimal
        {"49.0583, -72.02916", "49.0572", "-72.02916", "", "YES"},      // moved south
        {"49.0583, -72.02916", "49.0583", "-72.0302", "", "YES"},       // longitude alone
        {"49.0583, -72.02916", "49.0583", "-72.02916", "keep", "keep"}, // unchanged result kept
        {"-33.5, 151.2", "-33.5015", "151.2", "", "YES"},               // signed values
        {"  49.0583xyz,  -72.02916", "49.0583", "-72.02916", "", ""},   // leading-number reads
        {"45.1234567", "0", "0", "", ""},                               // no comma: silent end
        {"(latitude/longitude)", "0", "0", "", ""},
        {"", "45", "-122", "", ""},
        {", ", "0.0005", "-0.0005", "", ""}, // empty reads are 0
        {"49.0583, -72.02916", "north", "-80", "", ""},
    };
    for (const MoveCase& c : cases) {
        TrackingHarness h;
        h.st.report.latitude = c.lat;
        h.st.report.longitude = c.lon;
        std::string result = c.resultBefore;
        h.monitor.checkmovement(c.previous, "ignored", result);
        EXPECT_EQ(result, c.resultAfter) << c.previous << " -> " << c.lat << ", " << c.lon;
    }
    TrackingHarness h;
    EXPECT_EQ(h.errors(), ""); // every failure is silent
}

TEST(MinuteStamp, CountsRealMinutes) {
    struct Pair {
        DateTime a, b;
        double minutes;
    };
    const Pair cases[] = {
        {{2026, 12, 7, 23, 59, 0}, {2026, 12, 8, 0, 0, 0}, 1},
        {{2026, 1, 31, 23, 50, 0}, {2026, 2, 1, 0, 10, 0}, 20},
        {{2026, 4, 30, 23, 50, 0}, {2026, 5, 1, 0, 10, 0}, 20},
        {{2028, 2, 28, 23, 59, 0}, {2028, 2, 29, 0, 0, 0}, 1},
        {{2027, 2, 28, 23, 59, 0}, {2027, 3, 1, 0, 0, 0}, 1},
        {{2026, 12, 31, 23, 30, 0}, {2027, 1, 1, 0, 30, 0}, 60},
        {{2026, 12, 7, 9, 5, 0}, {2026, 12, 7, 9, 5, 59}, 0},
        {{2026, 3, 1, 0, 0, 0}, {2027, 3, 1, 0, 0, 0}, 365 * 1440},
        {{2000, 1, 1, 0, 0, 0}, {2100, 1, 1, 0, 0, 0}, 36525.0 * 1440},
        // Daylight-saving changes, Pacific time: the clock jumps, the minutes do not.
        {{2026, 3, 8, 1, 59, 0, -480}, {2026, 3, 8, 3, 0, 0, -420}, 1},
        {{2026, 11, 1, 1, 59, 0, -420}, {2026, 11, 1, 1, 0, 0, -480}, 1},
        {{2026, 11, 1, 1, 30, 0, -420}, {2026, 11, 1, 1, 30, 0, -480}, 60},
        {{2026, 3, 29, 0, 30, 0, 0}, {2026, 3, 29, 2, 30, 0, 60}, 60}, // London
    };
    for (const Pair& p : cases)
        EXPECT_EQ(minuteStamp(p.b) - minuteStamp(p.a), p.minutes) << p.a.month << "/" << p.a.day;
}

// The system clock gives the offset in force with the local fields, so the
// two readings name the same moment.
TEST(MinuteStamp, SystemClockCarriesItsUtcOffset) {
    const char* old = std::getenv("TZ");
    const std::string saved = old ? old : "";
    ::setenv("TZ", "PST8PDT,M3.2.0,M11.1.0", 1);
    ::tzset();
    const std::time_t before = std::time(nullptr);
    const DateTime t = SystemClock().now();
    if (old)
        ::setenv("TZ", saved.c_str(), 1);
    else
        ::unsetenv("TZ");
    ::tzset();
    EXPECT_TRUE(t.utcOffsetMinutes == -480 || t.utcOffsetMinutes == -420) << t.utcOffsetMinutes;
    const double utcMinutes = static_cast<double>(before / 60);
    // minuteStamp counts from a fixed day; 1970-01-01 is day 719468 of its count.
    EXPECT_NEAR(minuteStamp(t) - 719468.0 * 1440, utcMinutes, 1.0);
}

TEST(Timer2, PassSettlesColoursAndMarksOverdueTrackedSlots) {
    TrackingHarness h;
    const Colour before[8] = {slotcolour::White,      slotcolour::Yellow,     slotcolour::LightGray, slotcolour::Red,
                              slotcolour::LightGreen, slotcolour::ButtonFace, slotcolour::White,     slotcolour::White};
    const Colour after[8] = {slotcolour::ButtonFace, slotcolour::ButtonFace, slotcolour::ButtonFace,
                             slotcolour::Red,        slotcolour::LightGreen, slotcolour::ButtonFace,
                             slotcolour::Yellow,     slotcolour::ButtonFace};
    const double now = minuteStamp(h.clock.t);
    for (int n = 1; n <= 8; ++n) {
        h.st.slots[n].lastHeardBack = before[n - 1];
        h.st.slots[n].track = true;
        h.st.slots[n].LastHeardStamp = now - 10;
    }
    h.st.slots[7].LastHeardStamp = 0; // tracked, never heard: overdue at once
    h.st.slots[8].track = false;      // untracked: never overdue
    h.st.slots[8].LastHeardStamp = 0;
    h.monitor.Timer2_Timer();
    for (int n = 1; n <= 8; ++n)
        EXPECT_EQ(h.st.slots[n].lastHeardBack, after[n - 1]) << n;
}

TEST(Timer2, OverdueLimitAcrossMidnightAndMonthEnds) {
    struct Case {
        DateTime heard, pass;
        const char* overdue;
        bool yellow;
    };
    const Case cases[] = {
        {{2026, 12, 7, 23, 50, 0}, {2026, 12, 8, 0, 10, 0}, "60", false},
        {{2026, 12, 7, 23, 50, 0}, {2026, 12, 8, 0, 50, 0}, "60", true}, // exactly the limit
        {{2026, 12, 7, 23, 50, 0}, {2026, 12, 8, 0, 49, 0}, "60", false},
        {{2026, 1, 31, 23, 50, 0}, {2026, 2, 1, 0, 10, 0}, "15", true},
        {{2026, 4, 30, 23, 50, 0}, {2026, 5, 1, 0, 10, 0}, "60", false},
        {{2026, 12, 31, 23, 50, 0}, {2027, 1, 1, 0, 10, 0}, "30", false},
        {{2026, 12, 7, 9, 5, 0}, {2026, 12, 7, 9, 5, 0}, "0", true},
        {{2026, 12, 7, 9, 5, 0}, {2026, 12, 7, 9, 5, 0}, "", true},
        {{2026, 12, 7, 9, 5, 0}, {2026, 12, 7, 9, 5, 0}, "abc", true},
        {{2026, 12, 7, 9, 0, 0}, {2026, 12, 7, 9, 5, 0}, " 10 minutes", false},
        // An hour of local time that is not an hour of real time, and back.
        {{2026, 3, 8, 1, 30, 0, -480}, {2026, 3, 8, 3, 0, 0, -420}, "60", false},
        {{2026, 3, 8, 1, 30, 0, -480}, {2026, 3, 8, 3, 30, 0, -420}, "60", true},
        {{2026, 11, 1, 1, 30, 0, -420}, {2026, 11, 1, 1, 45, 0, -480}, "60", true},
        {{2026, 11, 1, 1, 30, 0, -420}, {2026, 11, 1, 1, 15, 0, -480}, "60", false},
    };
    for (const Case& c : cases) {
        TrackingHarness h;
        h.track(2, "N0CALL");
        h.st.tracking.overdue = c.overdue;
        h.clock.t = c.heard;
        h.report("N0CALL", "45.5", "-122.6");
        EXPECT_EQ(h.st.slots[2].lastHeardBack, slotcolour::LightGreen);
        h.clock.t = c.pass;
        h.monitor.Timer2_Timer();
        EXPECT_EQ(h.st.slots[2].lastHeardBack == slotcolour::Yellow, c.yellow)
            << c.heard.month << "/" << c.heard.day << " " << c.heard.hour << ":" << c.heard.minute << " limit "
            << c.overdue;
    }
}

TEST(Timer2, RunsEveryMinuteFromStart) {
    TrackingHarness h;
    h.st.slots[1].track = true;
    h.timer2.fire();
    EXPECT_EQ(h.st.slots[1].lastHeardBack, slotcolour::LightGray); // not started yet
    h.monitor.start();
    EXPECT_EQ(h.timer2.interval(), 60000);
    EXPECT_TRUE(h.timer2.isEnabled());
    h.timer2.fire();
    EXPECT_EQ(h.st.slots[1].lastHeardBack, slotcolour::Yellow);
    EXPECT_EQ(h.st.slots[2].lastHeardBack, slotcolour::ButtonFace);
}

TEST(MovingOption, IndicatorFollowsOptionAndSettingsSave) {
    TrackingHarness h;
    h.monitor.setCheckTrackOnlyMoving(true);
    EXPECT_TRUE(h.st.tracking.LabelTrackMovingONVisible);
    h.monitor.setCheckTrackOnlyMoving(true);
    h.monitor.setCheckTrackOnlyMoving(false);
    EXPECT_FALSE(h.st.tracking.LabelTrackMovingONVisible);
    h.monitor.setOverdue("6");
    h.monitor.setOverdue("60");
    h.monitor.setOverdue("60");
    EXPECT_EQ(h.saves, 4);
}

} // namespace
} // namespace qv::test
