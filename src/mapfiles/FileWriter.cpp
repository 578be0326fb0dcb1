// The pass itself: guard, duplicate check, the families by mode, completion
// and hand-over. Every family guards its own statements; the pass guards the
// whole once more so that serial input is always let through at the end.
#include "mapfiles/FileWriter.h"

#include "core/ErrorLog.h"
#include "core/NumberText.h"
#include "core/Station.h"
#include "core/Steps.h"
#include "core/Text.h"
#include "core/WorkDir.h"
#include "mapfiles/MapFileIo.h"
#include "mapfiles/MapFileNames.h"
#include "mapfiles/MapTechFiles.h"
#include "mapfiles/OziFiles.h"
#include "mapfiles/StreetAtlasFiles.h"
#include "mapfiles/TopoFiles.h"
#include "platform/Ui.h"

namespace qv {

using namespace mapfile;

namespace {
constexpr Colour kYellow = 65535;
}

bool FileWriter::zeroPosition() const {
    return num::leading(ctx_.st.report.latitude) == 0 || num::leading(ctx_.st.report.longitude) == 0;
}

bool FileWriter::duplicate() {
    const Station& st = ctx_.st;
    if (!st.map.preventdupes) return false;
    const bool capture = st.map.captureallON;
    const char* keyFile = capture ? kSa5Now : kMxf;
    const std::string& key = capture ? st.rec.sa5string : st.rec.mxfstring;
    std::string last;
    if (auto known = ctx_.dir.lastAppendedLine(keyFile)) return text::iequals(*known, key);
    if (!ctx_.dir.exists(keyFile)) return false;
    // A key file that cannot be read lets the report through: a repeated line
    // does less harm than a lost one.
    if (!ctx_.log.guard(kSavefilesMarker, [&] { last = lastNonEmptyLine(ctx_.dir, keyFile); })) return false;
    return text::iequals(last, key);
}

void FileWriter::waypoint(bool isDuplicate) {
    if (ctx_.st.map.Option7LivePostOzi()) {
        if (!(isDuplicate && !ctx_.st.map.captureallON))
            ctx_.log.guard(kSavefilesMarker, [&] { ctx_.steps.oziLivePost(); });
        return;
    }
    OziFiles(ctx_, &pltOwners_).waypointStep(isDuplicate);
}

void FileWriter::writeNormal(bool isDuplicate) {
    const MapState& map = ctx_.st.map;
    if (!isDuplicate) {
        if (map.menucreatemaptechfiles) MapTechFiles(ctx_).write();
        waypoint(false);
        OziFiles(ctx_, &pltOwners_).trackStep();
        bool topo = map.menucreatenatgeotopofiles;
        if (map.menucreatestreetatlasfiles) {
            StreetAtlasFiles sa(ctx_);
            sa.fileStep();
            // A replay of quorvel.imp builds up the track only; the "now"
            // files stay as they were.
            if (map.importRun())
                topo = false;
            else
                sa.nowStep();
        }
        if (topo) TopoFiles(ctx_, topoNames_).topoStep();
    }
    TopoFiles last(ctx_, topoNames_);
    if (map.menucreatenatgeotopoNowCallfile) last.nowCallStep();
    if (map.ODFcheckbox) last.spotfiresStep();
    if (!isDuplicate) docs_.write();
}

void FileWriter::writeCaptureAll(bool isDuplicate) {
    waypoint(isDuplicate);
    StreetAtlasFiles(ctx_).nowStep();
    TopoFiles last(ctx_, topoNames_);
    if (ctx_.st.map.menucreatenatgeotopoNowCallfile) last.nowCallStep();
    if (ctx_.st.map.ODFcheckbox) last.spotfiresStep();
    if (!isDuplicate) docs_.write();
}

void FileWriter::complete() {
    Station& st = ctx_.st;
    st.map.exportarchiveCaption = "Current Data files available";
    st.marks.exportarchiveVisible = true;
    st.map.exportarchiveNoticeVisible = false;
    st.map.importtomapnowVisible = true;
    st.marks.PGMmessage = "Saving Files complete";
    ctx_.ui.refresh();
}

void FileWriter::handOver() {
    if (ctx_.st.map.captureallON) ctx_.log.guard(kSavefilesMarker, [&] { ctx_.steps.captureallcallsigns(); });
    ctx_.st.marks.commTag = kStartComm;
}

void FileWriter::savefiles() {
    Station& st = ctx_.st;
    // Serial input must flow again however the pass ends.
    struct Resume {
        Station& st;
        ~Resume() { st.marks.commTag = kStartComm; }
    } resume{st};

    // One look at the directory for the whole pass instead of one per file.
    WorkDirPass pass(ctx_.dir);
    ctx_.steps.ensurestrings();

    if (zeroPosition()) {
        st.report.incomingdataBack = kYellow;
        st.marks.PGMmessage = " WARNING!!! INVALID GPS DATA (zero's)";
        ctx_.ui.beep();
        handOver();
        return;
    }

    st.marks.PGMmessage = "Saving Files - Dupe string check";
    st.marks.commTag = kStopComm;
    ctx_.ui.refresh();

    ctx_.log.guard(kSavefilesMarker, [&] {
        const bool isDuplicate = duplicate();
        if (st.map.captureallON)
            writeCaptureAll(isDuplicate);
        else
            writeNormal(isDuplicate);
        complete();
        if (!isDuplicate) ctx_.steps.addtrackpoint();
    });
    handOver();
}

} // namespace qv
