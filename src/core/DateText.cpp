// The general date form of the United States locale.
#include "core/DateText.h"

#include <cstdio>

namespace qv {

std::string shortDate(const DateTime& t) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%d/%d/%d", t.month, t.day, t.year);
    return buf;
}

std::string longTime(const DateTime& t) {
    int h = t.hour % 12;
    if (h == 0) h = 12;
    char buf[32];
    std::snprintf(buf, sizeof buf, "%d:%02d:%02d %s", h, t.minute, t.second, t.hour < 12 ? "AM" : "PM");
    return buf;
}

std::string generalDate(const DateTime& t) { return shortDate(t) + " " + longTime(t); }

} // namespace qv
