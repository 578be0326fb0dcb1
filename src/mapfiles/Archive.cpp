// Archive sets, delete and view commands for the map files.
#include "mapfiles/Archive.h"

#include "core/Context.h"
#include "core/ErrorLog.h"
#include "core/Failure.h"
#include "core/Station.h"
#include "core/Steps.h"
#include "core/WorkDir.h"
#include "mapfiles/MapFileNames.h"
#include "platform/ProcessRunner.h"
#include "platform/Ui.h"

#include <algorithm>
#include <array>
#include <filesystem>

namespace fs = std::filesystem;

namespace qv {

namespace {

constexpr const char* kArchiveMarker = " in SUB EXPORTARCHIVECLICK ";

struct Member {
    const char* source;
    const char* ext;
};
constexpr std::array<Member, 4> kSet{
    Member{"quorvel.txf", ".TXF"},
    Member{"quorvel.rxf", ".RXF"},
    Member{"quorvel.mxf", ".MXF"},
    Member{"quorvel.wpt", ".WPT"},
};
// Archived beside them when they are there (their switches may be off).
constexpr std::array<Member, 3> kOpenSet{
    Member{mapfile::kGpx, ".GPX"},
    Member{mapfile::kKml, ".KML"},
    Member{mapfile::kGeoJson, ".GEOJSON"},
};

} // namespace

std::string Archive::setName(long n) { return "./data/quorvel" + std::string(n < 10 ? "0" : "") + std::to_string(n); }

void Archive::exportarchive_Click() {
    Station& st = ctx_.st;
    for (long n = 1; n <= 99999999; ++n) {
        const std::string base = setName(n);
        std::string tested = base + ".TXF";
        bool inUse = ctx_.dir.exists(tested);
        if (!inUse) {
            ctx_.ui.beep();
            // The waypoint and open-format copies count as well: a leftover one is never overwritten.
            for (const char* ext : {".RXF", ".MXF", ".WPT", ".GPX", ".KML", ".GEOJSON"}) {
                tested = base + ext;
                if (ctx_.dir.exists(tested)) {
                    inUse = true;
                    break;
                }
            }
        }
        if (inUse) {
            st.marks.PGMmessage = tested + " Already in use... assign next higher number";
            ctx_.ui.beep();
            continue;
        }

        // Copy first; an original is deleted only when its own copy is in
        // place, so no failure here can lose a position.
        std::array<bool, kSet.size()> copied{};
        for (std::size_t i = 0; i < kSet.size(); ++i) {
            const std::string target = base + kSet[i].ext;
            try {
                try {
                    ctx_.dir.copy(kSet[i].source, target);
                } catch (const Failure& f) {
                    if (f.number() != err::PathNotFound) throw;
                    ctx_.dir.makeDirectory("data");
                    ctx_.dir.copy(kSet[i].source, target);
                }
                copied[i] = true;
            } catch (const Failure& f) {
                if (f.number() == err::FileNotFound) {
                    st.marks.PGMmessage = "ERR53 File not found in SUBexportarchive";
                    return;
                }
                ctx_.log.entry(f, kArchiveMarker);
            } catch (const std::exception&) {
                ctx_.log.entry(5, Failure::describe(5), kArchiveMarker);
            }
        }
        std::string missed;
        for (std::size_t i = 0; i < kSet.size(); ++i) {
            if (copied[i])
                ctx_.log.guard(kArchiveMarker, [&] { ctx_.dir.remove(kSet[i].source); });
            else
                missed += std::string(missed.empty() ? "" : ", ") + kSet[i].source;
        }
        const std::string openMissed = archiveOpenFormats(base);
        if (!openMissed.empty()) missed += (missed.empty() ? "" : ", ") + openMissed;
        ctx_.ui.beep();
        if (!missed.empty()) {
            // The new-data mark stays: what was not copied is still here, unposted.
            const bool some = std::find(copied.begin(), copied.end(), true) != copied.end();
            st.marks.PGMmessage = (some ? "Archived as " + base + " WITHOUT " : std::string("NOT archived: ")) +
                                  missed + " (see quorvel.err)";
            return;
        }
        st.marks.PGMmessage = "Exported as " + base + ".MXF";
        st.map.exportarchiveCaption = "Data files have been Archived.";
        st.marks.exportarchiveVisible = false;
        return;
    }
}

std::string Archive::archiveOpenFormats(const std::string& base) {
    // Each goes only once its copy is in place; the next report then starts
    // the document afresh, as the MapTech files start afresh.
    std::string missed;
    for (const Member& m : kOpenSet) {
        if (!ctx_.dir.exists(m.source)) continue;
        if (ctx_.log.guard(kArchiveMarker, [&] { ctx_.dir.copy(m.source, base + m.ext); }))
            ctx_.log.guard(kArchiveMarker, [&] { ctx_.dir.remove(m.source); });
        else
            missed += std::string(missed.empty() ? "" : ", ") + m.source;
    }
    return missed;
}

bool Archive::confirmed(const std::string& question) {
    return ctx_.ui.message(question, "Quorvel", Buttons::YesNoCancel, Icon::Exclamation, 3) == Answer::Yes;
}

void Archive::deleteQuietly(const std::string& name) {
    try {
        ctx_.dir.remove(name);
    } catch (...) {
        // A file that is not there is what the user asked for.
    }
}

void Archive::deletePathQuietly(const std::string& path) {
    if (path.empty()) return;
    std::error_code ec;
    fs::path p{path};
    if (p.is_relative()) p = ctx_.dir.path(path);
    if (!fs::is_directory(p, ec)) fs::remove(p, ec);
}

void Archive::deleteTXF_Click() {
    if (confirmed("Are you sure you want to DELETE the TRACKS data file?")) deleteQuietly("quorvel.txf");
}
void Archive::deleteRXF_Click() {
    if (confirmed("Are you sure you want to DELETE the ROUTE data file?")) deleteQuietly("quorvel.rxf");
}
void Archive::deleteMXF_Click() {
    if (confirmed("Are you sure you want to DELETE the MARKER data file?")) deleteQuietly("quorvel.mxf");
}
void Archive::deleteMXFHISTORY_Click() {
    if (confirmed("Are you sure you want to DELETE the HISTORICAL MARKER data file?"))
        deleteQuietly("quorvelhistory.mxf");
}
void Archive::deleteRXFHISTORY_Click() {
    if (confirmed("Are you sure you want to DELETE the HISTORICAL ROUTE data file?"))
        deleteQuietly("quorvelhistory.rxf");
}
void Archive::deleteWPT_Click() {
    if (confirmed("Are you sure you want to DELETE the OZI WAYPOINT data file?")) deleteQuietly("quorvel.wpt");
}
void Archive::deletePLTs_Click() {
    if (!confirmed("Are you sure you want to DELETE *all* the OZI Track data files?")) return;
    try {
        ctx_.dir.removeMatching("quorvel*.plt");
    } catch (...) {
    }
    ctx_.st.tracks.clear(); // the map's tracks go with their files
}
void Archive::deleteAllNGTOPO_Click() {
    if (!confirmed("Are you sure you want to DELETE *ALL* the TOPO! data files?")) return;
    for (const char* f :
         {"quorvelNGTOPO.txt", "quorvelNGTOPOnow.txt", "quorvelNGTOPOnowCall.txt", "quorvelNGTOPOnowCall.tmp"})
        deleteQuietly(f);
}
void Archive::deleteGPX_Click() {
    if (confirmed("Are you sure you want to DELETE the GPX map file?")) deleteQuietly(mapfile::kGpx);
}
void Archive::deleteKML_Click() {
    if (!confirmed("Are you sure you want to DELETE the KML map files?")) return;
    deleteQuietly(mapfile::kKml);
    deleteQuietly(mapfile::kLiveKml);
}
void Archive::deleteGEOJSON_Click() {
    if (confirmed("Are you sure you want to DELETE the GeoJSON map file?")) deleteQuietly(mapfile::kGeoJson);
}
void Archive::deletefileSA5button_Click() {
    if (confirmed("Are you sure you want to DELETE the data file?"))
        deletePathQuietly(ctx_.st.map.importPathStreetAtlas);
}
void Archive::deletefileNGTOPObutton_Click() {
    if (confirmed("Are you sure you want to DELETE the current data file?"))
        deletePathQuietly(ctx_.st.map.importPathNatGeoTopo);
}

void Archive::deletealldatafiles_Click() {
    deleteRXF_Click();
    deleteTXF_Click();
    deleteMXF_Click();
    deleteWPT_Click();
    deletePLTs_Click();
    deleteAllNGTOPO_Click();
    deleteGPX_Click();
    deleteKML_Click();
    deleteGEOJSON_Click();
}

void Archive::killeverything_Click() {
    if (!confirmed("WARNING! Are you sure you want to DELETE *ALL* the data and archived files?")) return;
    static constexpr const char* kPatterns[] = {
        "./data/quorvel*.rxf",
        "quorvel*.rxf",
        "./data/quorvel*.txf",
        "quorvel*.txf",
        "./data/quorvel*.mxf",
        "quorvel*.mxf",
        "./data/quorvel*.wpt",
        "quorvel*.wpt",
        "quorvel*.plt",
        "quorvelSA5.txt",
        "quorvelSA5now.txt",
        "quorvelSA5now.tmp",
        "quorvelNGTOPO.txt",
        "quorvelNGTOPOnow.txt",
        "quorvelNGTOPOnow.tmp",
        "quorvelNGTOPOnowCall.txt",
        "quorvelNGTOPOnowCall.tmp",
        "quorvel.olt",
        "quorvel.log",
        "quorvel.imp",
        "quorvel.mic",
        "quorvel.rrr",
        "./data/quorvel*.gpx",
        "quorvel*.gpx",
        "./data/quorvel*.kml",
        "quorvel*.kml",
        "./data/quorvel*.geojson",
        "quorvel*.geojson",
    };
    for (const char* p : kPatterns) {
        try {
            ctx_.dir.removeMatching(p);
        } catch (...) {
        }
    }
    ctx_.st.tracks.clear();
    ctx_.ui.message("You now have a FRESH START. ALL data and archive files are deleted");
}

void Archive::openEditor(const std::string& fullPath, const char* marker) {
    if (!ctx_.process || !openInTextEditor(*ctx_.process, fullPath))
        ctx_.log.entry(err::FileNotFound, Failure::describe(err::FileNotFound), marker);
}

void Archive::view(const std::string& name, const std::string& missingText, const char* marker) {
    if (!ctx_.dir.exists(name)) {
        ctx_.ui.message(missingText);
        return;
    }
    openEditor(ctx_.dir.path(name).string(), marker);
}

void Archive::viewtxf_Click() { view("quorvel.txf", "QUORVEL.TXF file does not exist.", " in SUB VIEWTXFCLICK "); }
void Archive::viewrxf_Click() { view("quorvel.rxf", "QUORVEL.RXF file does not exist.", " in SUB VIEWRXFCLICK "); }
void Archive::viewmxf_Click() { view("quorvel.mxf", "QUORVEL.MXF file does not exist.", " in SUB VIEWMXFCLICK "); }
void Archive::viewwpt_Click() { view("quorvel.wpt", "QUORVEL.WPT file does not exist.", " in SUB VIEWWPTCLICK "); }
void Archive::viewmxfhistory_Click() {
    view("quorvelhistory.mxf", "QUORVELhistory.MXF file does not exist.", " in SUB VIEWMXFHISTORYCLICK ");
}
void Archive::viewrxfhistory_Click() {
    view("quorvelhistory.rxf", "QUORVELhistory.RXF file does not exist.", " in SUB VIEWRXFHISTORYCLICK ");
}
void Archive::viewplt_Click(int n) {
    if (n < 1 || n > 8) return;
    const std::string id = std::to_string(n);
    view("quorvelID" + id + ".plt", "QUORVELID" + id + ".PLT file does not exist.", " in SUB VIEWPLTCLICK ");
}
void Archive::Command1_Click() {
    view("quorvelSA5.txt", "QUORVELSA5.TXT file does not exist.", " in SUB COMMAND1CLICK ");
}

void Archive::viewgpx_Click() { view(mapfile::kGpx, "QUORVEL.GPX file does not exist.", " in SUB VIEWGPXCLICK "); }
void Archive::viewkml_Click() { view(mapfile::kKml, "QUORVEL.KML file does not exist.", " in SUB VIEWKMLCLICK "); }
void Archive::viewgeojson_Click() {
    view(mapfile::kGeoJson, "QUORVEL.GEOJSON file does not exist.", " in SUB VIEWGEOJSONCLICK ");
}

void Archive::viewImportPath(const std::string& path, const char* notSelected, bool streetAtlas, const char* marker) {
    if (path.empty()) {
        ctx_.ui.message(notSelected);
        if (streetAtlas)
            ctx_.steps.changeimportSA_Click();
        else
            ctx_.steps.changeimportNGTOPO_Click();
        return;
    }
    std::error_code ec;
    fs::path p{path};
    if (p.is_relative()) p = ctx_.dir.path(path);
    if (!fs::is_regular_file(p, ec)) {
        ctx_.ui.message(path + " file does not exist.");
        return;
    }
    openEditor(p.string(), marker);
}

void Archive::ViewSA_Click() {
    viewImportPath(ctx_.st.map.importPathStreetAtlas, "A Street Atlas file has not been selected for import", true,
                   " in SUB VIEWSACLICK ");
}
void Archive::ViewNGTOPO_Click() {
    viewImportPath(ctx_.st.map.importPathNatGeoTopo, "A Nat.Geo.TOPO! file has not been selected for import", false,
                   " in SUB VIEWNGTOPOCLICK ");
}

} // namespace qv
