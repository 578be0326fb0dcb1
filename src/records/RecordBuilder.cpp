// Record strings of every map-file family.
#include "records/RecordBuilder.h"

#include "core/Context.h"
#include "core/ErrorLog.h"
#include "core/NumberText.h"
#include "core/Station.h"
#include "core/Text.h"
#include "platform/Clock.h"
#include "records/SlotConstants.h"
#include "records/TimeStamps.h"

#include <initializer_list>
#include <string>

namespace qv {

namespace {

constexpr const char* kMarker = " in SUB MAKESTRINGS ";

std::string q(std::string_view s) { return "\"" + std::string(s) + "\""; }

std::string join(std::initializer_list<std::string_view> fields, std::string_view sep) {
    std::size_t size = 0;
    for (std::string_view f : fields)
        size += f.size() + sep.size();
    std::string out;
    out.reserve(size);
    bool first = true;
    for (std::string_view f : fields) {
        if (!first) out += sep;
        out += f;
        first = false;
    }
    return out;
}

// SPOTFIRES wants exactly five decimals; a text that is no number stays as it
// is, and the area test below then rejects it.
std::string fiveDecimals(const std::string& s) { return num::isNumeric(s) ? num::fixed(num::strict(s), 5) : s; }

// The SPOTFIRES program serves Oregon only; a bound itself still counts as inside.
bool insideOregon(const std::string& lon5, const std::string& lat5) {
    const double lon = num::strict(lon5);
    const double lat = num::strict(lat5);
    return !(lon > -116.4 || lon < -124.6 || lat > 46.23 || lat < 42);
}

} // namespace

void RecordBuilder::makestrings() {
    Station& st = ctx_.st;
    const ReportState& r = st.report;
    RecordState& rec = st.rec;
    const std::string& lat = r.latitude;
    const std::string& lon = r.longitude;

    DateTime now;
    ctx_.log.guard(kMarker, [&] { now = ctx_.clock.now(); });
    const std::string time = stamp::timeLabel(now);
    const std::string ctime = stamp::compactTime(now);
    const std::string dtl = stamp::dateTimeLabel(now);
    const std::string cdtl = stamp::compactDateTimeLabel(now);

    const SlotRow& row = slotRowByKey(rec.slotcolorhex);
    const std::string letter(row.letter);
    std::string tactical = row.slot != 0 ? st.slots[row.slot].Teamname : std::string();
    if (tactical.empty()) tactical = "Tac" + letter;
    rec.ozicolor = std::string(row.oziColour);
    const bool tacticalInForce = st.tracking.CheckMapTacticalNames.inForce();

    ctx_.log.guard(kMarker, [&] { rec.txfstring = join({lat, lon, q(r.trackname), rec.slotcolorhex}, ", "); });
    ctx_.log.guard(kMarker, [&] {
        const std::string label = tacticalInForce ? tactical + "@" + time : letter + ":" + time;
        const std::string rt = q("RT:" + r.trackname);
        rec.mxfstring = join({lat, lon, q(label), q(dtl), rt, rec.slotcolorhex, rec.slotmarkerwidth}, ", ");
        rec.rxfstring =
            join({lat, lon, q(label), q(dtl), q(""), rt, "800000", rec.slotcolorhex, rec.slotmarkerwidth}, ", ");
    });

    const std::string display = tacticalInForce ? tactical : r.trackname;
    ctx_.log.guard(kMarker, [&] {
        rec.wptstring =
            join({"-1", time, lat, lon, " ", "3", "1", "0", "0", rec.ozicolor, display + " @ " + dtl}, ", ");
    });
    ctx_.log.guard(kMarker, [&] { rec.pltstring = lat + ", " + lon + ",0,   -777," + ", ," + time; });
    ctx_.log.guard(kMarker, [&] { rec.sa5string = join({lat, lon, display, row.sa4, "1", row.sa6}, ", "); });

    ctx_.log.guard(kMarker, [&] {
        const std::string topoName = (tacticalInForce ? tactical : letter) + "-" + ctime;
        rec.ngtopostring = join({lat, lon, topoName, cdtl, r.stationcallsign}, ", ");
    });
    ctx_.log.guard(kMarker, [&] {
        rec.ngtopocallstring = join({lat, lon, r.stationcallsign, cdtl, letter + "-" + ctime}, ", ");
    });

    // The unit ID and code ride in a tactical name like "12345678/CG", tactical names on or off.
    std::string lon5, lat5;
    ctx_.log.guard(kMarker, [&] {
        const std::size_t slash = tactical.find('/');
        const std::string unitId = slash != std::string::npos ? tactical.substr(0, slash) : "11111111";
        const std::string unitCode = slash != std::string::npos ? tactical.substr(slash + 1, 2) : "CG";
        lon5 = fiveDecimals(lon);
        lat5 = fiveDecimals(lat);
        rec.spotfirestring =
            join({unitId, stamp::fireReportTime(now), row.spotSlot, lon5, lat5, row.spotOffset, unitCode}, "\t");
    });
    bool inside = false;
    ctx_.log.guard(kMarker, [&] { inside = insideOregon(lon5, lat5); });
    if (!inside) rec.spotfirestring = kOutOfOregon;
}

} // namespace qv
