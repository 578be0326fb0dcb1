// Arbitrary bytes as the GPX, KML or GeoJSON document found at start (the
// first byte picks which). Whatever the file held, the reports written after
// it must leave a document that reads back as exactly what the program holds
// in memory: a new slot (rebuild), a report in place, a slot handed to another
// station; each report inside a file-writing pass (written through the
// document's mapping) or outside one, as the first byte also says.
#include "FuzzPorts.h"
#include "core/Context.h"
#include "core/ErrorLog.h"
#include "core/Station.h"
#include "core/Steps.h"
#include "core/WorkDir.h"
#include "mapfiles/MapDocuments.h"
#include "mapfiles/MapText.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <memory>
#include <optional>
#include <string>

using namespace qv;
using namespace qv::mapfile;

namespace {

[[noreturn]] void fail(const char* what, const PaddedDocument& doc) {
    std::fprintf(stderr, "%s: %s\n", doc.fileName().c_str(), what);
    std::abort();
}

void check(const PaddedDocument& doc, bool allTimes) {
    SlotTracks file;
    if (!doc.readBack(file)) fail("the document written does not read back", doc);
    for (std::size_t s = 0; s < 8; ++s) {
        const SlotTrack &f = file[s], &m = doc.tracks()[s];
        if (f.callsign != cleanText(m.callsign) || f.tactical != cleanText(m.tactical) || f.name != cleanText(m.name))
            fail("names differ from memory", doc);
        if (f.points.size() != m.points.size()) fail("point count differs from memory", doc);
        for (std::size_t i = 0; i < f.points.size(); ++i) {
            if (f.points[i].lat != m.points[i].lat || f.points[i].lon != m.points[i].lon)
                fail("position differs from memory", doc);
            if ((allTimes || i + 1 == f.points.size()) && f.points[i].time != m.points[i].time)
                fail("time differs from memory", doc);
        }
    }
}

MapEntry entry(int slot, const char* call, double lat, double lon) {
    MapEntry e;
    e.slot = slot;
    e.callsign = call;
    e.tactical = "Engine <7> & \"Co\"";
    e.name = call;
    e.point = {lat, lon, 1796634342};
    return e;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    fuzz::emptyWorkdir();
    static const char* kFiles[] = {kGpx, kKml, kGeoJson};
    const int family = data[0] % 3;
    std::ofstream(fuzz::workdir() / kFiles[family], std::ios::binary)
        .write(reinterpret_cast<const char*>(data + 1), static_cast<std::streamsize>(size - 1));

    Station st;
    WorkDir dir(fuzz::workdir());
    fuzz::StepClock clock;
    ErrorLog log(dir, clock);
    fuzz::DefaultUi ui;
    Steps steps;
    Context ctx{st, dir, log, ui, clock, steps};
    std::unique_ptr<PaddedDocument> doc;
    if (family == 0) doc = std::make_unique<GpxFile>(ctx);
    if (family == 1) doc = std::make_unique<KmlFiles>(ctx);
    if (family == 2) doc = std::make_unique<GeoJsonFile>(ctx);
    const bool allTimes = family == 0;

    const int slot = 1 + data[0] / 3 % 8;
    const MapEntry reports[] = {
        entry(slot, "N0CALL", 45.5, -122.6),
        entry(slot, "N0CALL", 45.51, -122.61),
        entry(slot % 8 + 1, "K7ABC-9", -33.9, 151.2),
        entry(slot, "W7NEW", 10, 20),
        entry(slot, "W7NEW", 10.5, 20.5),
    };
    const int passes = data[0] / 24; // one bit a report
    for (std::size_t k = 0; k < std::size(reports); ++k) {
        const MapEntry& e = reports[k];
        try {
            std::optional<WorkDirPass> pass;
            if ((passes >> (k % 4)) & 1) pass.emplace(dir);
            doc->write(e);
        } catch (const Failure& f) {
            std::fprintf(stderr, "write failed: %d %s\n", f.number(), f.description().c_str());
            std::abort();
        }
        check(*doc, allTimes);
    }
    return 0;
}
