// Time texts of the records.
#include "records/TimeStamps.h"

#include "core/DateText.h"

#include <cstdio>

namespace qv::stamp {

std::string timeLabel(const DateTime& t) {
    char buf[64];
    std::snprintf(buf, sizeof buf, "%02d:%02d", t.hour, t.minute);
    return buf;
}

std::string compactTime(const DateTime& t) {
    char buf[64];
    std::snprintf(buf, sizeof buf, "%02d%02d", t.hour, t.minute);
    return buf;
}

std::string dateTimeLabel(const DateTime& t) { return shortDate(t) + " " + timeLabel(t); }

std::string compactDateTimeLabel(const DateTime& t) { return shortDate(t) + " " + compactTime(t); }

std::string fireReportTime(const DateTime& t) {
    char buf[96];
    std::snprintf(buf, sizeof buf, "%02d/%02d/%04d %02d:%02d:%02d.000", t.month, t.day, t.year, t.hour, t.minute,
                  t.second);
    return buf;
}

std::string lastHeardText(const DateTime& t) { return generalDate(t); }

} // namespace qv::stamp
