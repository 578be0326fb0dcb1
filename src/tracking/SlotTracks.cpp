// Slot tracks in memory and from the Ozi track files.
#include "tracking/SlotTracks.h"

#include "core/Context.h"
#include "core/ErrorLog.h"
#include "core/Failure.h"
#include "core/NumberText.h"
#include "core/Station.h"
#include "core/Text.h"
#include "core/WorkDir.h"
#include "mapfiles/MapFileIo.h"
#include "mapfiles/OziFiles.h"
#include "tracking/SlotMatch.h"

#include <cmath>
#include <fstream>

namespace qv {

namespace {

constexpr const char* kMarker = " in SUB LOADTRACKS ";
constexpr std::size_t kOziHeaderLines = 6;
// Enough of a track file's tail for kMaxTrackPoints lines of it.
constexpr std::streamoff kMostRead = 4 << 20;

bool onEarth(double lat, double lon) {
    return std::isfinite(lat) && std::isfinite(lon) && std::fabs(lat) <= 90 && std::fabs(lon) <= 180;
}

bool readPoint(std::string_view line, TrackPoint& p) {
    const std::size_t c1 = line.find(',');
    if (c1 == std::string_view::npos) return false;
    const std::size_t c2 = line.find(',', c1 + 1);
    const std::string lat = text::trim(line.substr(0, c1));
    const std::string lon = text::trim(line.substr(c1 + 1, c2 == std::string_view::npos ? c2 : c2 - c1 - 1));
    if (!num::isNumeric(lat) || !num::isNumeric(lon)) return false;
    p = {num::strict(lat), num::strict(lon)};
    return onEarth(p.lat, p.lon);
}

// The file's last kMostRead bytes at most, as lines; `fromTop` is false when
// the first line was cut and dropped.
std::vector<std::string> tail(const std::filesystem::path& file, bool& fromTop) {
    std::ifstream in(file, std::ios::binary);
    if (!in) throw Failure(err::FileNotFound);
    in.seekg(0, std::ios::end);
    const std::streamoff size = in.tellg();
    const std::streamoff start = size > kMostRead ? size - kMostRead : 0;
    in.seekg(start);
    std::string data(static_cast<std::size_t>(size - start), '\0');
    in.read(data.data(), static_cast<std::streamsize>(data.size()));
    data.resize(static_cast<std::size_t>(in.gcount()));
    std::vector<std::string> lines = splitLines(data);
    fromTop = start == 0;
    if (!fromTop && !lines.empty()) lines.erase(lines.begin());
    return lines;
}

} // namespace

bool extendTrack(HeardTrack& track, const TrackPoint& p) {
    if (!track.points.empty() && track.points.back().lat == p.lat && track.points.back().lon == p.lon) return false;
    track.points.push_back(p);
    while (track.points.size() > kMaxTrackPoints)
        track.points.pop_front();
    return true;
}

std::vector<TrackPoint> TrackMemory::trackPoints(const std::vector<std::string>& lines, bool fromTop) {
    std::vector<TrackPoint> out;
    for (std::size_t i = fromTop ? kOziHeaderLines : 0; i < lines.size(); ++i) {
        TrackPoint p;
        if (readPoint(lines[i], p)) out.push_back(p);
    }
    return out;
}

void TrackMemory::addtrackpoint() {
    Station& st = ctx_.st;
    const std::string& callsign = st.report.callsign;
    if (callsign.empty()) return;
    const int n = matchSlot(st.slots, callsign);
    if (n == 0) return;
    if (!num::isNumeric(st.report.latitude) || !num::isNumeric(st.report.longitude)) return;
    const TrackPoint p{num::strict(st.report.latitude), num::strict(st.report.longitude)};
    if (!onEarth(p.lat, p.lon)) return;
    HeardTrack& track = st.tracks[n];
    if (!text::iequals(track.owner, callsign)) track = {callsign, {}};
    if (extendTrack(track, p)) ++st.tracks.revision;
}

void TrackMemory::loadtracks() {
    Station& st = ctx_.st;
    for (int n = 1; n <= 8; ++n) {
        HeardTrack& track = st.tracks[n];
        track = {};
        if (isFree(st.slots, n)) continue;
        const std::string& callsign = st.slots[n].CallsignID;
        const std::string file = mapfile::OziFiles::trackFileName(n);
        if (!ctx_.dir.exists(file)) continue;
        ctx_.log.guard(kMarker, [&] {
            if (mapfile::OziFiles::ownedByOther(mapfile::headLines(ctx_.dir, file, 5), callsign)) return;
            bool fromTop = true;
            const std::vector<std::string> lines = tail(ctx_.dir.path(file), fromTop);
            track.owner = callsign;
            for (const TrackPoint& p : trackPoints(lines, fromTop))
                extendTrack(track, p);
        });
    }
    ++st.tracks.revision;
}

} // namespace qv
