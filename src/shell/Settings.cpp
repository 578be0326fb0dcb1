// Saving and loading quorvel.cfg.
#include "shell/Settings.h"

#include "core/Context.h"
#include "core/ErrorLog.h"
#include "core/Failure.h"
#include "core/NumberText.h"
#include "core/Station.h"
#include "core/Steps.h"
#include "core/Text.h"
#include "core/Version.h"
#include "core/WorkDir.h"
#include "links/TncSpec.h"
#include "platform/SerialPort.h"
#include "platform/SerialSettings.h"
#include "platform/Ui.h"

#include "core/Fields.h"

#include "tracking/SlotTable.h"

#include <array>
#include <optional>
#include <vector>

namespace qv {

namespace {

constexpr const char* kSaveMarker = " in SUB SAVESETTINGS ";
constexpr const char* kLoadMarker = " in SUB GETSETTINGS ";

constexpr std::array<const char*, 5> kDisplayOptions = {"OptionMapPostbyTRACK", "OptionMapPostbyTRACKwLines",
                                                        "OptionMapPostOnlyCurrent",
                                                        "OptionMapPostOnlyCurrentWithCallsigns", "OptionMapPostOTHER"};

struct MapWord {
    const char* word;      // the word as read, current or older
    const char* canonical; // the word stored
    MapOption option;      // the option button it selects
    const char* optionName;
    const char* mode; // the MapTech import mode it sets, "" for none
};

constexpr std::array<MapWord, 12> kMapWords = {{
    {"streetatlas50", kMapStreetAtlas, MapOption::Option1ImportSA, "Option1ImportSA", ""},
    {"ImportSA", kMapStreetAtlas, MapOption::Option1ImportSA, "Option1ImportSA", ""},
    {"maptechSTD", kMapMapTechStd, MapOption::Option2ImportMapTech, "Option2ImportMapTech", "Stdimport"},
    {"ImportMapTech", kMapMapTechStd, MapOption::Option2ImportMapTech, "Option2ImportMapTech", "Stdimport"},
    {"maptechPRO", kMapMapTechPro, MapOption::Option3ImportMapTechPRO, "Option3ImportMapTechPRO", "PROimport"},
    {"ImportMapTechPRO", kMapMapTechPro, MapOption::Option3ImportMapTechPRO, "Option3ImportMapTechPRO", "PROimport"},
    {"DelormeTOPOusa", kMapDelormeTopo, MapOption::Option5ImportDelormeTOPO, "Option5ImportDelormeTOPO", ""},
    {"NatGeoTOPO", kMapNatGeoTopo, MapOption::Option6ImportNatGeoTOPO, "Option6ImportNatGeoTOPO", ""},
    {"OtherMaps", kMapOther, MapOption::Option4ImporttoOtherMaps, "Option4ImporttoOtherMaps", ""},
    {"ImporttoOtherMaps", kMapOther, MapOption::Option4ImporttoOtherMaps, "Option4ImporttoOtherMaps", ""},
    // The live option is restored by LIVEPOSTOZI.
    {"OziLive", kMapOziLive, MapOption::None, "", ""},
    {"NONE", "NONE", MapOption::None, "", ""},
}};

std::string pair(const char* key, const std::string& value) { return qv::quoted(key) + "," + value; }
std::string number(long v) { return std::to_string(v); }
std::string checkValue(bool b) { return b ? "1" : "0"; }

// A port number is written bare like every number; a device path is text.
std::string portValue(const std::string& comport) {
    const std::string t = text::trim(comport);
    if (t.empty()) return {};
    for (char c : t)
        if (c < '0' || c > '9') return qv::quoted(comport);
    return t;
}

// A check box takes 0 or 1.
bool checkBoxValue(const std::string& s) {
    const long v = num::strictInt(s);
    if (v != 0 && v != 1) throw Failure(380, "Invalid property value");
    return v == 1;
}

bool truthValue(const std::string& s) {
    const std::string t = text::trim(s);
    if (text::iequals(t, "#TRUE#") || text::iequals(t, "TRUE") || t == "-1" || t == "1") return true;
    if (text::iequals(t, "#FALSE#") || text::iequals(t, "FALSE") || t == "0") return false;
    throw Failure(err::TypeMismatch);
}

// One record of the key/value section: the key, and the value without its
// quotes. A value is taken between the first and the last quote of the line, so
// a name holding a quote survives the round trip. nullopt for a record whose
// value was cut off (an opening quote without its closing one).
struct Record {
    std::string key, value;
    bool quotedValue = false;
};

std::optional<Record> readRecord(const std::string& line) {
    const std::string t = text::trim(line);
    if (t.empty()) return std::nullopt;
    Record r;
    std::size_t pos;
    if (t[0] == '"') {
        std::size_t close = t.find('"', 1);
        if (close == std::string::npos) return std::nullopt;
        r.key = t.substr(1, close - 1);
        pos = t.find(',', close + 1);
    } else {
        pos = t.find(',');
        r.key = text::trim(t.substr(0, pos));
    }
    if (pos == std::string::npos) return std::nullopt;
    const std::string v = text::trim(t.substr(pos + 1));
    if (!v.empty() && v[0] == '"') {
        std::size_t last = v.rfind('"');
        if (last == 0) return std::nullopt;
        r.value = v.substr(1, last - 1);
        r.quotedValue = true;
    } else {
        r.value = v;
    }
    return r;
}

// The key of a record, for telling which one was left out; never its value,
// which may be the password.
std::string keyOf(const std::string& line) {
    std::string k = text::trim(line.substr(0, line.find(',')));
    return text::replaceAll(k, "\"", "");
}

bool isMarker(std::string_view line) {
    return text::iequals(text::trim(text::replaceAll(line, "\"", "")), kNewConfigMarker);
}

// Longest line taken; a real configuration line is a few dozen characters.
constexpr std::size_t kMaxConfigLine = 65536;

} // namespace

std::string configText(const Station& st) {
    const auto& m = st.map;
    const auto& t = st.telnet;
    // The TNC as saved (not the one --tnc names for this run). A KISS or AGWPE
    // TNC is written in a record of its own: the port line and COMPORT say
    // "no port" to a version that knows only serial ports.
    const std::string tnc = st.link.tncOverride.empty() ? st.link.comport : st.link.comportSaved;
    const std::string legacyPort = isLinkForm(tnc) ? "0" : tnc;
    std::vector<std::string> lines;
    lines.push_back(kConfigHeader);
    lines.push_back("2.0");
    lines.push_back(legacyPort);
    lines.push_back(m.importPathMapTech);
    for (int n = 1; n <= 4; ++n)
        lines.push_back(text::upper(st.slots[n].CallsignID));
    for (int n = 1; n <= 4; ++n)
        lines.push_back(checkValue(st.slots[n].track));
    lines.push_back(checkValue(st.tracking.autoassigncheckbox));
    lines.push_back(st.tracking.overdue);
    lines.push_back(m.importMode);
    lines.push_back(kNewConfigMarker);

    lines.push_back(pair("QVVERSION", number(version::QVVERSION)));
    lines.push_back(pair("MAPTYPE", qv::quoted(m.mapType)));
    lines.push_back(pair("SOUND", checkValue(st.sw.soundon)));
    lines.push_back(pair("COMPORT", portValue(legacyPort)));
    lines.push_back(pair("COMPORTSPEED", qv::quoted(st.link.comSettings)));
    lines.push_back(pair("TELNETADDRESS", qv::quoted(t.address)));
    lines.push_back(pair("TELNETPORT", number(t.port)));
    lines.push_back(pair("TELNETLOGINNAME", qv::quoted(t.loginName)));
    lines.push_back(pair("TELNETLOGINPASSWORD", qv::quoted(t.password)));
    lines.push_back(pair("TELNETSERVERCOMMAND", qv::quoted(t.serverCommand)));
    lines.push_back(pair("IMPORTPATHMAPTECH", qv::quoted(m.importPathMapTech)));
    lines.push_back(pair("IMPORTPATHSTREETATLAS", qv::quoted(m.importPathStreetAtlas)));
    lines.push_back(pair("IMPORTPATHNATGEOTOPO", qv::quoted(m.importPathNatGeoTopo)));
    lines.push_back(pair("DESIGNATEDNGTOPOMAP", qv::quoted(m.designatedNgTopoMap)));
    lines.push_back(pair("ODFSPOTFIRESCREATEFILE", checkValue(m.ODFcheckbox)));
    lines.push_back(pair("CREATEMAPFILENATGEOTOPONOW", boolField(m.menucreatenatgeotopoNowCallfile)));
    lines.push_back(pair("CREATEMAPFILESTREETATLAS", boolField(m.menucreatestreetatlasfiles)));
    lines.push_back(pair("CREATEMAPFILEMAPTECH", boolField(m.menucreatemaptechfiles)));
    lines.push_back(pair("CREATEMAPFILENATGEOTOPO", boolField(m.menucreatenatgeotopofiles)));
    lines.push_back(pair("CREATEMAPFILEOZI", boolField(m.menucreateozifiles)));
    lines.push_back(pair("CREATEMAPFILEGPX", boolField(m.menucreategpxfile)));
    lines.push_back(pair("CREATEMAPFILEKML", boolField(m.menucreatekmlfiles)));
    lines.push_back(pair("CREATEMAPFILEGEOJSON", boolField(m.menucreategeojsonfile)));
    if (m.display != DisplayOption::None)
        lines.push_back(pair("MAPDATAFORMAT", qv::quoted(kDisplayOptions[static_cast<std::size_t>(m.display) - 1])));
    for (int n = 5; n <= 8; ++n)
        lines.push_back(pair(("CALLID" + std::to_string(n)).c_str(), qv::quoted(text::upper(st.slots[n].CallsignID))));
    for (int n = 5; n <= 8; ++n)
        lines.push_back(pair(("TRACKCALLID" + std::to_string(n)).c_str(), checkValue(st.slots[n].track)));
    lines.push_back(pair("TRACKMOVING", checkValue(st.sw.CheckTrackOnlyMoving)));
    for (int n = 1; n <= 8; ++n)
        lines.push_back(pair(("TACTICALTEAM" + std::to_string(n)).c_str(), qv::quoted(st.slots[n].Teamname)));
    lines.push_back(pair("MAPBYTACTICAL", checkValue(st.tracking.CheckMapTacticalNames.checked)));
    lines.push_back(pair("LIVEPOSTOZI", boolField(m.Option7LivePostOzi())));
    lines.push_back(pair("DETECTCOMPRESSED", boolField(st.sw.detectcompressed)));
    lines.push_back(pair("DETECTOBJECTS", boolField(st.sw.detectobjects)));
    const MapPaneSettings& pane = st.tracks.pane;
    lines.push_back(pair("MAPPANE", checkValue(pane.visible)));
    lines.push_back(pair("MAPPANEPLACE", qv::quoted(pane.place)));
    lines.push_back(pair("MAPTILES", checkValue(pane.tiles)));
    lines.push_back(pair("MAPTILEURL", qv::quoted(pane.tileUrl)));
    if (isLinkForm(tnc)) lines.push_back(pair("TNC", qv::quoted(tnc)));
    if (!st.link.myCallsign.empty()) lines.push_back(pair("MYCALL", qv::quoted(st.link.myCallsign)));

    std::string out;
    for (const auto& l : lines) {
        out += l;
        out += "\r\n";
    }
    return out;
}

void Settings::savesettings() {
    auto& st = ctx_.st;
    if (st.marks.loading()) return;
    st.marks.PGMmessage = "SavingChanges";
    ctx_.ui.refresh();
    ctx_.log.guard(kSaveMarker, [&] {
        const std::string text = configText(st);
        // Unchanged settings leave the file alone, its time stamp included.
        if (ctx_.dir.holds(kConfigFile, text)) return;
        // It holds the APRS-IS password: a new file is the user's alone, an
        // existing one keeps the mode and owner the user gave it.
        ReplaceOptions options;
        options.newMode = 0600;
        options.durability = Durability::Synced;
        ctx_.dir.replaceAtomically(kConfigFile, text, options);
    });
}

Settings::Loaded Settings::getsettings() {
    auto& st = ctx_.st;
    st.marks.formTag = kGettingConfig;
    st.marks.PGMmessage = "LoadingConfiguration";
    ctx_.ui.refresh();

    // Read line by line, keeping only the numbered legacy lines and the
    // records after the marker, so the memory needed follows the settings
    // in the file, not its size.
    struct Line {
        std::string text;
        bool ended = true, cut = false;
    };
    std::vector<Line> legacy, records;
    const bool readable = ctx_.log.guard(kLoadMarker, [&] {
        std::size_t number = 0;
        bool afterMarker = false;
        ctx_.dir.forEachLine(kConfigFile, kMaxConfigLine, [&](const LineRead& l) {
            ++number;
            if (number <= 15) legacy.push_back({std::string(l.text), l.ended, l.cut});
            if (afterMarker) {
                if (!text::trim(l.text).empty()) records.push_back({std::string(l.text), l.ended, l.cut});
            } else if (isMarker(l.text)) {
                afterMarker = true;
            }
        });
    });
    if (!readable) legacy.clear(), records.clear();
    auto leftOut = [&](const Line& l) {
        ctx_.log.entry(err::InputPastEnd,
                       "Input past end of file: the setting " + text::left(keyOf(l.text), 40) +
                           (l.cut ? " is too long" : " was cut off") + " and is left out",
                       kLoadMarker);
    };

    // First pass: the numbered legacy lines. A last line without its line
    // end is a value like any other (files saved by a plain editor).
    for (std::size_t i = 0; i < legacy.size(); ++i) {
        const Line& l = legacy[i];
        if (l.cut) {
            leftOut(l);
            continue;
        }
        if (!l.ended && text::trim(l.text).empty()) continue;
        const int number = static_cast<int>(i) + 1;
        if (number == 2) {
            const double version = num::leading(l.text);
            if (version < 1.9 || version > 4.1) {
                ctx_.ui.beep();
                const Answer a = ctx_.ui.message("QUORVEL needs to delete your current configuration file because of "
                                                 "changes to its format with this version!",
                                                 "Quorvel", Buttons::OkCancel);
                st.marks.formTag.clear();
                if (a != Answer::Ok) {
                    ctx_.steps.endProgram();
                    return Loaded::Ended;
                }
                // When the file cannot be deleted, running start-up again would
                // only ask again, forever; go on with the design values instead.
                if (!ctx_.log.guard(kLoadMarker, [&] { ctx_.dir.remove(kConfigFile); })) return Loaded::Done;
                ctx_.steps.Form_Load();
                return Loaded::Restarted;
            }
            continue;
        }
        ctx_.log.guard(kLoadMarker, [&] { applyLegacyLine(number, l.text); });
    }

    // Second pass: the key/value records after the marker.
    int sound = st.sw.soundon ? 1 : 0;
    unsafeNames_.clear();
    // The Ozi live switch and then the display type go in last, in the order
    // the program writes them: each of the two, and the map type, picks the
    // map program or the display type, so applied in file order a hand-made
    // or damaged file could load into settings that do not read back the same
    // once saved.
    std::vector<std::string> oziLive, displayType; // every one, in file order
    for (const Line& l : records) {
        auto r = l.cut ? std::nullopt : readRecord(l.text);
        // Only a last line can have been cut off: a quoted value without its
        // closing quote, or nothing after the comma, is no value.
        if (l.cut || (!l.ended && (!r || r->value.empty()))) {
            leftOut(l);
            continue;
        }
        if (!r) continue;
        const std::string key = text::upper(text::trim(r->key));
        if (key == "LIVEPOSTOZI") {
            oziLive.push_back(r->value);
            continue;
        }
        if (key == "MAPDATAFORMAT") {
            displayType.push_back(r->value);
            continue;
        }
        ctx_.log.guard(kLoadMarker, [&] { applyKey(key, r->value, sound); });
    }
    for (const auto& v : oziLive)
        ctx_.log.guard(kLoadMarker, [&] { applyKey("LIVEPOSTOZI", v, sound); });
    for (const auto& v : displayType)
        ctx_.log.guard(kLoadMarker, [&] { applyKey("MAPDATAFORMAT", v, sound); });

    st.sw.soundon = sound == 1;
    st.marks.formTag.clear();
    ctx_.log.guard(kLoadMarker, [&] { ctx_.steps.selectmapdatadisplaytype(); });
    if (!unsafeNames_.empty()) {
        std::string which;
        for (int n : unsafeNames_) {
            ctx_.log.entry(380, "Invalid property value: tactical name " + std::to_string(n) + " " + kUnsafeNameNote,
                           kLoadMarker);
            which += (which.empty() ? "" : ", ") + std::to_string(n);
        }
        ctx_.ui.message("Tactical name " + which + " in " + kConfigFile + " " + kUnsafeNameNote + ".",
                        kTacticalNoticeTitle, Buttons::Ok, Icon::Exclamation);
    }
    return Loaded::Done;
}

void Settings::setCallsignID(int n, const std::string& value) {
    auto& slot = ctx_.st.slots[n];
    if (slot.CallsignID == value) return;
    slot.CallsignID = value;
    ctx_.steps.CallsignID_Change(n);
}

void Settings::applyLegacyLine(int number, const std::string& line) {
    auto& st = ctx_.st;
    if (number == 3) {
        st.link.comport = text::trim(line);
        // Port 0 means no port: nothing to open or close.
        if (!st.link.comport.empty() && !portGiven(st.link.comport)) st.link.portButtonsVisible = false;
    } else if (number == 4) {
        st.map.importPathMapTech = line;
        ctx_.steps.checkimportfilename();
    } else if (number >= 5 && number <= 8) {
        setCallsignID(number - 4, line);
    } else if (number >= 9 && number <= 12) {
        st.slots[number - 8].track = checkBoxValue(line);
    } else if (number == 13) {
        st.tracking.autoassigncheckbox = checkBoxValue(line);
    } else if (number == 14) {
        st.tracking.overdue = line;
    } else if (number == 15) {
        st.map.importMode = line;
    }
}

void Settings::applyKey(const std::string& key, const std::string& value, int& sound) {
    auto& st = ctx_.st;
    auto& m = st.map;
    auto& t = st.telnet;
    auto slotKey = [&](const char* prefix, int& n) {
        const std::string p(prefix);
        if (key.size() != p.size() + 1 || key.compare(0, p.size(), p) != 0) return false;
        n = key.back() - '0';
        return true;
    };
    int n = 0;
    if (key == "QVVERSION") {
        // Written for newer versions to read; nothing depends on it yet.
    } else if (key == "MAPTYPE") {
        for (const auto& w : kMapWords) {
            if (!text::iequals(value, w.word)) continue;
            m.mapType = w.canonical;
            if (*w.mode) m.importMode = w.mode;
            if (w.option != MapOption::None) {
                m.option = w.option;
                ctx_.steps.selectMapOption(w.optionName);
            }
            return;
        }
        m.mapType = value;
    } else if (key == "SOUND") {
        sound = checkBoxValue(value) ? 1 : 0;
    } else if (key == "COMPORT") {
        st.link.comport = text::trim(value);
    } else if (key == "TNC") {
        // Written after COMPORT, which reads "no port" for such a TNC.
        st.link.comport = text::trim(value);
        st.link.portButtonsVisible = portGiven(st.link.comport);
    } else if (key == "MYCALL") {
        st.link.myCallsign = text::upper(text::trim(value));
    } else if (key == "COMPORTSPEED") {
        parseSerialSettings(value);
        if (ctx_.serial) ctx_.serial->setSettings(value);
        st.link.comSettings = value;
    } else if (key == "TELNETADDRESS") {
        t.address = value;
    } else if (key == "TELNETPORT") {
        const long port = num::strictInt(value);
        if (port < 0 || port > 65535) throw Failure(380, "Invalid property value");
        t.port = static_cast<int>(port);
    } else if (key == "TELNETLOGINNAME") {
        t.loginName = value;
    } else if (key == "TELNETLOGINPASSWORD") {
        t.password = value;
    } else if (key == "TELNETSERVERCOMMAND") {
        t.serverCommand = value;
    } else if (key == "IMPORTPATHMAPTECH") {
        // Read from legacy line 4; written here for other readers only.
    } else if (key == "IMPORTPATHSTREETATLAS") {
        m.importPathStreetAtlas = value;
    } else if (key == "IMPORTPATHNATGEOTOPO") {
        m.importPathNatGeoTopo = value;
    } else if (key == "DESIGNATEDNGTOPOMAP") {
        m.designatedNgTopoMap = value;
    } else if (key == "ODFSPOTFIRESCREATEFILE") {
        m.ODFcheckbox = checkBoxValue(value);
    } else if (key == "CREATEMAPFILENATGEOTOPONOW") {
        m.menucreatenatgeotopoNowCallfile = truthValue(value);
    } else if (key == "CREATEMAPFILESTREETATLAS") {
        m.menucreatestreetatlasfiles = truthValue(value);
    } else if (key == "CREATEMAPFILEMAPTECH") {
        m.menucreatemaptechfiles = truthValue(value);
    } else if (key == "CREATEMAPFILENATGEOTOPO") {
        m.menucreatenatgeotopofiles = truthValue(value);
    } else if (key == "CREATEMAPFILEOZI") {
        m.menucreateozifiles = truthValue(value);
    } else if (key == "CREATEMAPFILEGPX") {
        m.menucreategpxfile = truthValue(value);
    } else if (key == "CREATEMAPFILEKML") {
        m.menucreatekmlfiles = truthValue(value);
    } else if (key == "CREATEMAPFILEGEOJSON") {
        m.menucreategeojsonfile = truthValue(value);
    } else if (key == "MAPDATAFORMAT") {
        for (const char* option : kDisplayOptions) {
            if (!text::iequals(value, option)) continue;
            ctx_.steps.selectMapDataFormat(option);
            return;
        }
    } else if (slotKey("CALLID", n) && n >= 5 && n <= 8) {
        setCallsignID(n, value);
    } else if (slotKey("TRACKCALLID", n) && n >= 5 && n <= 8) {
        st.slots[n].track = checkBoxValue(value);
    } else if (key == "TRACKMOVING") {
        const bool on = checkBoxValue(value);
        if (st.sw.CheckTrackOnlyMoving == on) return;
        st.sw.CheckTrackOnlyMoving = on;
        ctx_.steps.CheckTrackOnlyMoving_Click();
    } else if (slotKey("TACTICALTEAM", n) && n >= 1 && n <= 8) {
        st.slots[n].Teamname = recordSafeName(value);
        if (st.slots[n].Teamname != value) unsafeNames_.push_back(n);
    } else if (key == "MAPBYTACTICAL") {
        st.tracking.CheckMapTacticalNames.checked = checkBoxValue(value);
    } else if (key == "DETECTCOMPRESSED") {
        st.sw.detectcompressed = truthValue(value);
    } else if (key == "DETECTOBJECTS") {
        st.sw.detectobjects = truthValue(value);
    } else if (key == "MAPPANE") {
        st.tracks.pane.visible = checkBoxValue(value);
    } else if (key == "MAPPANEPLACE") {
        const std::string place = text::lower(text::trim(value));
        if (!place.empty() && place != "left" && place != "right" && place != "top" && place != "bottom" &&
            place != "floating")
            throw Failure(380, "Invalid property value");
        st.tracks.pane.place = place;
    } else if (key == "MAPTILES") {
        st.tracks.pane.tiles = checkBoxValue(value);
    } else if (key == "MAPTILEURL") {
        st.tracks.pane.tileUrl = value;
    } else if (key == "LIVEPOSTOZI") {
        if (truthValue(value)) {
            m.option = MapOption::Option7LivePostOzi;
            ctx_.steps.selectMapOption("Option7LivePostOzi");
        } else if (m.option == MapOption::Option7LivePostOzi) {
            m.option = MapOption::None;
        }
    }
}

void Settings::configreset_Click() {
    const Answer a =
        ctx_.ui.message("Are you sure you want to delete the configuration and restore all program default settings?",
                        "Quorvel", Buttons::YesNoCancel, Icon::Exclamation, 3);
    if (a != Answer::Yes) return;
    if (ctx_.dir.exists(kConfigFile)) {
        if (!ctx_.log.guard(" in SUB CONFIGRESET_CLICK ", [&] { ctx_.dir.remove(kConfigFile); })) return;
    }
    ctx_.ui.message("QUORVEL.CFG user configuration File Deleted. Default settings will be used upon program restart.");
}

} // namespace qv
