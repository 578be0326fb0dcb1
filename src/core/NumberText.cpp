// General and fixed number forms, leading and strict readings.
#include "core/NumberText.h"

#include "core/Failure.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace qv::num {

std::string general(double v) {
    if (v == 0.0 || !std::isfinite(v)) return "0";
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.15G", v);
    return buf;
}

std::string fixed(double v, int decimals) {
    if (!std::isfinite(v)) v = 0.0;
    if (decimals < 0) decimals = 0;
    // Round the 15-digit decimal text, halves away from zero, so that 2.00005
    // becomes 2.0001 as a person reading the number expects.
    char buf[400];
    std::snprintf(buf, sizeof buf, "%.14e", std::fabs(v));
    std::string mant;
    for (const char* p = buf; *p && *p != 'e'; ++p)
        if (*p != '.') mant.push_back(*p);
    const int exp10 = std::atoi(std::strchr(buf, 'e') + 1);
    // Digits of |v| as integer text scaled by 10^decimals.
    const int keep = exp10 + 1 + decimals; // digits of mant before the rounding point
    std::string digits;
    if (keep <= 0) {
        digits.assign(1, (keep == 0 && mant[0] >= '5') ? '1' : '0');
    } else {
        digits = keep >= static_cast<int>(mant.size())
                     ? mant + std::string(static_cast<std::size_t>(keep) - mant.size(), '0')
                     : mant.substr(0, static_cast<std::size_t>(keep));
        if (keep < static_cast<int>(mant.size()) && mant[static_cast<std::size_t>(keep)] >= '5') {
            int i = static_cast<int>(digits.size()) - 1;
            while (i >= 0 && digits[static_cast<std::size_t>(i)] == '9')
                digits[static_cast<std::size_t>(i--)] = '0';
            if (i < 0)
                digits.insert(digits.begin(), '1');
            else
                ++digits[static_cast<std::size_t>(i)];
        }
    }
    if (digits.size() <= static_cast<std::size_t>(decimals))
        digits.insert(0, static_cast<std::size_t>(decimals) + 1 - digits.size(), '0');
    std::string s = digits.substr(0, digits.size() - static_cast<std::size_t>(decimals));
    if (decimals > 0) {
        s.push_back('.');
        s.append(digits, digits.size() - static_cast<std::size_t>(decimals));
    }
    const bool zero = s.find_first_of("123456789") == std::string::npos;
    if (v < 0 && !zero) s.insert(s.begin(), '-');
    return s;
}

namespace {

bool skippable(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; }

// Scans a number at the start of `s` (no blanks inside). Returns the number
// of characters that form it; 0 when there is none.
std::size_t scanNumber(std::string_view s, bool allowExponentLetterD) {
    std::size_t i = 0;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) ++i;
    std::size_t digits = 0;
    while (i < s.size() && s[i] >= '0' && s[i] <= '9')
        ++i, ++digits;
    if (i < s.size() && s[i] == '.') {
        ++i;
        while (i < s.size() && s[i] >= '0' && s[i] <= '9')
            ++i, ++digits;
    }
    if (digits == 0) return 0;
    if (i < s.size() && (s[i] == 'e' || s[i] == 'E' || (allowExponentLetterD && (s[i] == 'd' || s[i] == 'D')))) {
        std::size_t k = i + 1;
        if (k < s.size() && (s[k] == '+' || s[k] == '-')) ++k;
        std::size_t expDigits = 0;
        while (k < s.size() && s[k] >= '0' && s[k] <= '9')
            ++k, ++expDigits;
        if (expDigits > 0) i = k;
    }
    return i;
}

double parseScanned(std::string text) {
    for (char& c : text)
        if (c == 'd' || c == 'D') c = 'E';
    return std::strtod(text.c_str(), nullptr);
}

} // namespace

double leading(std::string_view s) {
    std::string compact;
    compact.reserve(s.size() < 64 ? s.size() : 64);
    for (char c : s) {
        if (skippable(c)) continue;
        compact.push_back(c);
        if (compact.size() >= 400) break; // longer digit runs add nothing a double can hold
    }
    std::size_t n = scanNumber(compact, true);
    if (n == 0) return 0.0;
    double v = parseScanned(compact.substr(0, n));
    return std::isfinite(v) ? v : 0.0;
}

bool isNumeric(std::string_view s) {
    std::size_t b = 0, e = s.size();
    while (b < e && (s[b] == ' ' || s[b] == '\t'))
        ++b;
    while (e > b && (s[e - 1] == ' ' || s[e - 1] == '\t'))
        --e;
    std::string_view t = s.substr(b, e - b);
    if (t.empty()) return false;
    return scanNumber(t, true) == t.size();
}

double strict(std::string_view s) {
    if (!isNumeric(s)) throw Failure(err::TypeMismatch);
    std::size_t b = s.find_first_not_of(" \t");
    std::size_t e = s.find_last_not_of(" \t");
    double v = parseScanned(std::string(s.substr(b, e - b + 1)));
    if (!std::isfinite(v)) throw Failure(err::Overflow);
    return v;
}

long strictInt(std::string_view s) {
    double v = std::nearbyint(strict(s)); // default rounding mode: halves to even
    if (v > 2147483647.0 || v < -2147483648.0) throw Failure(err::Overflow);
    return static_cast<long>(v);
}

} // namespace qv::num
