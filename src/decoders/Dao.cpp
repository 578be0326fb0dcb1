// The !DAO! reader.
#include "decoders/Dao.h"

#include <algorithm>
#include <cmath>

namespace qv::dao {

namespace {

bool isUpper(char c) { return c >= 'A' && c <= 'Z'; }
bool isLower(char c) { return c >= 'a' && c <= 'z'; }
bool isDigit(char c) { return c >= '0' && c <= '9'; }
bool isBase91(char c) { return c >= '!' && c <= '{'; }

// Plain digits are thousandths of a minute. A base-91 digit spreads 0..90
// evenly over one hundredth of a minute, giving about a ten-thousandth.
void read(char c, bool base91, double& minutes, int& digit) {
    if (c == ' ') return;
    if (base91) {
        const int v = c - '!';
        minutes = v / 91.0 / 100.0;
        digit = v * 10 / 91;
    } else {
        minutes = (c - '0') / 1000.0;
        digit = c - '0';
    }
}

} // namespace

Extension find(std::string_view comment) {
    Extension x;
    for (std::size_t i = 0; i + 5 <= comment.size(); ++i) {
        if (comment[i] != '!' || comment[i + 4] != '!') continue;
        const char d = comment[i + 1], a = comment[i + 2], o = comment[i + 3];
        auto fits = [&](char c) { return c == ' ' || (isUpper(d) ? isDigit(c) : isBase91(c)); };
        if (!(isUpper(d) || isLower(d)) || !fits(a) || !fits(o)) continue;
        x.found = true;
        x.datum = d;
        x.base91 = isLower(d);
        read(a, x.base91, x.latMinutes, x.latDigit);
        read(o, x.base91, x.lonMinutes, x.lonDigit);
        return x;
    }
    return x;
}

Point apply(const Extension& x, double latitude, double longitude) {
    if (!x.found) return {latitude, longitude};
    // A position on a pole or on the date line has no room left beyond it.
    return {std::clamp(latitude + std::copysign(x.latMinutes / 60.0, latitude), -90.0, 90.0),
            std::clamp(longitude + std::copysign(x.lonMinutes / 60.0, longitude), -180.0, 180.0)};
}

} // namespace qv::dao
