// Case-blind comparisons and 1-based cuts.
#include "core/Text.h"

#include <algorithm>

namespace qv::text {

char upper(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }

static char lowerChar(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

std::string upper(std::string_view s) {
    std::string r(s);
    for (char& c : r)
        c = upper(c);
    return r;
}

std::string lower(std::string_view s) {
    std::string r(s);
    for (char& c : r)
        c = lowerChar(c);
    return r;
}

bool iequals(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (upper(a[i]) != upper(b[i])) return false;
    return true;
}

bool istartsWith(std::string_view s, std::string_view prefix) {
    return s.size() >= prefix.size() && iequals(s.substr(0, prefix.size()), prefix);
}

bool iendsWith(std::string_view s, std::string_view suffix) {
    return s.size() >= suffix.size() && iequals(s.substr(s.size() - suffix.size()), suffix);
}

bool icontains(std::string_view s, std::string_view needle) { return ifind(s, needle) != 0; }

std::size_t ifind(std::string_view s, std::string_view needle, std::size_t start) {
    if (start == 0) start = 1;
    if (start > s.size() + 1) return 0;
    if (needle.empty()) return start;
    if (needle.size() > s.size()) return 0;
    const char first = upper(needle[0]);
    for (std::size_t i = start - 1; i + needle.size() <= s.size(); ++i) {
        if (upper(s[i]) != first) continue;
        std::size_t k = 1;
        while (k < needle.size() && upper(s[i + k]) == upper(needle[k]))
            ++k;
        if (k == needle.size()) return i + 1;
    }
    return 0;
}

std::string left(std::string_view s, std::size_t n) { return std::string(s.substr(0, std::min(n, s.size()))); }

std::string right(std::string_view s, std::size_t n) {
    if (n >= s.size()) return std::string(s);
    return std::string(s.substr(s.size() - n));
}

std::string mid(std::string_view s, std::size_t start, std::size_t n) {
    if (start == 0) start = 1;
    if (start > s.size()) return {};
    return std::string(s.substr(start - 1, n));
}

char at(std::string_view s, std::size_t pos) { return (pos >= 1 && pos <= s.size()) ? s[pos - 1] : '\0'; }

static bool blank(char c) { return c == ' ' || c == '\t'; }

std::string trim(std::string_view s) {
    std::size_t b = 0, e = s.size();
    while (b < e && blank(s[b]))
        ++b;
    while (e > b && blank(s[e - 1]))
        --e;
    return std::string(s.substr(b, e - b));
}

std::string trimRight(std::string_view s) {
    std::size_t e = s.size();
    while (e > 0 && blank(s[e - 1]))
        --e;
    return std::string(s.substr(0, e));
}

std::string replaceAll(std::string_view s, std::string_view from, std::string_view to) {
    if (from.empty()) return std::string(s);
    std::string r;
    std::size_t i = 0;
    while (true) {
        std::size_t k = s.find(from, i);
        if (k == std::string_view::npos) break;
        r.append(s.substr(i, k - i));
        r.append(to);
        i = k + from.size();
    }
    r.append(s.substr(i));
    return r;
}

std::string_view firstLine(std::string_view s) { return s.substr(0, findAny(s, "\r\n")); }

namespace {

// Length of the UTF-8 sequence at `i`, 0 when the bytes there are no UTF-8.
std::size_t utf8Length(std::string_view s, std::size_t i) {
    const auto b = static_cast<unsigned char>(s[i]);
    std::size_t n = 0;
    if (b >= 0xC2 && b <= 0xDF) {
        n = 2;
    } else if (b >= 0xE0 && b <= 0xEF) {
        n = 3;
    } else if (b >= 0xF0 && b <= 0xF4) {
        n = 4;
    } else {
        return 0;
    }
    if (i + n > s.size()) return 0;
    for (std::size_t k = 1; k < n; ++k)
        if ((static_cast<unsigned char>(s[i + k]) & 0xC0) != 0x80) return 0;
    return n;
}

} // namespace

std::string printable(std::string_view s) {
    static const char kHex[] = "0123456789ABCDEF";
    std::string r;
    r.reserve(s.size());
    for (std::size_t i = 0; i < s.size(); ++i) {
        const auto c = static_cast<unsigned char>(s[i]);
        if (c == '\\') {
            r += "\\\\";
        } else if (c == '\r') {
            r += "\\r";
        } else if (c == '\n') {
            r += "\\n";
        } else if (c == '\t') {
            r += "\\t";
        } else if (c < 0x20 || c == 0x7F) {
            r += "\\x";
            r += kHex[c >> 4];
            r += kHex[c & 15];
        } else if (c < 0x80) {
            r.push_back(static_cast<char>(c));
        } else if (const std::size_t n = utf8Length(s, i); n == 0) {
            r += "\\x";
            r += kHex[c >> 4];
            r += kHex[c & 15];
        } else if (c == 0xC2 && static_cast<unsigned char>(s[i + 1]) <= 0x9F) {
            const auto d = static_cast<unsigned char>(s[i + 1]);
            r += "\\u00";
            r += kHex[d >> 4];
            r += kHex[d & 15];
            ++i;
        } else {
            r.append(s.substr(i, n));
            i += n - 1;
        }
    }
    return r;
}

} // namespace qv::text
