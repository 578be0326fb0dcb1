// Escaping, coordinates, times and colours of the open map formats.
#include "mapfiles/MapText.h"

#include "platform/Clock.h"
#include "records/SlotConstants.h"

#include <array>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <ctime>

namespace qv::mapfile {

namespace {

// Length of the UTF-8 character starting at s[i], 0 when the bytes there are
// no well-formed character (overlong forms and surrogates included).
std::size_t utf8Length(std::string_view s, std::size_t i) {
    const auto b = [&](std::size_t k) { return static_cast<unsigned char>(s[k]); };
    const unsigned char c = b(i);
    if (c < 0x80) return 1;
    std::size_t n;
    unsigned lo = 0x80, hi = 0xBF;
    if (c >= 0xC2 && c <= 0xDF) {
        n = 2;
    } else if (c >= 0xE0 && c <= 0xEF) {
        n = 3;
        if (c == 0xE0) lo = 0xA0;
        if (c == 0xED) hi = 0x9F;
    } else if (c >= 0xF0 && c <= 0xF4) {
        n = 4;
        if (c == 0xF0) lo = 0x90;
        if (c == 0xF4) hi = 0x8F;
    } else {
        return 0;
    }
    if (i + n > s.size()) return 0;
    if (b(i + 1) < lo || b(i + 1) > hi) return 0;
    for (std::size_t k = 2; k < n; ++k)
        if (b(i + k) < 0x80 || b(i + k) > 0xBF) return 0;
    return n;
}

int rgbOf(int slot) {
    const SlotRow& row = slotRow(slot);
    unsigned long bgr = 0;
    std::from_chars(row.colourKey.data(), row.colourKey.data() + row.colourKey.size(), bgr, 16);
    const unsigned long r = bgr & 0xFF, g = (bgr >> 8) & 0xFF, b = (bgr >> 16) & 0xFF;
    return static_cast<int>((r << 16) | (g << 8) | b);
}

} // namespace

std::string cleanText(std::string_view s) {
    std::string out;
    out.reserve(s.size());
    for (std::size_t i = 0; i < s.size();) {
        const std::size_t n = utf8Length(s, i);
        if (n == 0) {
            out += '?';
            ++i;
        } else if (n == 1) {
            const unsigned char c = static_cast<unsigned char>(s[i]);
            out += (c < 0x20 || c == 0x7F) ? ' ' : s[i];
            ++i;
        } else {
            out.append(s.substr(i, n));
            i += n;
        }
    }
    return out;
}

std::string xmlEscaped(std::string_view s) {
    std::string out;
    for (char c : cleanText(s)) {
        switch (c) {
        case '&': out += "&amp;"; break;
        case '<': out += "&lt;"; break;
        case '>': out += "&gt;"; break;
        case '"': out += "&quot;"; break;
        case '\'': out += "&apos;"; break;
        default: out += c;
        }
    }
    return out;
}

std::string jsonQuoted(std::string_view s) {
    std::string out = "\"";
    for (char c : cleanText(s)) {
        if (c == '"' || c == '\\') out += '\\';
        out += c;
    }
    out += '"';
    return out;
}

std::string coordText(double v) {
    std::array<char, 64> buf{};
    auto r = std::to_chars(buf.data(), buf.data() + buf.size(), v, std::chars_format::fixed);
    std::string out(buf.data(), r.ptr);
    if (out == "-0") out = "0";
    return out;
}

std::int64_t utcSeconds(const DateTime& local) {
    std::tm tm{};
    tm.tm_year = local.year - 1900;
    tm.tm_mon = local.month - 1;
    tm.tm_mday = local.day;
    tm.tm_hour = local.hour;
    tm.tm_min = local.minute;
    tm.tm_sec = local.second;
    return static_cast<std::int64_t>(timegm(&tm)) - local.utcOffsetMinutes * 60LL;
}

std::string isoTime(std::int64_t utc) {
    const std::time_t t = static_cast<std::time_t>(utc);
    std::tm tm{};
    gmtime_r(&t, &tm);
    const int year = tm.tm_year + 1900;
    if (year < 0 || year > 9999) {
        char buf[96];
        std::snprintf(buf, sizeof buf, "%04d-%02d-%02dT%02d:%02d:%02dZ", year, tm.tm_mon + 1, tm.tm_mday, tm.tm_hour,
                      tm.tm_min, tm.tm_sec);
        return buf;
    }
    // Several times a report: digits set by hand rather than through printf.
    std::string out = "0000-00-00T00:00:00Z";
    const auto two = [&](std::size_t at, int v) {
        out[at] = static_cast<char>('0' + v / 10);
        out[at + 1] = static_cast<char>('0' + v % 10);
    };
    two(0, year / 100);
    two(2, year % 100);
    two(5, tm.tm_mon + 1);
    two(8, tm.tm_mday);
    two(11, tm.tm_hour);
    two(14, tm.tm_min);
    two(17, tm.tm_sec);
    return out;
}

std::optional<std::int64_t> parseIsoTime(std::string_view s) {
    int f[6] = {};
    std::size_t pos = 0;
    static constexpr int kWidth[6] = {4, 2, 2, 2, 2, 2};
    static constexpr char kAfter[6] = {'-', '-', 'T', ':', ':', 0};
    for (int k = 0; k < 6; ++k) {
        if (pos + kWidth[k] > s.size()) return std::nullopt;
        for (int d = 0; d < kWidth[k]; ++d) {
            const char c = s[pos + d];
            if (c < '0' || c > '9') return std::nullopt;
            f[k] = f[k] * 10 + (c - '0');
        }
        pos += kWidth[k];
        if (kAfter[k]) {
            if (pos >= s.size() || (s[pos] != kAfter[k] && !(k == 2 && s[pos] == 't'))) return std::nullopt;
            ++pos;
        }
    }
    if (f[1] < 1 || f[1] > 12 || f[2] < 1 || f[2] > 31 || f[3] > 23 || f[4] > 59 || f[5] > 60) return std::nullopt;
    if (pos < s.size() && s[pos] == '.') {
        ++pos;
        while (pos < s.size() && s[pos] >= '0' && s[pos] <= '9')
            ++pos;
    }
    long offset = 0;
    if (pos < s.size() && (s[pos] == 'Z' || s[pos] == 'z')) {
        ++pos;
    } else if (pos + 6 == s.size() && (s[pos] == '+' || s[pos] == '-') && s[pos + 3] == ':') {
        const auto digit = [&](std::size_t k) { return s[k] >= '0' && s[k] <= '9'; };
        if (!digit(pos + 1) || !digit(pos + 2) || !digit(pos + 4) || !digit(pos + 5)) return std::nullopt;
        offset = ((s[pos + 1] - '0') * 10 + (s[pos + 2] - '0')) * 3600L +
                 ((s[pos + 4] - '0') * 10 + (s[pos + 5] - '0')) * 60L;
        if (s[pos] == '-') offset = -offset;
        pos += 6;
    }
    if (pos != s.size()) return std::nullopt;
    std::tm tm{};
    tm.tm_year = f[0] - 1900;
    tm.tm_mon = f[1] - 1;
    tm.tm_mday = f[2];
    tm.tm_hour = f[3];
    tm.tm_min = f[4];
    tm.tm_sec = f[5];
    return static_cast<std::int64_t>(timegm(&tm)) - offset;
}

std::string rgbHex(int slot) {
    std::string out = "#000000";
    const auto rgb = static_cast<unsigned>(rgbOf(slot));
    for (int i = 0; i < 6; ++i)
        out[static_cast<std::size_t>(6 - i)] = "0123456789abcdef"[(rgb >> (4 * i)) & 0xF];
    return out;
}

std::string kmlColour(int slot) {
    const unsigned rgb = static_cast<unsigned>(rgbOf(slot));
    char buf[16];
    std::snprintf(buf, sizeof buf, "ff%02x%02x%02x", rgb & 0xFF, (rgb >> 8) & 0xFF, (rgb >> 16) & 0xFF);
    return buf;
}

const char* namedColour(int slot) {
    static constexpr const char* kNames[8] = {"Blue",  "Red",      "DarkGreen", "DarkMagenta",
                                              "Black", "DarkBlue", "DarkRed",   "Magenta"};
    return slot >= 1 && slot <= 8 ? kNames[slot - 1] : "Black";
}

bool onGlobe(double lat, double lon) { return std::fabs(lat) <= 90 && std::fabs(lon) <= 180; }

int slotOfLetter(std::string_view letter) {
    if (letter.size() != 1 || letter[0] < 'A' || letter[0] > 'H') return 0;
    return letter[0] - 'A' + 1;
}

} // namespace qv::mapfile
