// The minute stamp of a report: minutes since a fixed epoch, counted in UTC,
// so that the difference of two stamps is the real number of minutes between
// them on every day of the year, across midnight, month and year ends and
// daylight-saving changes alike.
#pragma once

#include "platform/Clock.h"

namespace qv {

double minuteStamp(const DateTime& t);

} // namespace qv
