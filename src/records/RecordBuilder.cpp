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

// A record written over in place: the string keeps its capacity from report
// to report, so building one costs no allocation.
class Record {
public:
    Record(std::string& out, std::string_view sep) : out_(out), sep_(sep) { out_.clear(); }
    Record& operator<<(std::string_view field) {
        next();
        out_ += field;
        return *this;
    }
    Record& quoted(std::string_view field) {
        next();
        out_ += '"';
        out_ += field;
        out_ += '"';
        return *this;
    }
    // A field written in parts.
    Record& parts(std::initializer_list<std::string_view> parts) {
        next();
        for (std::string_view p : parts)
            out_ += p;
        return *this;
    }
    Record& quotedParts(std::initializer_list<std::string_view> parts) {
        next();
        out_ += '"';
        for (std::string_view p : parts)
            out_ += p;
        out_ += '"';
        return *this;
    }

private:
    void next() {
        if (!first_) out_ += sep_;
        first_ = false;
    }
    std::string& out_;
    std::string_view sep_;
    bool first_ = true;
};

std::string join(std::initializer_list<std::string_view> fields, std::string_view sep) {
    std::string out;
    Record r(out, sep);
    for (std::string_view f : fields)
        r << f;
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
    const Station& st = ctx_.st;
    Inputs& in = pending_;
    in.now = DateTime{};
    ctx_.log.guard(kMarker, [&] { in.now = ctx_.clock.now(); });
    in.lat = st.report.latitude;
    in.lon = st.report.longitude;
    in.trackname = st.report.trackname;
    in.stationcallsign = st.report.stationcallsign;
    in.colourKey = st.rec.slotcolorhex;
    in.markerWidth = st.rec.slotmarkerwidth;
    const SlotRow& row = slotRowByKey(in.colourKey);
    in.tactical = row.slot != 0 ? st.slots[row.slot].Teamname : std::string();
    in.tacticalInForce = st.tracking.CheckMapTacticalNames.inForce();
    // A position that is no number leaves an entry when built, which must
    // not wait for a report that may never be saved.
    deferred_ = !st.marks.windowVisible && num::isNumeric(in.lat) && num::isNumeric(in.lon);
    if (!deferred_) build(in);
}

void RecordBuilder::ensurestrings() {
    if (!deferred_) return;
    deferred_ = false;
    build(pending_);
}

void RecordBuilder::build(const Inputs& in) {
    RecordState& rec = ctx_.st.rec;
    const std::string& lat = in.lat;
    const std::string& lon = in.lon;
    const DateTime& now = in.now;
    const std::string time = stamp::timeLabel(now);
    const std::string ctime = stamp::compactTime(now);
    const std::string dtl = stamp::dateTimeLabel(now);
    const std::string cdtl = stamp::compactDateTimeLabel(now);

    const SlotRow& row = slotRowByKey(in.colourKey);
    const std::string letter(row.letter);
    const std::string tactical = in.tactical.empty() ? "Tac" + letter : in.tactical;
    rec.ozicolor = std::string(row.oziColour);
    const bool tacticalInForce = in.tacticalInForce;

    ctx_.log.guard(kMarker, [&] {
        Record txf(rec.txfstring, ", ");
        txf << lat << lon;
        txf.quoted(in.trackname) << in.colourKey;
    });
    ctx_.log.guard(kMarker, [&] {
        const std::string_view who = tacticalInForce ? std::string_view(tactical) : std::string_view(letter);
        const std::string_view mark = tacticalInForce ? "@" : ":";
        Record mxf(rec.mxfstring, ", ");
        mxf << lat << lon;
        mxf.quotedParts({who, mark, time}).quoted(dtl).quotedParts({"RT:", in.trackname});
        mxf << in.colourKey << in.markerWidth;
        Record rxf(rec.rxfstring, ", ");
        rxf << lat << lon;
        rxf.quotedParts({who, mark, time}).quoted(dtl).quoted("").quotedParts({"RT:", in.trackname});
        rxf << "800000" << in.colourKey << in.markerWidth;
    });

    const std::string_view display = tacticalInForce ? std::string_view(tactical) : std::string_view(in.trackname);
    ctx_.log.guard(kMarker, [&] {
        Record wpt(rec.wptstring, ", ");
        wpt << "-1" << time << lat << lon << " "
            << "3"
            << "1"
            << "0"
            << "0" << rec.ozicolor;
        wpt.parts({display, " @ ", dtl});
    });
    ctx_.log.guard(kMarker, [&] { Record(rec.pltstring, "").parts({lat, ", ", lon, ",0,   -777,", ", ,", time}); });
    ctx_.log.guard(kMarker, [&] { Record(rec.sa5string, ", ") << lat << lon << display << row.sa4 << "1" << row.sa6; });

    ctx_.log.guard(kMarker, [&] {
        Record topo(rec.ngtopostring, ", ");
        topo << lat << lon;
        topo.parts({tacticalInForce ? std::string_view(tactical) : std::string_view(letter), "-", ctime});
        topo << cdtl << in.stationcallsign;
    });
    ctx_.log.guard(kMarker, [&] {
        Record call(rec.ngtopocallstring, ", ");
        call << lat << lon << in.stationcallsign << cdtl;
        call.parts({letter, "-", ctime});
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
