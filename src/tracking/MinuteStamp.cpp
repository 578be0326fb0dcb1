// Minute stamp from a calendar date and time.
#include "tracking/MinuteStamp.h"

namespace qv {

namespace {

// Days from 1 March of year 0 in the proleptic Gregorian calendar (the usual
// era-based count); only differences matter here.
long long dayNumber(long long y, long long m, long long d) {
    y -= m <= 2 ? 1 : 0;
    const long long era = (y >= 0 ? y : y - 399) / 400;
    const long long yoe = y - era * 400;
    const long long doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const long long doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe;
}

} // namespace

double minuteStamp(const DateTime& t) {
    // Counted in UTC: local clock fields jump an hour at a daylight-saving change.
    return static_cast<double>(dayNumber(t.year, t.month, t.day) * 1440 + t.hour * 60 + t.minute - t.utcOffsetMinutes);
}

} // namespace qv
