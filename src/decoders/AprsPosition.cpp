// Both plain position decoders; failures end in the decoders' shared routine.
#include "decoders/AprsPosition.h"

#include "core/Context.h"
#include "core/ErrorLog.h"
#include "core/Failure.h"
#include "core/NumberText.h"
#include "core/Station.h"
#include "core/Text.h"
#include "decoders/Dao.h"
#include "decoders/DecoderFailure.h"
#include "platform/Ui.h"

namespace qv {

namespace {
constexpr const char* kMovingMarker = " in SUB APRSmoving";
constexpr const char* kFixedMarker = " in SUB APRSfixed ";
} // namespace

void AprsPosition::decode(const std::string& whole, const Layout& at) {
    auto& r = ctx_.st.report;
    const std::string_view info = text::firstLine(whole);
    // The comment starts after the symbol code; its !DAO! carries one more
    // digit of both minutes.
    const dao::Extension x = dao::find(text::mid(info, at.ew + 2));
    const double latDeg = num::strict(text::mid(info, at.latDeg, 2));
    double latMin = num::strict(text::mid(info, at.latMin, 5));
    if (x.found) latMin += x.latMinutes;
    const double lat = latDeg + latMin / 60;
    r.latitude = num::general(lat);
    r.northsouth = text::mid(info, at.ns, 1);
    const double lonDeg = num::strict(text::mid(info, at.lonDeg, 3));
    double lonMin = num::strict(text::mid(info, at.lonMin, 5));
    if (x.found) lonMin += x.lonMinutes;
    const double lon = lonDeg + lonMin / 60;
    r.longitude = num::general(lon);
    r.eastwest = text::mid(info, at.ew, 1);

    if (!text::iequals(r.northsouth, "N") && !text::iequals(r.northsouth, "S")) {
        ctx_.st.marks.PGMmessage = "BAD GPS DATA LINE (Lat)... skipping";
        ctx_.ui.refresh();
    } else if (!text::iequals(r.eastwest, "W") && !text::iequals(r.eastwest, "E")) {
        ctx_.st.marks.PGMmessage = "BAD GPS DATA LINE (Long.)... skipping";
        ctx_.ui.refresh();
    } else {
        r.latitude = num::rounded4(lat);
    }
}

void AprsPosition::APRSmoving() {
    auto& r = ctx_.st.report;
    runDecoder(ctx_, kMovingMarker, [&] {
        r.rawgpsdata = r.movingdata;
        decode(r.movingdata, {9, 11, 16, 18, 21, 26});
    });
}

void AprsPosition::APRSfixed() {
    auto& r = ctx_.st.report;
    const std::string info = r.rawgpsdata;
    try {
        decode(info, {2, 4, 9, 11, 14, 19});
    } catch (...) {
        // A compressed "=" report of a well-known kind: dropped without a word.
        if (text::istartsWith(info, "=b4'")) {
            r.rawgpsdata.insert(0, "ERROR ");
            return;
        }
        runDecoder(ctx_, kFixedMarker, [] { throw; });
    }
}

} // namespace qv
