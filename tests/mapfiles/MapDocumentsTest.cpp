// The GPX, KML and GeoJSON documents: what they hold after each report, how
// they grow in place, and what happens when the file was archived, deleted or
// replaced by another program between two reports, or comes from an earlier run.
#include "MapFilesRig.h"
#include "mapfiles/MapText.h"

#include <gtest/gtest.h>

#include <sys/inotify.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <optional>

using namespace qv;
using namespace qv::mapfile;
using namespace qv::test;
namespace fs = std::filesystem;

namespace {

struct Family {
    const char* file;
    const char* kept;
    std::function<std::unique_ptr<PaddedDocument>(Context&)> make;
    bool allTimes; // every point keeps its time (GPX); otherwise only the latest position
};

const Family kFamilies[] = {
    {"quorvel.gpx", "quorvelreplaced.gpx", [](Context& c) { return std::make_unique<GpxFile>(c); }, true},
    {"quorvel.kml", "quorvelreplaced.kml", [](Context& c) { return std::make_unique<KmlFiles>(c); }, false},
    {"quorvel.geojson", "quorvelreplaced.geojson", [](Context& c) { return std::make_unique<GeoJsonFile>(c); }, false},
};

MapEntry entry(int slot, const std::string& call, double lat, double lon, std::int64_t time,
               const std::string& tactical = "Tac") {
    MapEntry e;
    e.slot = slot;
    e.callsign = call;
    e.tactical = tactical;
    e.name = call;
    e.point = {lat, lon, time};
    return e;
}

// What the file holds must be what memory holds, names as the file can carry them.
void expectSame(const SlotTracks& file, const SlotTracks& memory, bool allTimes) {
    for (std::size_t s = 0; s < 8; ++s) {
        SCOPED_TRACE(s);
        const SlotTrack &f = file[s], &m = memory[s];
        EXPECT_EQ(f.callsign, cleanText(m.callsign));
        EXPECT_EQ(f.tactical, cleanText(m.tactical));
        EXPECT_EQ(f.name, cleanText(m.name));
        ASSERT_EQ(f.points.size(), m.points.size());
        for (std::size_t i = 0; i < f.points.size(); ++i) {
            EXPECT_EQ(f.points[i].lat, m.points[i].lat) << i;
            EXPECT_EQ(f.points[i].lon, m.points[i].lon) << i;
            if (allTimes || i + 1 == f.points.size()) {
                EXPECT_EQ(f.points[i].time, m.points[i].time) << i;
            }
        }
    }
}

void expectFileMatchesMemory(const PaddedDocument& doc, bool allTimes) {
    SlotTracks file;
    ASSERT_TRUE(doc.readBack(file)) << doc.fileName();
    expectSame(file, doc.tracks(), allTimes);
}

std::uint64_t inode(const fs::path& p) {
    struct stat sb {};
    return ::stat(p.c_str(), &sb) == 0 ? static_cast<std::uint64_t>(sb.st_ino) : 0;
}

constexpr std::int64_t kNoon = 1796644800; // 2026-12-07 12:00:00 UTC

} // namespace

// Through the pass: names with markup characters and a stray byte, tactical
// names in force, two slots; after each report every document reads back
// as the memory, and a second point, a second slot's later points and a name
// change are written in place (a slot joining the document is the only rebuild).
TEST(MapDocuments, EveryReportReadsBackWithItsNamesPositionsAndTimes) {
    Rig rig;
    rig.st.slots[3].Teamname = "Crew <3> & \"Co\" \xff";
    rig.st.tracking.CheckMapTacticalNames.enabled = true;
    struct Step {
        int slot;
        const char* call;
        const char* lat;
        const char* lon;
        int minute;
        bool tactical;
    } steps[] = {
        {1, "N0CALL", "45.5123", "-122.6", 5, false},    {1, "N0CALL", "45.52", "-122.61", 6, false},
        {3, "K7ABC-9", "-33.8688", "151.2093", 7, true}, {1, "N0CALL", "45.5301", "-122.6123", 8, false},
        {3, "K7ABC-9", "-33.87", "151.21", 9, false},    {3, "K7ABC-9", "-33.871", "151.2101", 10, true},
    };
    for (const auto& s : steps) {
        rig.st.tracking.CheckMapTacticalNames.checked = s.tactical;
        rig.clock.t = {2026, 12, 7, 12, s.minute, 30, 60}; // an hour east of Greenwich
        rig.slotReport(s.slot, s.call, s.lat, s.lon);
        rig.writer.savefiles();
        const auto& docs = rig.writer.documents();
        for (const PaddedDocument* d :
             {static_cast<const PaddedDocument*>(&docs.gpx), static_cast<const PaddedDocument*>(&docs.kml),
              static_cast<const PaddedDocument*>(&docs.geojson)})
            expectFileMatchesMemory(*d, d == &docs.gpx);
    }
    EXPECT_EQ(rig.errors(), "");
    const auto& docs = rig.writer.documents();
    const SlotTrack& c = docs.gpx.tracks()[2];
    EXPECT_EQ(c.callsign, "K7ABC-9");
    EXPECT_EQ(c.name, "Crew <3> & \"Co\" \xff");
    ASSERT_EQ(c.points.size(), 3u);
    EXPECT_EQ(c.points[2].lat, -33.871);
    EXPECT_EQ(c.points[2].time, kNoon + 10 * 60 + 30 - 3600);
    EXPECT_EQ(docs.gpx.tracks()[0].points.size(), 3u);
    for (const PaddedDocument* d :
         {static_cast<const PaddedDocument*>(&docs.gpx), static_cast<const PaddedDocument*>(&docs.kml),
          static_cast<const PaddedDocument*>(&docs.geojson)})
        EXPECT_EQ(d->rebuilds(), 2) << d->fileName();

    // What another program sees: colours, letters, times and the escaped names.
    const std::string gpx = rig.file("quorvel.gpx"), kml = rig.file("quorvel.kml"), geo = rig.file("quorvel.geojson");
    EXPECT_NE(gpx.find("<name>Crew &lt;3&gt; &amp; &quot;Co&quot; ?</name>"), std::string::npos);
    EXPECT_NE(gpx.find("<gpx_style:color>008000</gpx_style:color>"), std::string::npos);
    EXPECT_NE(gpx.find("<time>2026-12-07T11:10:30Z</time>"), std::string::npos);
    EXPECT_NE(kml.find("<Style id=\"colourA\"><IconStyle><color>ffff0000</color>"), std::string::npos);
    EXPECT_NE(kml.find("<when>2026-12-07T11:10:30Z</when>"), std::string::npos);
    EXPECT_NE(geo.find("\"slot\":\"C\",\"callsign\":\"K7ABC-9\",\"tactical\":\"Crew <3> & \\\"Co\\\" ?\""),
              std::string::npos);
    EXPECT_NE(geo.find("\"colour\":\"#008000\",\"time\":\"2026-12-07T11:10:30Z\""), std::string::npos);
    EXPECT_NE(geo.find("\"coordinates\":[151.2101,-33.871]"), std::string::npos);
    EXPECT_EQ(rig.file("quorvellive.kml"), KmlFiles::liveLinkText());
}

// Long tracks: the file keeps its inode between rebuilds, rebuilds come ever
// rarer as the tracks grow, and the blank room stays in proportion.
TEST(MapDocuments, LongTracksGrowInPlaceWithRoomInProportion) {
    for (const auto& f : kFamilies) {
        SCOPED_TRACE(f.file);
        Rig rig;
        auto doc = f.make(rig.ctx);
        const fs::path path = rig.tmp.path() / f.file;
        long inPlace = 0;
        std::optional<WorkDirPass> pass;
        for (int i = 0; i < 3000; ++i) {
            const long before = doc->rebuilds();
            const std::uint64_t ino = inode(path);
            // The second half inside a pass, where the file is written through its mapping.
            if (i == 1500) pass.emplace(rig.dir);
            doc->write(
                entry(1 + (i % 7 == 0), i % 7 ? "N0CALL" : "W7TRK-9", 45 + i * 1e-4, -122 - i * 1e-4, kNoon + i));
            if (doc->rebuilds() == before) {
                EXPECT_EQ(inode(path), ino);
                ++inPlace;
            }
        }
        EXPECT_LE(doc->rebuilds(), 16);
        EXPECT_EQ(inPlace, 3000 - doc->rebuilds());
        const std::string text = rig.file(f.file);
        const auto blanks = static_cast<std::size_t>(std::count(text.begin(), text.end(), ' '));
        EXPECT_LT(blanks, text.size() - blanks + 40000);
        expectFileMatchesMemory(*doc, f.allTimes);
        EXPECT_EQ(doc->tracks()[0].points.size(), 3000u - 429u);
    }
}

// A slot given to another station: its long track is cleared in place in
// bounded writes and the new station's track starts there, the other slot
// untouched, and nothing is rebuilt.
TEST(MapDocuments, ASlotHandedToAnotherStationStartsItsTrackInPlace) {
    for (const auto& f : kFamilies) {
        SCOPED_TRACE(f.file);
        Rig rig;
        auto doc = f.make(rig.ctx);
        // Longer than one bounded write in every format.
        for (int i = 0; i < 4000; ++i)
            doc->write(entry(1, "N0CALL", 40 + i * 1e-5, -100 - i * 1e-5, kNoon + i));
        doc->write(entry(2, "K7OTHER", 41, -101, kNoon));
        doc->write(entry(2, "K7OTHER", 41.5, -101.5, kNoon + 1));
        const long rebuilt = doc->rebuilds();
        const std::uint64_t ino = inode(rig.tmp.path() / f.file);

        doc->write(entry(1, "n0call-9", 44.25, -111.5, kNoon + 5000));
        EXPECT_EQ(doc->tracks()[0].points.size(), 1u);
        expectFileMatchesMemory(*doc, f.allTimes);
        doc->write(entry(1, "N0CALL-9", 44.5, -111.75, kNoon + 5001));
        doc->write(entry(1, "N0CALL-9", 44.75, -112, kNoon + 5002));
        expectFileMatchesMemory(*doc, f.allTimes);
        EXPECT_EQ(doc->tracks()[0].points.size(), 3u);
        EXPECT_EQ(doc->tracks()[0].callsign, "N0CALL-9");
        EXPECT_EQ(doc->tracks()[1].points.size(), 2u);
        EXPECT_EQ(doc->rebuilds(), rebuilt);
        EXPECT_EQ(inode(rig.tmp.path() / f.file), ino);
    }
}

// Between two reports: a file gone (archived, deleted) starts the tracks
// afresh; a file another program wrote, in its place or over it, is kept
// under another name and the document is rebuilt from memory. Alone and
// inside file-writing passes, where the file stays open between reports and
// the directory's watch stands in for a look at the name.
TEST(MapDocuments, FilesChangedBetweenReportsAreNeverWrittenIntoNorLost) {
    // CutShort: truncate(2), which the directory's watch does not hear of, of
    // a short document or of a long one (a write to the mapping then faults).
    // Untouched: the next report comes outside a pass, where the file's time
    // is not known after writes through its mapping.
    enum class Change { Deleted, Replaced, AppendedTo, CutShort, LongCutShort, Untouched };
    for (const auto& f : kFamilies) {
        for (Change change : {Change::Deleted, Change::Replaced, Change::AppendedTo, Change::CutShort,
                              Change::LongCutShort, Change::Untouched})
            for (bool inPasses : {false, true}) {
                SCOPED_TRACE(std::string(f.file) + " " + std::to_string(static_cast<int>(change)) +
                             (inPasses ? " in passes" : ""));
                Rig rig;
                auto doc = f.make(rig.ctx);
                auto write = [&](const MapEntry& e, bool inPass = true) {
                    std::optional<WorkDirPass> pass;
                    if (inPasses && inPass) pass.emplace(rig.dir);
                    doc->write(e);
                };
                write(entry(1, "N0CALL", 45, -122, kNoon));
                write(entry(1, "N0CALL", 45.1, -122.1, kNoon + 60));
                write(entry(1, "N0CALL", 45.15, -122.15, kNoon + 90));
                const std::size_t extra = change == Change::LongCutShort ? 200 : 0;
                for (std::size_t k = 0; k < extra; ++k)
                    write(entry(1, "N0CALL", 45.15 + k * 1e-4, -122.15, kNoon + 91 + static_cast<int>(k)));
                const bool cut = change == Change::CutShort || change == Change::LongCutShort;
                const fs::path path = rig.tmp.path() / f.file;
                std::string theirs;
                if (change == Change::Deleted) {
                    fs::remove(path);
                } else if (change == Change::Replaced) {
                    theirs = "edited by someone else\r\n";
                    rig.tmp.write(f.file, theirs);
                } else if (change == Change::AppendedTo) {
                    theirs = rig.file(f.file) + "<!-- a note -->";
                    std::ofstream(path, std::ios::app) << "<!-- a note -->";
                } else if (cut) {
                    theirs = rig.file(f.file).substr(0, 100);
                    ASSERT_EQ(::truncate(path.c_str(), 100), 0);
                }
                write(entry(1, "N0CALL", 45.2, -122.2, kNoon + 120), change != Change::Untouched);
                // In a pass, a file cut short by truncate(2) is found out when
                // the pass ends; the next report brings it back whole.
                if (cut) write(entry(1, "N0CALL", 45.25, -122.25, kNoon + 500));
                expectFileMatchesMemory(*doc, f.allTimes);
                if (change == Change::Untouched) {
                    EXPECT_EQ(doc->tracks()[0].points.size(), 4u);
                    EXPECT_FALSE(rig.has(f.kept));
                    EXPECT_EQ(rig.errors(), "");
                } else if (change == Change::Deleted) {
                    EXPECT_EQ(doc->tracks()[0].points.size(), 1u);
                    EXPECT_FALSE(rig.has(f.kept));
                    EXPECT_EQ(rig.errors(), "");
                } else {
                    EXPECT_EQ(doc->tracks()[0].points.size(), 4 + extra + cut);
                    EXPECT_EQ(rig.file(f.kept), theirs);
                    EXPECT_NE(rig.errors().find(std::string(f.file) +
                                                " was changed by another program; that version is "
                                                "kept as " +
                                                f.kept + " in SUB SAVEFILES "),
                              std::string::npos)
                        << rig.errors();
                }
            }
    }
}

// A track longer than memory holds (older points wait in a scratch file)
// comes back whole when another program's version forces a rebuild from
// memory, and when the slot is handed to another station.
TEST(MapDocuments, TracksLongerThanMemoryHoldsComeBackWhole) {
    for (const auto& f : kFamilies) {
        SCOPED_TRACE(f.file);
        Rig rig;
        auto doc = f.make(rig.ctx);
        auto write = [&](const MapEntry& e) {
            WorkDirPass pass(rig.dir);
            doc->write(e);
        };
        const std::size_t n = 2 * PointList::kChunk + 100;
        for (std::size_t i = 0; i < n; ++i)
            write(entry(1, "N0CALL", 40 + i * 1e-5, -100, kNoon + static_cast<int>(i)));
        rig.tmp.write(f.file, "edited\r\n");
        write(entry(1, "N0CALL", 41, -101, kNoon + 100000));
        EXPECT_EQ(rig.file(f.kept), "edited\r\n");
        ASSERT_EQ(doc->tracks()[0].points.size(), n + 1);
        SlotTracks file;
        ASSERT_TRUE(doc->readBack(file));
        ASSERT_EQ(file[0].points.size(), n + 1);
        for (std::size_t i = 0; i < n; ++i)
            ASSERT_EQ(file[0].points[i].lat, 40 + i * 1e-5) << i;
        write(entry(1, "K7NEXT", 42, -102, kNoon + 100001));
        EXPECT_EQ(doc->tracks()[0].points.size(), 1u);
        expectFileMatchesMemory(*doc, f.allTimes);
    }
}

// Written through its mapping inside passes, the document still tells the
// programs watching it: after every report, and in an import (a batch) once
// a second and when the import ends.
TEST(MapDocuments, ProgramsWatchingADocumentHearOfItsReports) {
    for (const auto& f : kFamilies) {
        SCOPED_TRACE(f.file);
        Rig rig;
        auto doc = f.make(rig.ctx);
        auto report = [&](int i) {
            WorkDirPass pass(rig.dir);
            doc->write(entry(1, "N0CALL", 45 + i * 1e-3, -122, kNoon + i));
        };
        for (int i = 0; i < 3; ++i)
            report(i);
        const long rebuilt = doc->rebuilds();
        const int in = ::inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
        ASSERT_GE(::inotify_add_watch(in, (rig.tmp.path() / f.file).c_str(), IN_MODIFY), 0);
        auto heard = [&] {
            alignas(inotify_event) char buf[4096];
            bool any = false;
            while (::read(in, buf, sizeof buf) > 0)
                any = true;
            return any;
        };
        report(3);
        EXPECT_TRUE(heard());
        {
            WorkDirBatch batch(rig.dir);
            for (int i = 4; i < 8; ++i)
                report(i);
            heard();
        }
        EXPECT_TRUE(heard());
        EXPECT_EQ(doc->rebuilds(), rebuilt); // all of it in place, on the file watched
        expectFileMatchesMemory(*doc, f.allTimes);
        ::close(in);
    }
}

// A second run reads the tracks back once and carries them on; a file at the
// name that is no document of ours is kept aside and the tracks start afresh.
TEST(MapDocuments, ASecondRunCarriesTheTracksOnAndAStrangersFileIsKept) {
    for (const auto& f : kFamilies) {
        SCOPED_TRACE(f.file);
        TempDir tmp;
        {
            Rig first;
            WorkDir dir{tmp.path()};
            Context ctx{first.st, dir, first.log, first.ui, first.clock, first.steps};
            auto doc = f.make(ctx);
            doc->write(entry(2, "N0CALL", 45, -122, kNoon));
            doc->write(entry(2, "N0CALL", 45.1, -122.1, kNoon + 60));
            doc->write(entry(5, "K7ONE", -10, 20, kNoon + 90));
        }
        Rig second;
        WorkDir dir{tmp.path()};
        Context ctx{second.st, dir, second.log, second.ui, second.clock, second.steps};
        auto doc = f.make(ctx);
        doc->write(entry(2, "N0CALL", 45.2, -122.2, kNoon + 120));
        ASSERT_EQ(doc->tracks()[1].points.size(), 3u);
        EXPECT_EQ(doc->tracks()[1].points[0].lat, 45);
        if (f.allTimes) {
            EXPECT_EQ(doc->tracks()[1].points[1].time, kNoon + 60);
        }
        ASSERT_EQ(doc->tracks()[4].points.size(), 1u);
        EXPECT_EQ(doc->tracks()[4].points[0].time, kNoon + 90);
        expectFileMatchesMemory(*doc, f.allTimes);

        const std::string strangers = std::string(f.file).ends_with("json")
                                          ? "{\"type\":\"FeatureCollection\",\"features\":[]}"
                                          : "<?xml version=\"1.0\"?><gpx creator=\"someone\"/>";
        tmp.write(f.file, strangers);
        Rig third;
        Context ctx3{third.st, dir, third.log, third.ui, third.clock, third.steps};
        auto fresh = f.make(ctx3);
        fresh->write(entry(1, "K7NEW", 1, 2, kNoon));
        EXPECT_EQ(tmp.read(f.kept), strangers);
        EXPECT_EQ(fresh->tracks()[1].points.size(), 0u);
        expectFileMatchesMemory(*fresh, f.allTimes);
    }
}

// Reports the pass does not write, positions that are no place, switches off:
// the documents stay as they were; the live link comes back when deleted.
TEST(MapDocuments, OnlyWrittenReportsOfPlacesReachTheSwitchedOnDocuments) {
    struct Case {
        const char* name;
        std::function<void(Rig&)> setUp;
        bool written;
        const char* error;
    } cases[] = {
        {"written", [](Rig&) {}, true, ""},
        {"capture all", [](Rig& r) { r.st.map.captureallON = true; }, true, ""},
        {"duplicate", [](Rig& r) { r.dir.appendLine("quorvel.mxf", r.st.rec.mxfstring); }, false, ""},
        {"off the globe", [](Rig& r) { r.st.report.latitude = "95"; }, false, "ERROR  5"},
        {"no number", [](Rig& r) { r.st.report.longitude = "-122.6x"; }, false, "ERROR  13"},
        {"switched off",
         [](Rig& r) {
             r.st.map.menucreategpxfile = r.st.map.menucreatekmlfiles = r.st.map.menucreategeojsonfile = false;
         },
         false, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Rig rig;
        rig.slotReport(1, "N0CALL", "45.5123", "-122.6");
        c.setUp(rig);
        rig.writer.savefiles();
        for (const char* f : {"quorvel.gpx", "quorvel.kml", "quorvellive.kml", "quorvel.geojson"})
            EXPECT_EQ(rig.has(f), c.written) << f;
        if (*c.error) {
            EXPECT_NE(rig.errors().find(c.error), std::string::npos) << rig.errors();
        } else {
            EXPECT_EQ(rig.errors(), "");
        }
    }

    Rig rig;
    rig.slotReport(1, "N0CALL", "45.5123", "-122.6");
    rig.writer.savefiles();
    fs::remove(rig.tmp.path() / "quorvellive.kml");
    rig.slotReport(1, "N0CALL", "45.52", "-122.6", 9, 6);
    rig.writer.savefiles();
    EXPECT_EQ(rig.file("quorvellive.kml"), KmlFiles::liveLinkText());
}

// Times are set digit by digit; they must read as printf wrote them, at the
// turns of day, month, year and century and past the four-digit years.
TEST(MapDocuments, TimesAreWrittenAsPrintfWroteThem) {
    for (const std::int64_t t : {0LL, 946684799LL, 951782400LL, 1798761599LL, 253402300799LL, 253402300800LL,
                                 -62135596800LL, -62135596801LL}) {
        const std::time_t tt = static_cast<std::time_t>(t);
        std::tm tm{};
        gmtime_r(&tt, &tm);
        char buf[96];
        std::snprintf(buf, sizeof buf, "%04d-%02d-%02dT%02d:%02d:%02dZ", tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday,
                      tm.tm_hour, tm.tm_min, tm.tm_sec);
        EXPECT_EQ(isoTime(t), buf) << t;
    }
}
