// The four postings, the manual import notice and timed posting.
#include "posting/MapAutomation.h"

#include "core/Context.h"
#include "core/DateText.h"
#include "core/ErrorLog.h"
#include "core/Failure.h"
#include "core/Station.h"
#include "core/Steps.h"
#include "core/Text.h"
#include "core/WorkDir.h"
#include "platform/Clock.h"
#include "platform/Timer.h"
#include "platform/Ui.h"
#include "platform/WindowKeys.h"
#include "posting/KeystrokeScript.h"
#include "posting/MapOptions.h"

#include <filesystem>
#include <thread>

namespace fs = std::filesystem;

namespace qv {

namespace {

constexpr const char* kNotFound = "Mapping Program cannot be found or has been minimized";

MapAutomation::Step events() { return {true, {}}; }
MapAutomation::Step keysOf(const std::string& script) { return {false, keys::parse(script)}; }

} // namespace

void MapAutomation::attach() {
    if (!ctx_.timer1) return;
    ctx_.timer1->setInterval(60000);
    ctx_.timer1->setEnabled(false);
    ctx_.timer1->onTimeout = [this] { Timer1_Timer(); };
}

// Runs one posting with the receive path paused. A posting never starts while
// another is typing: the events it lets run (Timer1 among them) would mix two
// scripts in one import dialog.
bool MapAutomation::exclusive(const std::function<void()>& run) {
    if (busy_) return false;
    // Released on every way out, to whatever held it before (the file writer
    // may hold it while it lets the timer tick run).
    struct Hold {
        MapAutomation& self;
        std::string before;
        ~Hold() {
            self.ctx_.st.marks.commTag = before;
            self.busy_ = false;
        }
    } hold{*this, ctx_.st.marks.commTag};
    busy_ = true;
    ctx_.st.marks.commTag = kStopComm;
    run();
    return true;
}

void MapAutomation::importtomapnow_Click() {
    Station& st = ctx_.st;
    exclusive([&] {
        st.marks.PGMmessage = "ImportingToMapNow";
        ctx_.log.guard(" in SUB IMPORTTOMAPNOWCLICK ", [&] {
            if (!st.marks.exportarchiveVisible) {
                st.map.exportarchiveNoticeVisible = true;
                st.map.importtomapnowVisible = false;
            } else {
                st.map.exportarchiveNoticeVisible = false;
            }
            const std::string& type = st.map.mapType;
            if (text::iequals(type, kMapStreetAtlas))
                postStreetAtlas();
            else if (text::iequals(type, kMapMapTechStd) || text::iequals(type, kMapMapTechPro))
                postMapTech();
            else if (text::iequals(type, kMapDelormeTopo))
                postDelormeTopo();
            else if (text::iequals(type, kMapNatGeoTopo))
                postNatGeoTopo();
            else
                manualImportNotice();
        });
    });
}

void MapAutomation::exportarchiveNotice_Click() {
    Station& st = ctx_.st;
    st.marks.exportarchiveVisible = true;
    st.map.exportarchiveNoticeVisible = false;
    st.map.importtomapnowVisible = true;
    importtomapnow_Click();
}

void MapAutomation::importSA_Click() {
    exclusive([&] { postStreetAtlas(); });
}
void MapAutomation::autoimport_Click() {
    exclusive([&] { postMapTech(); });
}
void MapAutomation::ImportDelormeTopo_Click() {
    exclusive([&] { postDelormeTopo(); });
}
void MapAutomation::ImportNatGeoTOPO_Click() {
    exclusive([&] { postNatGeoTopo(); });
}

void MapAutomation::manualImportNotice() {
    Answer a = ctx_.ui.message("                      A copy of the data has been prepared.\r"
                               "Now-PERFORM THE MANUAL IMPORT of the data using your map program\r\r\r\r"
                               "          Then press OK  *after* you complete the import.  (Cancel for Help) ",
                               "Quorvel             MAP MANUAL IMPORT NOTICE", Buttons::OkCancel, Icon::Exclamation);
    if (a == Answer::Ok) {
        ctx_.steps.exportarchive_Click();
        return;
    }
    ctx_.ui.message("The manual import process means you can import any of the following TEXT files in the quorvel "
                    "directories.\r\r"
                    "STREET ATLAS:     quorvelSA5now.txt , quorvelSA5.txt\r"
                    "MAPTECH:            quorvel.TXF , quorvel.RXF , quorvel.MXF \r"
                    "OZIEXPLORER:        quorvelID?.plt , quorvel.wpt\r\r"
                    "Feel free to try importing these files with OTHER MAPPING PROGRAMS not listed.",
                    "Quorvel INFO             MAP MANUAL IMPORT CANCELLED ", Buttons::Ok, Icon::Information);
}

void MapAutomation::importmapfindprogram() {
    if (!ctx_.windows) return;
    std::string& status = ctx_.st.marks.PGMmessage;
    for (const std::string& title : ctx_.windows->windowTitles()) {
        if (title.empty() || !text::icontains(title, status)) continue;
        status += " Found";
        ctx_.windows->activate(title);
    }
}

bool MapAutomation::findProgram(const std::string& searchName) {
    Station& st = ctx_.st;
    st.marks.PGMmessage = searchName;
    importmapfindprogram();
    if (text::iequals(st.marks.PGMmessage, searchName + " Found")) return true;
    st.marks.PGMmessage = kNotFound;
    return false;
}

void MapAutomation::perform(const std::vector<Step>& steps) {
    for (const Step& s : steps) {
        if (s.events) {
            ctx_.ui.refresh();
            continue;
        }
        if (!ctx_.windows) throw Failure(err::InvalidCall);
        ctx_.windows->send(s.keys);
    }
}

void MapAutomation::postingFailed(const char* warning, const char* marker) {
    ctx_.ui.beep();
    try {
        throw;
    } catch (const Failure& f) {
        if (f.number() == err::InvalidCall) ctx_.st.marks.PGMmessage = warning;
        ctx_.log.entry(f, marker);
    } catch (const std::exception&) {
        ctx_.log.entry(err::InvalidCall, Failure::describe(err::InvalidCall), marker);
    }
}

void MapAutomation::postStreetAtlas() {
    Station& st = ctx_.st;
    st.marks.PGMmessage = "ImportingToStreetAtlas";
    if (!st.marks.exportarchiveVisible) {
        st.marks.PGMmessage = "No StreetAtlas updates to post.";
        return;
    }
    try {
        // The whole script is read before the first key: a script that cannot
        // be read types nothing.
        const std::vector<Step> script{events(),
                                       keysOf("{F3}"),
                                       keysOf(" "),
                                       keysOf("%FL"),
                                       keysOf(keys::literal(st.map.importPathStreetAtlas)),
                                       keysOf("%O"),
                                       events()};
        if (!findProgram("Street Atlas")) return;
        perform(script);
        st.marks.exportarchiveVisible = false;
    } catch (...) {
        postingFailed("<< Warning >> STREET ATLAS NOT LOADED!! Can't Import", " in SUB IMPORTSACLICK ");
    }
}

bool MapAutomation::mapTechFileExists(const std::string& path) const {
    if (path.empty()) return false;
    fs::path p{path};
    if (p.is_relative()) p = ctx_.dir.path(path);
    std::error_code ec;
    if (fs::is_regular_file(p, ec)) return true;
    // The map programs' files were born on a case-blind file system.
    fs::path folder = p.has_parent_path() ? p.parent_path() : fs::path(".");
    for (const auto& e : fs::directory_iterator(folder, ec))
        if (e.is_regular_file(ec) && text::iequals(e.path().filename().string(), p.filename().string())) return true;
    return false;
}

void MapAutomation::postMapTech() {
    Station& st = ctx_.st;
    st.marks.PGMmessage = "ImportingToMap";
    options_.checkimportfilename();
    st.marks.PGMmessage = "ImportingToMap";
    const std::string path = st.map.importPathMapTech;
    if (!mapTechFileExists(path)) {
        // Nothing was imported, so whatever the writer left on disk is still
        // waiting: the new-data mark stays as it was.
        st.marks.PGMmessage = longTime(ctx_.clock.now()) + "No update file found. SKIPPING IMPORT. ";
        return;
    }
    try {
        std::vector<Step> script{events(), keysOf(st.map.importKeys), keysOf(keys::literal(path)), keysOf("{ENTER}"),
                                 events()};
        if (text::iequals(text::left(MapOptions::importExtension(path), 4), ".rxf") &&
            text::iequals(st.map.importMode, "PROimport")) {
            script.push_back(keysOf("{RIGHT 2}"));
            script.push_back(keysOf("{ENTER}"));
        }
        const Step closing = keysOf(" ");

        // Our own window first, so the map program comes up from behind it.
        if (ctx_.windows) {
            try {
                ctx_.windows->activate("QUORVEL");
            } catch (const Failure&) {
                // The window search passes our own windows by (and headless
                // there are none): the map program comes to the front anyway.
            }
        }
        ctx_.ui.refresh();
        if (!findProgram("Terrain Navigator")) return;
        perform(script);
        std::this_thread::sleep_for(mapTechWait_);
        perform({closing, events()});
        ctx_.steps.exportarchive_Click();
        if (st.sw.soundon) ctx_.ui.beep();
        if (ctx_.timer1 && ctx_.timer1->isEnabled()) {
            ctx_.timer1->setEnabled(false);
            ctx_.timer1->setEnabled(true);
        }
        st.marks.exportarchiveVisible = false;
    } catch (...) {
        postingFailed("<< Warning >> MAP TECH NOT LOADED or BUSY!! Can't Import", " in SUB AUTOIMPORTCLICK ");
    }
}

void MapAutomation::postDelormeTopo() {
    Station& st = ctx_.st;
    st.marks.PGMmessage = "ImportDelormeTopo";
    if (!st.marks.exportarchiveVisible) {
        st.marks.PGMmessage = "No DelormeTOPOusa updates to post.";
        return;
    }
    try {
        const std::vector<Step> script{events(),
                                       keysOf("+%(T)"),
                                       keysOf("%(w)"),
                                       keysOf("^+({TAB 2})"),
                                       keysOf("+({TAB 4}) "),
                                       events(),
                                       keysOf(keys::literal(st.map.importPathMapTech)),
                                       keysOf("{TAB}aaa"),
                                       keysOf("%(O)"),
                                       events()};
        if (!findProgram("DeLorme Topo")) return;
        perform(script);
        st.marks.exportarchiveVisible = false;
    } catch (...) {
        postingFailed("<< Warning >> TOPO USA NOT LOADED!! or Can't Import", " in SUB IMPORTDELORMETOPOCLICK ");
    }
}

void MapAutomation::postNatGeoTopo() {
    Station& st = ctx_.st;
    st.marks.PGMmessage = "ImportNatGeoTOPO";
    if (!st.marks.exportarchiveVisible) return;
    try {
        std::vector<Step> script;
        for (const std::string& s : {std::string("^n"), std::string("n"), std::string("^i"), std::string("%(n)"),
                                     keys::literal(st.map.importPathNatGeoTopo), std::string("%(ONN)"),
                                     std::string("{ENTER}"), std::string("{ENTER}")}) {
            script.push_back(events());
            script.push_back(keysOf(s));
        }
        if (!findProgram("TOPO!")) return;
        perform(script);
        st.marks.exportarchiveVisible = false;
    } catch (...) {
        postingFailed("<< Warning >> TOPO! NOT LOADED!! or Can't Import", " in SUB IMPORTNATGEOTOPOCLICK ");
    }
}

void MapAutomation::timedautoimport_Click() {
    MapState& m = ctx_.st.map;
    if (m.timedautoimport) {
        if (text::iequals(m.timedautoimportTag, kNoticeNotSeen)) {
            ctx_.ui.message("NOTICE: Using the timed auto-post option may interfere with other uses of the computer "
                            "and/or mapping program.\r"
                            "While it is OK to turn this option ON and OFF as needed during a session, for best "
                            "results do not have this option ON when interacting with programs on the computer.\r"
                            "It is recommended you use the manual POST TO MAP NOW button during those times.",
                            "NOTICE: TIMED MAP POSTING", Buttons::Ok, Icon::Information);
            m.timedautoimportTag = kNoticeSeen;
        }
        if (ctx_.timer1) ctx_.timer1->setEnabled(true);
    } else {
        if (ctx_.timer1) ctx_.timer1->setEnabled(false);
    }
    ctx_.steps.savesettings();
}

void MapAutomation::Timer1_Timer() {
    if (busy_) return;
    ctx_.st.marks.PGMmessage = "TimedImportingtoMapNOW";
    importtomapnow_Click();
}

} // namespace qv
