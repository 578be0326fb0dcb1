// Map program and display options, family switches and import file choice.
#include "posting/MapOptions.h"

#include "core/Context.h"
#include "core/ErrorLog.h"
#include "core/Station.h"
#include "core/Steps.h"
#include "core/Text.h"
#include "core/WorkDir.h"
#include "platform/OziApi.h"
#include "platform/Ui.h"

#include <algorithm>
#include <filesystem>
#include <initializer_list>

namespace fs = std::filesystem;

namespace qv {

namespace {

constexpr const char* kNoticeTitle = "Quorvel    MAP OPTION NOTICE";
constexpr const char* kTimedLine =
    "You can choose to POST manually or turn on the TIMED 1 minute Auto-Import function.";
constexpr const char* kPathLine = "Your current IMPORT PATH is: ";
constexpr const char* kOthersOff = "All other MAP file creation has been disabled under the File-Maps menu.";
constexpr const char* kCaptureAllMapTech = "Sorry... Quorvel does not yet write files for MapTech while the (CAPTURE "
                                           "ALL) feature is turned on. CAPTURE ALL HAS BEEN TURNED OFF";
constexpr const char* kCaptureAllTopo = "Sorry... Quorvel does not yet write files for TOPO! while the (CAPTURE ALL) "
                                        "feature is turned on. CAPTURE ALL HAS BEEN TURNED OFF";

std::string lines(std::initializer_list<std::string> parts) {
    std::string out;
    for (const auto& p : parts) {
        if (!out.empty()) out += '\r';
        out += p;
    }
    return out;
}

enum class Timed { Enabled, ClearedAndDisabled, Disabled };
enum class Tactical { Enabled, DisabledAndCleared, Disabled };
enum class Families { StreetAtlas, MapTech, Topo, AllOn, Unchanged };
enum class Button { None, StreetAtlas, MapTech, Topo };

} // namespace

struct MapOptions::Row {
    MapOption option;
    const char* mapType;
    const char* importMode; // nullptr: unchanged
    bool typeAfterNotice;
    Timed timed;
    bool postNow;
    Button button;
    Tactical tactical;
    const char* captureAllMessage; // nullptr: capture-all is left alone
    std::initializer_list<DisplayOption> display;
    Families families;
};

namespace {

using D = DisplayOption;

// One row per option: what a click on it switches.
const MapOptions::Row kRows[] = {
    {MapOption::Option1ImportSA,
     kMapStreetAtlas,
     nullptr,
     false,
     Timed::Enabled,
     true,
     Button::StreetAtlas,
     Tactical::Enabled,
     nullptr,
     {D::OptionMapPostOnlyCurrentWithCallsigns},
     Families::StreetAtlas},
    {MapOption::Option2ImportMapTech,
     kMapMapTechStd,
     "Stdimport",
     false,
     Timed::Enabled,
     true,
     Button::MapTech,
     Tactical::Enabled,
     kCaptureAllMapTech,
     {D::OptionMapPostbyTRACK, D::OptionMapPostbyTRACKwLines},
     Families::MapTech},
    {MapOption::Option3ImportMapTechPRO,
     kMapMapTechPro,
     "PROimport",
     false,
     Timed::Enabled,
     true,
     Button::MapTech,
     Tactical::Enabled,
     kCaptureAllMapTech,
     {D::OptionMapPostbyTRACK, D::OptionMapPostbyTRACKwLines},
     Families::MapTech},
    {MapOption::Option5ImportDelormeTOPO,
     kMapDelormeTopo,
     nullptr,
     true,
     Timed::Enabled,
     true,
     Button::MapTech,
     Tactical::DisabledAndCleared,
     nullptr,
     {},
     Families::MapTech},
    {MapOption::Option6ImportNatGeoTOPO,
     kMapNatGeoTopo,
     nullptr,
     false,
     Timed::Enabled,
     true,
     Button::Topo,
     Tactical::Enabled,
     kCaptureAllTopo,
     {D::OptionMapPostOnlyCurrent},
     Families::Topo},
    {MapOption::Option4ImporttoOtherMaps,
     kMapOther,
     nullptr,
     false,
     Timed::ClearedAndDisabled,
     true,
     Button::None,
     Tactical::DisabledAndCleared,
     nullptr,
     {},
     Families::AllOn},
    {MapOption::Option7LivePostOzi,
     kMapOziLive,
     nullptr,
     false,
     Timed::Disabled,
     false,
     Button::None,
     Tactical::Disabled,
     nullptr,
     {D::OptionMapPostOnlyCurrent},
     Families::Unchanged},
};

const MapOptions::Row* rowFor(MapOption o) {
    for (const auto& r : kRows)
        if (r.option == o) return &r;
    return nullptr;
}
} // namespace

void MapOptions::setTimedPosting(bool on) {
    MapState& m = ctx_.st.map;
    if (m.timedautoimport == on) return;
    m.timedautoimport = on;
    ctx_.steps.timedautoimport_Click();
}

void MapOptions::applyMapOption(const Row& row) {
    Station& st = ctx_.st;
    MapState& m = st.map;
    m.option = row.option;

    switch (row.timed) {
    case Timed::Enabled: m.timedautoimportEnabled = true; break;
    case Timed::ClearedAndDisabled:
        setTimedPosting(false);
        m.timedautoimportEnabled = false;
        break;
    case Timed::Disabled: m.timedautoimportEnabled = false; break;
    }
    m.importtomapnowEnabled = row.postNow;
    m.changeimportSAVisible = row.button == Button::StreetAtlas;
    m.changeimportVisible = row.button == Button::MapTech;
    m.changeimportNGTOPOVisible = row.button == Button::Topo;
    auto& tactical = st.tracking.CheckMapTacticalNames;
    tactical.enabled = row.tactical == Tactical::Enabled;
    if (row.tactical == Tactical::DisabledAndCleared) tactical.checked = false;

    if (row.captureAllMessage && m.CaptureAllLabel) {
        ctx_.steps.captureallOFF_Click();
        ctx_.ui.message(row.captureAllMessage, "Quorvel", Buttons::Ok);
    }

    if (!row.typeAfterNotice) m.mapType = row.mapType;
    if (row.importMode) m.importMode = row.importMode;
    for (DisplayOption d : row.display)
        selectDisplay(d);
    selectmapdatadisplaytype();

    if (st.marks.windowVisible && !st.marks.loading()) {
        switch (row.option) {
        case MapOption::Option1ImportSA:
            notice(lines({"You have chosen the option to import and post data to",
                          "Street Atlas 5.0    filename: quorvelSA5now.txt", kTimedLine,
                          kPathLine + m.importPathStreetAtlas, kOthersOff}));
            break;
        case MapOption::Option2ImportMapTech:
        case MapOption::Option3ImportMapTechPRO:
            notice(lines({row.option == MapOption::Option3ImportMapTechPRO
                              ? "You have chosen the option to import and post data to MapTech Terrain Navigator PRO"
                              : "You have chosen the option to import and post data to MapTech Terrain Navigator",
                          "The default suggested filename is: quorvel.mxf", kTimedLine, kPathLine + m.importPathMapTech,
                          kOthersOff}));
            break;
        case MapOption::Option5ImportDelormeTOPO:
            notice(lines({"You have chosen the option to import and post data to",
                          "Delorme TopoUSA    filename: quorvel.mxf (Same files as MapTech)", kTimedLine,
                          kPathLine + m.importPathMapTech, kOthersOff}));
            break;
        case MapOption::Option6ImportNatGeoTOPO:
            notice(lines({"You have chosen the option to import and post data to National Geographic TOPO!",
                          "Filename <quorvelNGTOPO.txt> will show a TRACK",
                          "Filename <quorvelNGTOPOnow.txt> will show only current positions.",
                          "Filename <quorvelNGTOPOnowCall.txt> will show current positions using Callsigns.",
                          "You can also choose to POST manually or turn on the TIMED 1 minute Auto-Import function.",
                          "NOTE: Due to TOPO! waypoint naming limits, Quorvel will only save a maximum of 1 position "
                          "per minute for each callsign.",
                          kPathLine + m.importPathNatGeoTopo, kOthersOff}));
            break;
        case MapOption::Option4ImporttoOtherMaps:
            notice(lines({"You have chosen the option to import and post data to a map not yet supported by the "
                          "Auto-Import features of QUORVEL.",
                          "When choosing the <POST to Map> option you will be prompted with other instructions.",
                          "NOTICE: Keep in mind that you will need to learn how to import a data file using your "
                          "particular map program yourself. QUORVEL will only create the file and prompt you to "
                          "perform the file import function.",
                          "Creation of All types of MAP files has been enabled under the File-Maps menu so you can "
                          "choose which file works best for your mapping program."}));
            break;
        case MapOption::Option7LivePostOzi:
            // Live posting itself has nothing to say, but without the library
            // it cannot happen at all: the user learns that once, and what
            // the files still give him.
            if ((!ctx_.ozi || !ctx_.ozi->loaded()) && !oziMissingTold_) {
                oziMissingTold_ = true;
                ctx_.ui.message(
                    lines({"The OziExplorer programming library (oziapi) cannot be loaded on this computer, so "
                           "positions cannot be posted live into OziExplorer.",
                           "",
                           "Nothing is lost: every position still goes into the waypoint file quorvel.wpt and the "
                           "track files quorvelID1.plt .. quorvelID8.plt in the working directory, ready to be "
                           "loaded into OziExplorer by hand."}),
                    "Quorvel    OZIEXPLORER LIVE POST", Buttons::Ok, Icon::Information);
            }
            break;
        default: break;
        }
    }
    if (row.typeAfterNotice) m.mapType = row.mapType;

    switch (row.families) {
    case Families::StreetAtlas:
        desktopFamiliesOff();
        m.menucreatestreetatlasfiles = true;
        break;
    case Families::MapTech:
        desktopFamiliesOff();
        m.menucreatemaptechfiles = true;
        break;
    case Families::Topo:
        desktopFamiliesOff();
        m.menucreatenatgeotopofiles = true;
        m.menucreatenatgeotopoNowCallfile = true;
        break;
    case Families::AllOn: menumapsallON_Click(); break;
    case Families::Unchanged: break;
    }
    ctx_.steps.savesettings();
}

void MapOptions::notice(const std::string& text) { ctx_.ui.message(text, kNoticeTitle, Buttons::Ok); }

void MapOptions::Option1ImportSA_Click() { applyMapOption(*rowFor(MapOption::Option1ImportSA)); }
void MapOptions::Option2ImportMapTech_Click() { applyMapOption(*rowFor(MapOption::Option2ImportMapTech)); }
void MapOptions::Option3ImportMapTechPRO_Click() { applyMapOption(*rowFor(MapOption::Option3ImportMapTechPRO)); }
void MapOptions::Option4ImporttoOtherMaps_Click() { applyMapOption(*rowFor(MapOption::Option4ImporttoOtherMaps)); }
void MapOptions::Option5ImportDelormeTOPO_Click() { applyMapOption(*rowFor(MapOption::Option5ImportDelormeTOPO)); }
void MapOptions::Option6ImportNatGeoTOPO_Click() { applyMapOption(*rowFor(MapOption::Option6ImportNatGeoTOPO)); }
void MapOptions::Option7LivePostOzi_Click() { applyMapOption(*rowFor(MapOption::Option7LivePostOzi)); }

void MapOptions::selectMapOption(MapOption option) {
    if (option == MapOption::None) {
        ctx_.st.map.option = MapOption::None;
        return;
    }
    if (ctx_.st.map.option == option) return;
    if (const Row* row = rowFor(option)) applyMapOption(*row);
}

void MapOptions::selectMapOption(const std::string& name) {
    static const struct {
        const char* name;
        MapOption option;
    } names[] = {
        {"Option1ImportSA", MapOption::Option1ImportSA},
        {"Option2ImportMapTech", MapOption::Option2ImportMapTech},
        {"Option3ImportMapTechPRO", MapOption::Option3ImportMapTechPRO},
        {"Option4ImporttoOtherMaps", MapOption::Option4ImporttoOtherMaps},
        {"Option5ImportDelormeTOPO", MapOption::Option5ImportDelormeTOPO},
        {"Option6ImportNatGeoTOPO", MapOption::Option6ImportNatGeoTOPO},
        {"Option7LivePostOzi", MapOption::Option7LivePostOzi},
    };
    for (const auto& n : names)
        if (text::iequals(name, n.name)) applyMapOption(*rowFor(n.option));
}

// ---- display-type options

const char* MapOptions::displayName(DisplayOption option) {
    switch (option) {
    case D::OptionMapPostbyTRACK: return "OptionMapPostbyTRACK";
    case D::OptionMapPostbyTRACKwLines: return "OptionMapPostbyTRACKwLines";
    case D::OptionMapPostOnlyCurrent: return "OptionMapPostOnlyCurrent";
    case D::OptionMapPostOnlyCurrentWithCallsigns: return "OptionMapPostOnlyCurrentWithCallsigns";
    case D::OptionMapPostOTHER: return "OptionMapPostOTHER";
    case D::None: break;
    }
    return "";
}

std::string MapOptions::inWorkDir(const char* file) const { return (ctx_.dir.root() / file).string(); }

// While the settings load, the option buttons are set before and after the
// stored import paths are read; pointing the paths at the display type's
// files then would throw away the paths the user saved.
bool MapOptions::pathsFollowDisplay() const { return !ctx_.st.marks.loading(); }

// What every display option does after pointing the import paths at its
// files: allow or forbid tactical names, size the options frame, and apply
// the map type's rules.
void MapOptions::displayChosen(bool tacticalNames, int frameHeight) {
    ctx_.st.tracking.CheckMapTacticalNames.enabled = tacticalNames;
    ctx_.st.map.FrameMapPostOptionsHeight = frameHeight;
    selectmapdatadisplaytype();
}

void MapOptions::OptionMapPostbyTRACK_Click() {
    MapState& m = ctx_.st.map;
    if (pathsFollowDisplay()) {
        m.importPathNatGeoTopo = inWorkDir("quorvelNGTOPO.txt");
        m.importPathMapTech = inWorkDir("quorvel.mxf");
    }
    displayChosen(true, 2775);
}

void MapOptions::OptionMapPostbyTRACKwLines_Click() {
    if (pathsFollowDisplay()) ctx_.st.map.importPathMapTech = inWorkDir("quorvel.rxf");
    displayChosen(true, 2775);
}

void MapOptions::OptionMapPostOnlyCurrent_Click() {
    if (pathsFollowDisplay()) ctx_.st.map.importPathNatGeoTopo = inWorkDir("quorvelNGTOPOnow.txt");
    displayChosen(true, 2775);
}

void MapOptions::OptionMapPostOnlyCurrentWithCallsigns_Click() {
    MapState& m = ctx_.st.map;
    if (pathsFollowDisplay()) {
        m.importPathStreetAtlas = inWorkDir("quorvelSA5now.txt");
        m.importPathNatGeoTopo = inWorkDir("quorvelNGTOPOnowCall.txt");
    }
    displayChosen(false, 2775); // the callsign files carry callsigns, never tactical names
}

void MapOptions::OptionMapPostOTHER_Click() { displayChosen(true, 1575); }

void MapOptions::selectDisplay(DisplayOption option) {
    MapState& m = ctx_.st.map;
    if (m.display == option) return;
    m.display = option;
    switch (option) {
    case D::OptionMapPostbyTRACK: OptionMapPostbyTRACK_Click(); break;
    case D::OptionMapPostbyTRACKwLines: OptionMapPostbyTRACKwLines_Click(); break;
    case D::OptionMapPostOnlyCurrent: OptionMapPostOnlyCurrent_Click(); break;
    case D::OptionMapPostOnlyCurrentWithCallsigns: OptionMapPostOnlyCurrentWithCallsigns_Click(); break;
    case D::OptionMapPostOTHER: OptionMapPostOTHER_Click(); break;
    case D::None: break;
    }
}

void MapOptions::selectMapDataFormat(const std::string& name) {
    for (D d : {D::OptionMapPostbyTRACK, D::OptionMapPostbyTRACKwLines, D::OptionMapPostOnlyCurrent,
                D::OptionMapPostOnlyCurrentWithCallsigns, D::OptionMapPostOTHER})
        if (text::iequals(name, displayName(d))) selectDisplay(d);
}

void MapOptions::selectmapdatadisplaytype() {
    Station& st = ctx_.st;
    if (st.marks.loading()) return;
    MapState& m = st.map;
    static const struct {
        const char* type;
        std::array<bool, 5> enabled;
    } table[] = {
        {kMapStreetAtlas, {false, false, false, true, true}}, {kMapNatGeoTopo, {true, false, true, true, true}},
        {kMapMapTechStd, {true, true, false, false, true}},   {kMapMapTechPro, {true, true, false, false, true}},
        {kMapOziLive, {false, false, true, false, false}},    {kMapOther, {false, false, false, false, false}},
    };
    for (const auto& row : table)
        if (text::iequals(m.mapType, row.type)) m.displayEnabled = row.enabled;

    if (text::iequals(m.mapType, kMapNatGeoTopo) && text::iequals(m.chooser.selected, "quorvelNGTOPOnowCall.txt"))
        ctx_.ui.message(lines({"NOTICE: You have selected the *CALLSIGN* file for posting to TOPO!....",
                               "YOU MUST CHANGE THE WAYPOINT NAME LENGTH LIMIT IN TOPO! TO 10 instead of the default "
                               "6 or it will fail.",
                               "To do this look under TOPO's Menu for:",
                               "( PREFERENCES -> GPS SETTINGS -> Max #Characters for WAYPOINT NAME ) "}),
                        "TOPO! *CALLSIGN* MAP LABEL LENGTHS", Buttons::Ok, Icon::Exclamation);
    if (text::iequals(m.mapType, kMapMapTechStd) || text::iequals(m.mapType, kMapMapTechPro)) checkimportfilename();
    ctx_.steps.savesettings();
}

std::string MapOptions::importExtension(const std::string& path) {
    // The file's own name only: a dot in a folder name ("/home/op/.maps/")
    // says nothing about the file's kind.
    std::size_t sep = path.find_last_of("/\\");
    std::size_t dot = path.find('.', sep == std::string::npos ? 0 : sep + 1);
    return dot == std::string::npos ? std::string() : path.substr(dot);
}

void MapOptions::checkimportfilename() {
    MapState& m = ctx_.st.map;
    ctx_.st.marks.PGMmessage = "CheckingImportFilename";
    ctx_.log.guard(" in SUB CHECKIMPORTFILENAME ", [&] {
        const std::string ext = importExtension(m.importPathMapTech);
        const bool pro = text::iequals(m.importMode, "PROimport");
        if (text::iequals(ext, ".mxf"))
            m.importKeys = pro ? "%fmm" : "%mi";
        else if (text::iequals(ext, ".rxf"))
            m.importKeys = pro ? "%fmr" : "%ri";
        else if (text::iequals(ext, ".txf"))
            m.importKeys = pro ? "%fmt" : "%ti";
    });
}

// ---- family switches

void MapOptions::menumapsallON_Click() {
    MapState& m = ctx_.st.map;
    m.menucreatestreetatlasfiles = m.menucreatemaptechfiles = m.menucreatenatgeotopofiles = m.menucreateozifiles =
        m.menucreatenatgeotopoNowCallfile = true;
    m.menucreategpxfile = m.menucreatekmlfiles = m.menucreategeojsonfile = true;
    ctx_.steps.savesettings();
}

void MapOptions::menuspeedup_Click() {
    MapState& m = ctx_.st.map;
    m.menucreategpxfile = m.menucreatekmlfiles = m.menucreategeojsonfile = false;
    desktopFamiliesOff();
}

// Choosing a map program picks among the desktop programs' files only; the
// open formats serve other tools and keep their switches.
void MapOptions::desktopFamiliesOff() {
    MapState& m = ctx_.st.map;
    m.menucreatestreetatlasfiles = m.menucreatemaptechfiles = m.menucreatenatgeotopofiles = m.menucreateozifiles =
        m.menucreatenatgeotopoNowCallfile = false;
    ctx_.steps.savesettings();
}

void MapOptions::menucreatestreetatlasfiles_Click() {
    ctx_.st.map.menucreatestreetatlasfiles = !ctx_.st.map.menucreatestreetatlasfiles;
    ctx_.steps.savesettings();
}
void MapOptions::menucreatemaptechfiles_Click() {
    ctx_.st.map.menucreatemaptechfiles = !ctx_.st.map.menucreatemaptechfiles;
    ctx_.steps.savesettings();
}
void MapOptions::menucreatenatgeotopofiles_Click() {
    ctx_.st.map.menucreatenatgeotopofiles = !ctx_.st.map.menucreatenatgeotopofiles;
    ctx_.steps.savesettings();
}
void MapOptions::menucreateozifiles_Click() {
    ctx_.st.map.menucreateozifiles = !ctx_.st.map.menucreateozifiles;
    ctx_.steps.savesettings();
}
void MapOptions::menucreatenatgeotopoNowCallfile_Click() {
    ctx_.st.map.menucreatenatgeotopoNowCallfile = !ctx_.st.map.menucreatenatgeotopoNowCallfile;
    ctx_.steps.savesettings();
}
void MapOptions::menucreategpxfile_Click() {
    ctx_.st.map.menucreategpxfile = !ctx_.st.map.menucreategpxfile;
    ctx_.steps.savesettings();
}
void MapOptions::menucreatekmlfiles_Click() {
    ctx_.st.map.menucreatekmlfiles = !ctx_.st.map.menucreatekmlfiles;
    ctx_.steps.savesettings();
}
void MapOptions::menucreategeojsonfile_Click() {
    ctx_.st.map.menucreategeojsonfile = !ctx_.st.map.menucreategeojsonfile;
    ctx_.steps.savesettings();
}
void MapOptions::ODFcheckbox_Click() { ctx_.steps.savesettings(); }

// ---- file chooser

void MapOptions::autoimportbrowse_Click() {
    MapState& m = ctx_.st.map;
    FileChooser& c = m.chooser;
    if (text::iequals(c.browseTag, kFromMapButton)) {
        if (text::iequals(m.mapType, kMapStreetAtlas))
            c.pattern = "quorvelSA*.txt";
        else if (text::iequals(m.mapType, kMapNatGeoTopo))
            c.pattern = "quorvelNGTOPO*.txt";
        else if (text::iequals(m.mapType, kMapMapTechStd) || text::iequals(m.mapType, kMapMapTechPro))
            c.pattern = "quorvel*.?xf";
        else if (text::iequals(m.mapType, kMapOther))
            c.pattern = "*.*";
    } else {
        c.pattern = "*.*";
    }
    if (c.pattern.empty()) c.pattern = "*.*";
    if (c.folder.empty()) c.folder = ctx_.dir.root().string();
    listChooser();
    c.visible = true;
    ctx_.steps.savesettings();
}

void MapOptions::changeimport_Click() {
    ctx_.st.map.chooser.browseTag = kFromMapButton;
    autoimportbrowse_Click();
    ctx_.st.map.chooser.browseTag.clear();
}
void MapOptions::changeimportSA_Click() { changeimport_Click(); }
void MapOptions::changeimportNGTOPO_Click() { changeimport_Click(); }

void MapOptions::Dir1_Change(const std::string& folder) {
    FileChooser& c = ctx_.st.map.chooser;
    c.folder = folder;
    listChooser();
}

// A refilled list starts with nothing highlighted: a name chosen for one map
// program must not be saved for the next without being chosen again.
void MapOptions::listChooser() {
    FileChooser& c = ctx_.st.map.chooser;
    c.selected.clear();
    c.folders = Dir1Names();
    c.files = File1Names();
}

std::vector<std::string> MapOptions::Dir1Names() const {
    const FileChooser& c = ctx_.st.map.chooser;
    std::vector<std::string> out;
    std::error_code ec;
    fs::path folder = c.folder.empty() ? ctx_.dir.root() : fs::path(c.folder);
    for (const auto& e : fs::directory_iterator(folder, ec))
        if (e.is_directory(ec)) out.push_back(e.path().filename().string());
    std::sort(out.begin(), out.end(),
              [](const std::string& a, const std::string& b) { return text::lower(a) < text::lower(b); });
    return out;
}

void MapOptions::File1_Click(const std::string& name) { ctx_.st.map.chooser.selected = name; }

std::vector<std::string> MapOptions::File1Names() const {
    const FileChooser& c = ctx_.st.map.chooser;
    std::vector<std::string> out;
    std::error_code ec;
    fs::path folder = c.folder.empty() ? ctx_.dir.root() : fs::path(c.folder);
    for (const auto& e : fs::directory_iterator(folder, ec)) {
        std::string name = e.path().filename().string();
        if (e.is_regular_file(ec) && wildcardMatch(c.pattern.empty() ? "*.*" : c.pattern, name)) out.push_back(name);
    }
    std::sort(out.begin(), out.end());
    return out;
}

void MapOptions::File1_DblClick() {
    MapState& m = ctx_.st.map;
    FileChooser& c = m.chooser;
    if (c.selected.empty()) {
        ctx_.ui.message(lines({"NO VALID IMPORT FILE PATH SPECIFIED!", "Import may not function properly.",
                               "Make sure you highlight one of the (quorvelSA5*.txt) files before choosing SAVE."}),
                        "Quorvel", Buttons::Ok, Icon::Exclamation);
        selectDisplay(D::OptionMapPostOTHER);
        return;
    }
    const std::string path = (fs::path(c.folder.empty() ? ctx_.dir.root() : fs::path(c.folder)) / c.selected).string();
    if (text::iequals(m.mapType, kMapStreetAtlas))
        m.importPathStreetAtlas = path;
    else if (text::iequals(m.mapType, kMapNatGeoTopo))
        m.importPathNatGeoTopo = path;
    else if (text::iequals(m.mapType, kMapMapTechStd) || text::iequals(m.mapType, kMapMapTechPro) ||
             text::iequals(m.mapType, kMapDelormeTopo) || text::iequals(m.mapType, kMapOther))
        m.importPathMapTech = path;
    selectmapdatadisplaytype();
    c.visible = false;
}

void MapOptions::Commandyesbrowseimportpath_Click() { File1_DblClick(); }
void MapOptions::Commandcancelbrowseimportpath_Click() { ctx_.st.map.chooser.visible = false; }

void MapOptions::autoimportpath_Click() {
    Station& st = ctx_.st;
    MapState& m = st.map;
    if (st.sw.soundon) ctx_.ui.beep();
    std::string proposed = m.importPathMapTech.empty() ? inWorkDir("quorvel.mxf") : m.importPathMapTech;
    std::string answer =
        ctx_.ui.input(lines({"Enter the full path & filename of the", "quorvel file you want imported. (mxf, rxf, txf)",
                             "(current/default path shown)"}),
                      "QUORVEL - Set IMPORT PATH", proposed);
    if (answer.empty())
        ctx_.ui.message(lines({"IMPORT FILE NOT CHANGED.", "Previous path retained."}), "Quorvel", Buttons::Ok,
                        Icon::Exclamation);
    else
        m.importPathMapTech = answer;
    checkimportfilename();
    ctx_.steps.savesettings();
}

void MapOptions::CreateBogusNGTOPOnowFile_Click() {
    const std::string nameLines[] = {"The filename is: " + inWorkDir("quorvelNGTOPO.txt"),
                                     "and can be opened with the TOPO import wizard."};
    if (ctx_.dir.exists("quorvelNGTOPO.txt")) {
        ctx_.ui.message(lines({"A Nat.Geo.TOPO! file already exists and can be used for the TOPO! Import Wizard "
                               "configuration.",
                               nameLines[0], nameLines[1]}));
        return;
    }
    bool written = ctx_.log.guard(" in SUB CREATEBOGUSNGTOPONOWFILECLICK ", [&] {
        ctx_.dir.writeLines(
            "quorvelNGTOPO.txt",
            {"44.09082, -121.26709, BOGUS, 9/09/99 0000, This is a Sample file for TOPO! config. ZZ9ZZ"});
    });
    if (!written) return;
    ctx_.ui.message(lines({"A SAMPLE file has been created for the TOPO! Import Wizard.", nameLines[0], nameLines[1],
                           "Make sure you choose to Delete this file from the Quorvel screen once TOPO is "
                           "configured"}));
}

void MapOptions::CoverConfigCmdBox_Click() {
    MapState& m = ctx_.st.map;
    if (text::iequals(m.CoverConfigCmdBoxTag, "Covered")) {
        m.CoverConfigCmdBoxCaption = "Click to Cover the Configuration boxes";
        m.CoverConfigCmdBoxTag = "Un-Covered";
    } else {
        m.CoverConfigCmdBoxCaption =
            lines({"The configuration boxes are covered to keep them from being changed by accident.",
                   "Click to Un-Cover the Configuration boxes"});
        m.CoverConfigCmdBoxTag = "Covered";
    }
}

} // namespace qv
