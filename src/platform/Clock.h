// Clock port: every time stamp of the program is read here, so tests can fix the time.
#pragma once

namespace qv {

struct DateTime {
    int year = 2000, month = 1, day = 1, hour = 0, minute = 0, second = 0;
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
