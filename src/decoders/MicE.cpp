// The Mic-E decoder.
#include "decoders/MicE.h"

#include "core/Failure.h"
#include "core/NumberText.h"
#include "core/Station.h"
#include "core/Text.h"
#include "decoders/Dao.h"
#include "decoders/DecoderFailure.h"

#include <string>

namespace qv {

namespace {

constexpr const char* kMarker = " in SUB MICENCODED ";

int code(char c) { return static_cast<unsigned char>(c); }

// Hundredths of minutes are read only as far as plain digits go: an ambiguity
// character ("K", "L", "Z") cuts the minutes there, and a hex digit "E" must
// not start an exponent.
double minutesOf(std::string_view d3456) {
    double frac = 0.0, scale = 0.1;
    for (char c : d3456) {
        if (c < '0' || c > '9') break;
        frac += (c - '0') * scale;
        scale /= 10.0;
    }
    return frac * 100.0;
}

} // namespace

namespace mice {

char digitOf(char c) {
    // "A" to "J" are the custom-message forms of the digits 0 to 9.
    if (c >= 'A' && c <= 'J') return static_cast<char>('0' + (c - 'A'));
    static constexpr char kHex[] = "0123456789ABCDEF";
    return kHex[code(c) % 16];
}

std::string_view destination(std::string_view line) {
    std::size_t gt = line.find('>');
    std::string_view rest = gt == std::string_view::npos ? line : line.substr(gt + 1);
    std::size_t end = text::findAny(rest, ",:- \r\n");
    std::string_view dest = rest.substr(0, end);
    if (dest.size() < 6) throw Failure(err::InvalidCall);
    return dest.substr(0, 6);
}

std::string_view infoField(std::string_view line) {
    std::size_t at = line.find(":`");
    if (at == std::string_view::npos) at = line.find(":'");
    if (at == std::string_view::npos) return {};
    // The line's own CR or LF is no longitude byte (those start at code 28).
    return text::firstLine(line.substr(at + 1, 80));
}

} // namespace mice

namespace {

// Steps after the latitude: hemisphere, longitude with its offset and folds, east/west.
void rest(ReportState& r, std::string_view dest, std::string_view info, const dao::Extension& x) {
    const char c4 = dest[3];
    if ((c4 >= '0' && c4 <= '9') || c4 == 'L')
        r.northsouth = "S";
    else if (c4 >= 'P' && c4 <= 'Z')
        r.northsouth = "N";
    else
        // Not a hemisphere flag: whatever northsouth holds belongs to another report.
        throw Failure(err::InvalidCall);

    if (info.size() < 4) throw Failure(err::InvalidCall);
    int lonDeg = code(info[1]) - 28;
    if (code(dest[4]) >= 80) lonDeg += 100;
    if (lonDeg >= 180 && lonDeg <= 189)
        lonDeg -= 80;
    else if (lonDeg >= 190 && lonDeg <= 199)
        lonDeg -= 190;
    int lonMin = code(info[2]) - 28;
    if (lonMin >= 60) lonMin -= 60;
    const double hundredths = (code(info[3]) - 28) / 100.0;
    double minutes = lonMin + hundredths;
    if (x.found) minutes += x.lonMinutes;
    r.longitude = num::general(lonDeg + minutes / 60.0);
    r.eastwest = code(dest[5]) >= 80 ? "W" : "E";
}

} // namespace

void MicE::micencoded() {
    ReportState& r = ctx_.st.report;
    r.rawgpsdata = r.micedata;
    runDecoder(ctx_, kMarker, [&] {
        // What follows a line end is another packet's.
        const std::string_view line = text::firstLine(r.micedata);
        const std::string_view dest = mice::destination(line);
        char d[6];
        for (int i = 0; i < 6; ++i)
            d[i] = mice::digitOf(dest[static_cast<std::size_t>(i)]);

        const double degrees = num::strict(std::string_view(d, 2));
        // The comment follows the longitude, speed, course and symbol bytes.
        const std::string_view info = mice::infoField(line);
        const dao::Extension x = info.size() > 9 ? dao::find(info.substr(9)) : dao::Extension{};
        double minutes = minutesOf(std::string_view(d + 2, 4));
        if (x.found) minutes += x.latMinutes;
        const double lat = degrees + minutes / 60.0;
        // The general form of the latitude is seen only when the decoder stops
        // before rounding it; formatting it on every line would cost a third
        // of the decoder's time.
        try {
            rest(r, dest, info, x);
        } catch (...) {
            r.latitude = num::general(lat);
            throw;
        }
        r.latitude = num::rounded4(lat);
    });
}

} // namespace qv
