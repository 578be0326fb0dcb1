// The waypoint-sentence decoders.
#include "decoders/Waypoints.h"

#include "core/Failure.h"
#include "core/Fields.h"
#include "core/NumberText.h"
#include "core/Station.h"
#include "core/Text.h"
#include "core/WorkDir.h"
#include "decoders/DecoderFailure.h"
#include "platform/Ui.h"

#include <string>
#include <utility>
#include <vector>

namespace qv {

namespace {

// Writes the line as the scratch file's only line and reads `count` fields
// of what was written; Failure 62 when the line holds fewer.
FieldList throughScratch(const WorkDir& dir, const char* file, const std::string& line, std::size_t count,
                         bool written = false) {
    // One sentence, one line: a line end inside would hand the next line's
    // fields to this sentence.
    const std::vector<std::string> lines{std::string(text::firstLine(line))};
    if (!written) dir.replaceLines(file, lines);
    FieldList f = readFields(crlfText(lines), count);
    if (!f.complete) throw Failure(err::InputPastEnd);
    return f;
}

// Degree digits first, then the minutes as written, whatever their decimals.
double waypointDegrees(const std::string& field, std::size_t degreeDigits) {
    const double degrees = num::strict(text::left(field, degreeDigits));
    const double minutes = num::strict(text::mid(field, degreeDigits + 1));
    return degrees + minutes / 60.0;
}

bool oneOf(const std::string& letter, const char* a, const char* b) {
    return text::iequals(letter, a) || text::iequals(letter, b);
}

} // namespace

void Waypoints::gpwpl() {
    ReportState& r = ctx_.st.report;
    runDecoder(ctx_, " in SUB GPWPL ", [&] {
        // Written here unless the classifier wrote it for this line: a stale
        // file would decode the previous waypoint under this station's name.
        const FieldList f =
            throughScratch(ctx_.dir, kGpwplFile, r.gpwpldata, 6, std::exchange(r.gpwplInScratch, false));
        const double lat = waypointDegrees(f[2], 2);
        r.latitude = num::general(lat);
        r.northsouth = f[3];
        r.longitude = num::general(waypointDegrees(f[4], 3));
        r.eastwest = f[5];

        if (!oneOf(r.northsouth, "N", "S")) {
            ctx_.st.marks.PGMmessage = "BAD GPS DATA LINE (Lat)... skipping";
            ctx_.ui.refresh();
        } else if (!oneOf(r.eastwest, "W", "E")) {
            ctx_.st.marks.PGMmessage = "BAD GPS DATA LINE (Long.)... skipping";
            ctx_.ui.refresh();
        } else {
            r.latitude = num::rounded4(lat);
        }
    });
}

void Waypoints::gpwgt() {
    ReportState& r = ctx_.st.report;
    r.rawgpsdata = r.gpwgtdata;
    runDecoder(ctx_, " in SUB GPWGT ", [&] {
        const FieldList f = throughScratch(ctx_.dir, kGpwgtFile, r.rawgpsdata, 10);
        // Taken as they stand, but a position that is no number must not
        // reach the map files as text.
        if (!num::isNumeric(f[3]) || !num::isNumeric(f[5])) throw Failure(err::TypeMismatch);
        r.latitude = f[3];
        r.northsouth = f[4];
        r.longitude = f[5];
        r.eastwest = f[6];
    });
}

} // namespace qv
