// Compressed reports, objects and items into the report fields.
#include "decoders/AprsReportSteps.h"

#include "core/Failure.h"
#include "core/NumberText.h"
#include "core/Station.h"
#include "core/Text.h"
#include "decoders/CompressedPosition.h"
#include "decoders/Dao.h"
#include "decoders/DecoderFailure.h"
#include "decoders/ObjectItem.h"

#include <cmath>
#include <string>

namespace qv {

namespace {

// As every decoder leaves them: unsigned, the latitude in its accepted form,
// the hemispheres in letters; the classifier signs them.
void writePosition(ReportState& r, double lat, double lon) {
    r.latitude = num::rounded4(std::fabs(lat));
    r.northsouth = lat < 0 ? "S" : "N";
    r.longitude = num::general(std::fabs(lon));
    r.eastwest = lon < 0 ? "W" : "E";
}

void failed(Context& ctx, PositionFault f, const char* marker) {
    const int n = failureNumber(f);
    decoderFailed(ctx, Failure(n, Failure::describe(n) + " (" + describe(f) + ")"), marker);
}

} // namespace

void AprsReportSteps::APRScompressed() {
    auto& r = ctx_.st.report;
    const std::string_view info = text::firstLine(r.rawgpsdata);
    // After the identifier, and after the time stamp of "@" and "/".
    const std::size_t at = !info.empty() && (info[0] == '@' || info[0] == '/') ? 8 : 1;
    const std::string_view position = info.size() > at ? info.substr(at) : std::string_view();
    const compressed::Report c = compressed::decode(position);
    if (c.fault != PositionFault::None) return failed(ctx_, c.fault, " in SUB APRSCOMPRESSED ");
    // Trackers that send compressed positions may add a !DAO! as well.
    const dao::Point p = dao::apply(dao::find(position.substr(compressed::kLength)), c.latitude, c.longitude);
    writePosition(r, p.latitude, p.longitude);
}

void AprsReportSteps::APRSobject() {
    auto& r = ctx_.st.report;
    const objectitem::Report o = objectitem::decode(text::firstLine(r.rawgpsdata));
    if (o.fault != PositionFault::None) return failed(ctx_, o.fault, " in SUB APRSOBJECT ");
    writePosition(r, o.latitude, o.longitude);
}

} // namespace qv
