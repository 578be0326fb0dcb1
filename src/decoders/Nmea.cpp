// The GGA and RMC decoders.
#include "decoders/Nmea.h"

#include "core/NumberText.h"
#include "core/Station.h"
#include "core/Text.h"
#include "decoders/DecoderFailure.h"
#include "platform/Ui.h"

#include <string>

namespace qv {

namespace nmea {

std::array<std::size_t, 16> commas(std::string_view s) {
    std::array<std::size_t, 16> k{};
    std::size_t from = 0; // 0-based start of the next search
    for (std::size_t i = 1; i <= 15; ++i) {
        std::size_t at = s.find(',', from);
        k[i] = at == std::string_view::npos ? 0 : at + 1;
        from = k[i];
    }
    return k;
}

double degreesAt(std::string_view s, std::size_t start, std::size_t degreeDigits) {
    const double degrees = num::strict(text::mid(s, start, degreeDigits));
    const std::size_t minutesStart = start + degreeDigits;
    // The field ends at its comma; a sentence cut short ends it at the text's end.
    const std::size_t comma = text::ifind(s, ",", start);
    const std::size_t fieldEnd = comma == 0 ? s.size() + 1 : comma;
    const std::size_t n = fieldEnd > minutesStart ? fieldEnd - minutesStart : 0;
    const double minutes = num::strict(text::mid(s, minutesStart, n));
    return degrees + minutes / 60.0;
}

} // namespace nmea

namespace {

bool oneOf(const std::string& letter, const char* a, const char* b) {
    return text::iequals(letter, a) || text::iequals(letter, b);
}

} // namespace

void Nmea::gpgga() {
    ReportState& r = ctx_.st.report;
    r.rawgpsdata = r.ggadata;
    r.ggadata.clear();
    decode(2, " in SUB GPGGA ");
}

void Nmea::gprmc() { decode(3, " in SUB GPRMC "); }

void Nmea::decode(int first, std::string_view marker) {
    ReportState& r = ctx_.st.report;
    runDecoder(ctx_, marker, [&] {
        // Not changed before the last read; a sentence ends at its line end,
        // and fields after one would be another line's.
        const std::string_view s = text::firstLine(r.rawgpsdata);
        const auto k = nmea::commas(s);
        const std::size_t latComma = k[static_cast<std::size_t>(first)];
        const std::size_t nsComma = k[static_cast<std::size_t>(first) + 1];
        const std::size_t lonComma = k[static_cast<std::size_t>(first) + 2];
        const std::size_t ewComma = k[static_cast<std::size_t>(first) + 3];
        ctx_.ui.refresh();

        // Signed, because a restarted comma search can put the later comma first.
        if (static_cast<long>(nsComma) - static_cast<long>(latComma) <= 1) {
            ctx_.st.marks.PGMmessage = "Blank GPS String";
            r.rawgpsdata.insert(0, "ERROR ");
            return;
        }

        const double lat = nmea::degreesAt(s, latComma + 1, 2);
        r.northsouth = text::mid(s, nsComma + 1, 1);
        // An accepted latitude is shown rounded only; its general form is
        // written where the decoder stops short of rounding it.
        try {
            r.longitude = num::general(nmea::degreesAt(s, lonComma + 1, 3));
        } catch (...) {
            r.latitude = num::general(lat);
            throw;
        }
        r.eastwest = text::mid(s, ewComma + 1, 1);

        if (!oneOf(r.northsouth, "N", "S")) {
            r.latitude = num::general(lat);
            ctx_.st.marks.PGMmessage = "BAD GPS DATA LINE (Lat)... skipping";
            ctx_.ui.refresh();
        } else if (!oneOf(r.eastwest, "W", "E")) {
            r.latitude = num::general(lat);
            ctx_.st.marks.PGMmessage = "BAD GPS DATA LINE (Long.)... skipping";
            ctx_.ui.refresh();
        } else {
            r.latitude = num::rounded4(lat);
        }
    });
}

} // namespace qv
