// The time texts the records carry: 24-hour two-digit hours, United States dates.
#pragma once

#include "platform/Clock.h"

#include <string>

namespace qv::stamp {

std::string timeLabel(const DateTime& t);            // "09:05"
std::string compactTime(const DateTime& t);          // "0905"
std::string dateTimeLabel(const DateTime& t);        // "12/7/2026 09:05"
std::string compactDateTimeLabel(const DateTime& t); // "12/7/2026 0905"
std::string fireReportTime(const DateTime& t);       // "12/07/2026 09:05:42.000"
std::string lastHeardText(const DateTime& t);        // "12/7/2026 9:05:42 AM"

} // namespace qv::stamp
