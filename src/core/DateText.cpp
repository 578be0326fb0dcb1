// The general date form of the United States locale.
#include "core/DateText.h"

#include <charconv>
#include <cstdlib>

namespace qv {

void appendPadded(std::string& out, int value, int width) {
    char buf[16];
    // The magnitude as unsigned, so that the smallest int has one too.
    const unsigned magnitude = value < 0 ? 0u - static_cast<unsigned>(value) : static_cast<unsigned>(value);
    const auto r = std::to_chars(buf, buf + sizeof buf, magnitude);
    const int digits = static_cast<int>(r.ptr - buf);
    if (value < 0) out.push_back('-');
    for (int n = digits + (value < 0 ? 1 : 0); n < width; ++n)
        out.push_back('0');
    out.append(buf, r.ptr);
}

std::string shortDate(const DateTime& t) {
    std::string s;
    s.reserve(12);
    appendPadded(s, t.month);
    s.push_back('/');
    appendPadded(s, t.day);
    s.push_back('/');
    appendPadded(s, t.year);
    return s;
}

std::string longTime(const DateTime& t) {
    int h = t.hour % 12;
    if (h == 0) h = 12;
    std::string s;
    s.reserve(12);
    appendPadded(s, h);
    s.push_back(':');
    appendPadded(s, t.minute, 2);
    s.push_back(':');
    appendPadded(s, t.second, 2);
    s += t.hour < 12 ? " AM" : " PM";
    return s;
}

std::string generalDate(const DateTime& t) {
    std::string s = shortDate(t);
    s.push_back(' ');
    s += longTime(t);
    return s;
}

} // namespace qv
