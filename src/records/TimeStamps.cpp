// Time texts of the records.
#include "records/TimeStamps.h"

#include "core/DateText.h"

namespace qv::stamp {

std::string timeLabel(const DateTime& t) {
    std::string s;
    appendPadded(s, t.hour, 2);
    s.push_back(':');
    appendPadded(s, t.minute, 2);
    return s;
}

std::string compactTime(const DateTime& t) {
    std::string s;
    appendPadded(s, t.hour, 2);
    appendPadded(s, t.minute, 2);
    return s;
}

std::string dateTimeLabel(const DateTime& t) {
    std::string s = shortDate(t);
    s.push_back(' ');
    s += timeLabel(t);
    return s;
}

std::string compactDateTimeLabel(const DateTime& t) {
    std::string s = shortDate(t);
    s.push_back(' ');
    s += compactTime(t);
    return s;
}

std::string fireReportTime(const DateTime& t) {
    std::string s;
    s.reserve(24);
    appendPadded(s, t.month, 2);
    s.push_back('/');
    appendPadded(s, t.day, 2);
    s.push_back('/');
    appendPadded(s, t.year, 4);
    s.push_back(' ');
    appendPadded(s, t.hour, 2);
    s.push_back(':');
    appendPadded(s, t.minute, 2);
    s.push_back(':');
    appendPadded(s, t.second, 2);
    s += ".000";
    return s;
}

std::string lastHeardText(const DateTime& t) { return generalDate(t); }

} // namespace qv::stamp
