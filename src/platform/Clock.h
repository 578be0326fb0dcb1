// Clock port: every time stamp of the program is read here, so tests can fix the time.
#pragma once

namespace qv {

// Local time as the texts show it, with the offset from UTC in force at that
// moment, so that two readings can be compared across a daylight-saving change.
struct DateTime {
    int year = 2000, month = 1, day = 1, hour = 0, minute = 0, second = 0;
    int utcOffsetMinutes = 0; // east of Greenwich positive
};

class Clock {
public:
    virtual ~Clock() = default;
    virtual DateTime now() = 0;
};

// The computer's local time.
class SystemClock final : public Clock {
public:
    DateTime now() override;
};

} // namespace qv
