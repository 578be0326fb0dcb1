// Date and time texts: the general date form every error entry and caption uses.
#pragma once

#include "platform/Clock.h"

#include <string>

namespace qv {

// "12/7/2026 9:05:42 AM": month/day/year, 12-hour time with AM/PM.
std::string generalDate(const DateTime& t);
// "12/7/2026"
std::string shortDate(const DateTime& t);
// "9:05:42 AM"
std::string longTime(const DateTime& t);

// Appends `value` as printf's "%0<width>d" would write it. Every time stamp
// goes through here: printf itself cost more than the rest of a report.
void appendPadded(std::string& out, int value, int width = 0);

} // namespace qv
