// Both plain position decoders and their shared failure routine.
#include "decoders/AprsPosition.h"

#include "core/Context.h"
#include "core/DateText.h"
#include "core/ErrorLog.h"
#include "core/Failure.h"
#include "core/NumberText.h"
#include "core/Station.h"
#include "core/Text.h"
#include "core/WorkDir.h"
#include "platform/Clock.h"
#include "platform/Ui.h"

#include <new>

namespace qv {

namespace {
constexpr const char* kMovingMarker = " in SUB APRSmoving";
constexpr const char* kFixedMarker = " in SUB APRSfixed ";

// The display may still hold the received line end; the file has its own.
std::string withoutLineEnds(std::string s) {
    while (!s.empty() && (s.back() == '\r' || s.back() == '\n'))
        s.pop_back();
    return s;
}
} // namespace

void AprsPosition::decode(const std::string& info, const Layout& at) {
    auto& r = ctx_.st.report;
    const double lat = num::strict(text::mid(info, at.latDeg, 2)) + num::strict(text::mid(info, at.latMin, 5)) / 60;
    r.latitude = num::general(lat);
    r.northsouth = text::mid(info, at.ns, 1);
    const double lon = num::strict(text::mid(info, at.lonDeg, 3)) + num::strict(text::mid(info, at.lonMin, 5)) / 60;
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

// Every failure marks the report, whatever its number: a report that could
// not be read completely must not reach the output steps.
void AprsPosition::failed(const Failure& f, const char* marker, bool silent) {
    auto& r = ctx_.st.report;
    if (!silent) {
        ctx_.log.entry(f, marker);
        if (f.number() == err::TypeMismatch) {
            try {
                ctx_.dir.appendLines(kErrorFile, {"Non-Critical Quorvel error 13 in rawgpsdata string below..." +
                                                      generalDate(ctx_.clock.now()),
                                                  withoutLineEnds(r.incomingdata)});
            } catch (...) {
                // The entry above is all that can be said.
            }
        }
    }
    r.rawgpsdata = "ERROR " + r.rawgpsdata;
}

void AprsPosition::APRSmoving() {
    auto& r = ctx_.st.report;
    try {
        r.rawgpsdata = r.movingdata;
        decode(r.movingdata, {9, 11, 16, 18, 21, 26});
    } catch (const Failure& f) {
        failed(f, kMovingMarker, false);
    } catch (const std::bad_alloc&) {
        failed(Failure(7), kMovingMarker, false);
    }
}

void AprsPosition::APRSfixed() {
    auto& r = ctx_.st.report;
    try {
        const std::string info = r.rawgpsdata;
        decode(info, {2, 4, 9, 11, 14, 19});
    } catch (const Failure& f) {
        // A compressed "=" report; the classifier drops it without a word.
        failed(f, kFixedMarker, text::istartsWith(r.rawgpsdata, "=b4'"));
    } catch (const std::bad_alloc&) {
        failed(Failure(7), kFixedMarker, false);
    }
}

} // namespace qv
