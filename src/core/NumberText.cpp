// General and fixed number forms, leading and strict readings.
#include "core/NumberText.h"

#include "core/Failure.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <string>

namespace qv::num {

std::string general(double v) {
    if (v == 0.0 || !std::isfinite(v)) return "0";
    // Same digits as printf's %.15G, without the locale and format parsing.
    char buf[64];
    auto r = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::general, 15);
    for (char* p = buf; p < r.ptr; ++p)
        if (*p == 'e') *p = 'E';
    return std::string(buf, r.ptr);
}

std::string fixed(double v, int decimals) {
    if (!std::isfinite(v)) v = 0.0;
    decimals = decimals < 0 ? 0 : decimals > 30 ? 30 : decimals;
    // Round the 15-digit decimal text, halves away from zero, so that 2.00005
    // becomes 2.0001 as a person reading the number expects.
    char sci[64];
    auto r = std::to_chars(sci, sci + sizeof sci, std::fabs(v), std::chars_format::scientific, 14);
    char mant[16];
    int m = 0;
    const char* p = sci;
    for (; p < r.ptr && *p != 'e'; ++p)
        if (*p != '.') mant[m++] = *p;
    int exp10 = 0;
    const bool negExp = p + 1 < r.ptr && p[1] == '-';
    std::from_chars(p + 2, r.ptr, exp10);
    if (negExp) exp10 = -exp10;

    // digits = |v| * 10^decimals rounded to an integer, as text.
    const int keep = exp10 + 1 + decimals; // digits of mant before the rounding point
    char digits[400];
    int n = 0;
    if (keep <= 0) {
        digits[n++] = (keep == 0 && mant[0] >= '5') ? '1' : '0';
    } else {
        for (int i = 0; i < keep; ++i)
            digits[n++] = i < m ? mant[i] : '0';
        if (keep < m && mant[keep] >= '5') {
            int i = n - 1;
            while (i >= 0 && digits[i] == '9')
                digits[i--] = '0';
            if (i >= 0) {
                ++digits[i];
            } else {
                std::memmove(digits + 1, digits, static_cast<std::size_t>(n));
                digits[0] = '1';
                ++n;
            }
        }
    }
    std::string s;
    s.reserve(static_cast<std::size_t>(n + decimals + 3));
    const bool zero = std::all_of(digits, digits + n, [](char c) { return c == '0'; });
    if (v < 0 && !zero) s.push_back('-');
    const int intDigits = n - decimals;
    if (intDigits <= 0) {
        s.push_back('0');
    } else {
        s.append(digits, static_cast<std::size_t>(intDigits));
    }
    if (decimals > 0) {
        s.push_back('.');
        for (int i = intDigits; i < n; ++i)
            if (i < 0) s.push_back('0');
        s.append(digits + (intDigits > 0 ? intDigits : 0), static_cast<std::size_t>(intDigits > 0 ? decimals : n));
    }
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
    // std::from_chars reads the same numbers as strtod, several times faster;
    // it takes no "+" sign and leaves out-of-range values (overflow and
    // underflow alike) to strtod, which knows what each should become.
    const char* b = text.data();
    const char* e = b + text.size();
    const bool plus = b < e && *b == '+';
    double v = 0;
    if (const auto r = std::from_chars(b + (plus ? 1 : 0), e, v); r.ec == std::errc{} && r.ptr == e) return v;
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
