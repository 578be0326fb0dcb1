// The configuration file: what a save writes, what a load restores, and that a
// damaged or cut file never costs more settings than it lost itself.
#include "shell/Settings.h"
#include "core/Context.h"
#include "core/ErrorLog.h"
#include "core/Station.h"
#include "core/Steps.h"
#include "core/Text.h"
#include "core/WorkDir.h"
#include "support/Fakes.h"
#include "support/FileSizeLimit.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <sys/stat.h>
#include <unistd.h>

namespace qv::test {
namespace {

struct RecordingSteps : Steps {
    std::vector<std::string> calls;
    std::function<void()> onCallsignChange;
    void CallsignID_Change(int n) override {
        calls.push_back("CallsignID_Change " + std::to_string(n));
        if (onCallsignChange) onCallsignChange();
    }
    void selectMapOption(const std::string& o) override { calls.push_back("option " + o); }
    // Stands in for the display option buttons: selects the one named.
    void selectMapDataFormat(const std::string& o) override {
        calls.push_back("format " + o);
        if (onFormat) onFormat(o);
    }
    std::function<void(const std::string&)> onFormat;
    void Form_Load() override { calls.push_back("Form_Load"); }
    void endProgram() override { calls.push_back("endProgram"); }
};

struct Rig {
    explicit Rig(const TempDir& tmp) : dir(tmp.path()), log(dir, clock), ctx{st, dir, log, ui, clock, steps} {
        steps.onFormat = [this](const std::string& o) {
            const char* names[] = {"OptionMapPostbyTRACK", "OptionMapPostbyTRACKwLines", "OptionMapPostOnlyCurrent",
                                   "OptionMapPostOnlyCurrentWithCallsigns", "OptionMapPostOTHER"};
            for (int i = 0; i < 5; ++i)
                if (o == names[i]) st.map.display = static_cast<DisplayOption>(i + 1);
        };
    }
    Station st;
    WorkDir dir;
    FakeClock clock;
    FakeUi ui;
    RecordingSteps steps;
    ErrorLog log;
    Context ctx;
    Settings settings{ctx};
};

// Every setting away from its design value, so a lost one shows.
void fillEverything(Station& st) {
    st.link.comport = "7";
    st.link.comSettings = "4800,N,8,1";
    for (int n = 1; n <= 8; ++n) {
        st.slots[n].CallsignID = "K" + std::to_string(n) + "ABC-" + std::to_string(n);
        st.slots[n].Teamname = "Team " + std::to_string(n);
        st.slots[n].track = n % 2 == 1;
    }
    auto& t = st.telnet;
    auto& m = st.map;
    t.address = "aprs.example.net";
    t.port = 10152;
    t.loginName = "N0CALL";
    t.password = "-1";
    t.serverCommand = "filter r/44/-121/50";
    m.mapType = kMapMapTechPro;
    m.importMode = "PROimport";
    m.option = MapOption::Option7LivePostOzi;
    m.importPathMapTech = "/home/op/maps/quorvel.rxf";
    m.importPathStreetAtlas = "/home/op/maps/quorvelSA5now.txt";
    m.importPathNatGeoTopo = "/home/op/maps/quorvelNGTOPOnow.txt";
    m.designatedNgTopoMap = "Bend, OR";
    m.display = DisplayOption::OptionMapPostbyTRACKwLines;
    st.tracking.CheckMapTacticalNames.checked = true;
    m.ODFcheckbox = true;
    m.menucreatestreetatlasfiles = false;
    m.menucreatemaptechfiles = true;
    m.menucreatenatgeotopofiles = false;
    m.menucreateozifiles = true;
    m.menucreatenatgeotopoNowCallfile = false;
    m.menucreatekmlfiles = false;
    st.tracking.autoassigncheckbox = true;
    st.tracking.overdue = "45";
    st.sw.soundon = true;
    st.sw.CheckTrackOnlyMoving = true;
    st.sw.detectcompressed = false;
    st.tracks.pane = {false, "bottom", false, "http://127.0.0.1:8080/{z}/{x}/{y}.png"};
}

TEST(Settings, SaveWritesLegacyLinesThenEveryKeyInOrder) {
    TempDir tmp;
    Rig r(tmp);
    fillEverything(r.st);
    r.settings.savesettings();
    const std::string expected =
        "QUORVEL CONFIGURATION SETTINGS. Do not change unless you know what you are doing!\r\n"
        "2.0\r\n7\r\n/home/op/maps/quorvel.rxf\r\n"
        "K1ABC-1\r\nK2ABC-2\r\nK3ABC-3\r\nK4ABC-4\r\n1\r\n0\r\n1\r\n0\r\n1\r\n45\r\nPROimport\r\n"
        "NEW_CONFIG_FORMAT_BELOW\r\n"
        "\"QVVERSION\"," +
        std::to_string(QUORVEL_VERSION_MAJOR * 10000 + QUORVEL_VERSION_MINOR * 100 + QUORVEL_VERSION_PATCH) +
        "\r\n"
        "\"MAPTYPE\",\"maptechPRO\"\r\n"
        "\"SOUND\",1\r\n"
        "\"COMPORT\",7\r\n"
        "\"COMPORTSPEED\",\"4800,N,8,1\"\r\n"
        "\"TELNETADDRESS\",\"aprs.example.net\"\r\n"
        "\"TELNETPORT\",10152\r\n"
        "\"TELNETLOGINNAME\",\"N0CALL\"\r\n"
        "\"TELNETLOGINPASSWORD\",\"-1\"\r\n"
        "\"TELNETSERVERCOMMAND\",\"filter r/44/-121/50\"\r\n"
        "\"IMPORTPATHMAPTECH\",\"/home/op/maps/quorvel.rxf\"\r\n"
        "\"IMPORTPATHSTREETATLAS\",\"/home/op/maps/quorvelSA5now.txt\"\r\n"
        "\"IMPORTPATHNATGEOTOPO\",\"/home/op/maps/quorvelNGTOPOnow.txt\"\r\n"
        "\"DESIGNATEDNGTOPOMAP\",\"Bend, OR\"\r\n"
        "\"ODFSPOTFIRESCREATEFILE\",1\r\n"
        "\"CREATEMAPFILENATGEOTOPONOW\",#FALSE#\r\n"
        "\"CREATEMAPFILESTREETATLAS\",#FALSE#\r\n"
        "\"CREATEMAPFILEMAPTECH\",#TRUE#\r\n"
        "\"CREATEMAPFILENATGEOTOPO\",#FALSE#\r\n"
        "\"CREATEMAPFILEOZI\",#TRUE#\r\n"
        "\"CREATEMAPFILEGPX\",#TRUE#\r\n"
        "\"CREATEMAPFILEKML\",#FALSE#\r\n"
        "\"CREATEMAPFILEGEOJSON\",#TRUE#\r\n"
        "\"MAPDATAFORMAT\",\"OptionMapPostbyTRACKwLines\"\r\n"
        "\"CALLID5\",\"K5ABC-5\"\r\n\"CALLID6\",\"K6ABC-6\"\r\n"
        "\"CALLID7\",\"K7ABC-7\"\r\n\"CALLID8\",\"K8ABC-8\"\r\n"
        "\"TRACKCALLID5\",1\r\n\"TRACKCALLID6\",0\r\n\"TRACKCALLID7\",1\r\n\"TRACKCALLID8\",0\r\n"
        "\"TRACKMOVING\",1\r\n"
        "\"TACTICALTEAM1\",\"Team 1\"\r\n\"TACTICALTEAM2\",\"Team 2\"\r\n"
        "\"TACTICALTEAM3\",\"Team 3\"\r\n\"TACTICALTEAM4\",\"Team 4\"\r\n"
        "\"TACTICALTEAM5\",\"Team 5\"\r\n\"TACTICALTEAM6\",\"Team 6\"\r\n"
        "\"TACTICALTEAM7\",\"Team 7\"\r\n\"TACTICALTEAM8\",\"Team 8\"\r\n"
        "\"MAPBYTACTICAL\",1\r\n"
        "\"LIVEPOSTOZI\",#TRUE#\r\n"
        "\"DETECTCOMPRESSED\",#FALSE#\r\n"
        "\"DETECTOBJECTS\",#TRUE#\r\n"
        "\"MAPPANE\",0\r\n"
        "\"MAPPANEPLACE\",\"bottom\"\r\n"
        "\"MAPTILES\",0\r\n"
        "\"MAPTILEURL\",\"http://127.0.0.1:8080/{z}/{x}/{y}.png\"\r\n";
    EXPECT_EQ(tmp.read("quorvel.cfg"), expected);
    EXPECT_EQ(r.st.marks.PGMmessage, "SavingChanges");
}

TEST(Settings, RoundTripRestoresEverySetting) {
    TempDir tmp;
    {
        Rig r(tmp);
        fillEverything(r.st);
        r.st.slots[3].Teamname = "Engine 7 / S\xC3\xBC"
                                 "d-2 'Bravo'"; // text beyond letters and digits
        r.st.link.comport = "/dev/ttyUSB0";
        r.settings.savesettings();
    }
    const std::string saved = tmp.read("quorvel.cfg");
    Rig r(tmp);
    EXPECT_EQ(r.settings.getsettings(), Settings::Loaded::Done);
    EXPECT_EQ(r.st.slots[3].Teamname, "Engine 7 / S\xC3\xBC"
                                      "d-2 'Bravo'");
    EXPECT_EQ(r.st.link.comport, "/dev/ttyUSB0");
    EXPECT_EQ(configText(r.st), saved);
    EXPECT_FALSE(r.st.marks.loading());
    EXPECT_EQ(tmp.read("quorvel.err"), "");
}

TEST(Settings, ReadsHandWrittenFileWithOlderWordsSpacesAndAnyCase) {
    TempDir tmp;
    tmp.write("quorvel.cfg", "QUORVEL CONFIGURATION SETTINGS. Do not change unless you know what you are doing!\r\n"
                             "2.0\r\n 3 \r\nC:\\maps\\quorvel.mxf\r\nw7abc-9\r\nCALL ID-2\r\nCALL ID-3\r\nCALL ID-4\r\n"
                             " 1 \r\n0 \r\n 0\r\n1\r\n 1 \r\n30\r\nStdimport\r\n"
                             "NEW_CONFIG_FORMAT_BELOW\r\n"
                             "\"qvversion\", 22100\r\n"
                             "\"MapType\",\"ImportMapTechPRO\"\r\n"
                             "\"sound\", 1 \r\n"
                             "\"COMPORTSPEED\",\"1200,n,8,1\"\r\n"
                             "\"TELNETPORT\", 14581 \r\n"
                             "\"TELNETLOGINNAME\",\r\n"
                             "\"UNKNOWNKEY\",\"whatever\"\r\n"
                             "\"CreateMapFileOzi\",#TRUE#\r\n"
                             "\"callid6\",\"KE7XYZ\"\r\n"
                             "\"trackcallid6\", 1\r\n");
    Rig r(tmp);
    r.st.telnet.loginName = "before";
    ASSERT_EQ(r.settings.getsettings(), Settings::Loaded::Done);
    // A file from before the two switches existed leaves both checked.
    EXPECT_TRUE(r.st.sw.detectcompressed);
    EXPECT_TRUE(r.st.sw.detectobjects);
    EXPECT_EQ(r.st.link.comport, "3");
    EXPECT_EQ(r.st.map.importPathMapTech, "C:\\maps\\quorvel.mxf");
    EXPECT_EQ(r.st.slots[1].CallsignID, "w7abc-9");
    EXPECT_TRUE(r.st.slots[1].track);
    EXPECT_FALSE(r.st.slots[2].track);
    EXPECT_TRUE(r.st.slots[4].track);
    EXPECT_TRUE(r.st.tracking.autoassigncheckbox);
    EXPECT_EQ(r.st.tracking.overdue, "30");
    // The older word is read as the current one and keeps the PRO import mode.
    EXPECT_EQ(r.st.map.mapType, "maptechPRO");
    EXPECT_EQ(r.st.map.importMode, "PROimport");
    EXPECT_EQ(r.st.map.option, MapOption::Option3ImportMapTechPRO);
    EXPECT_TRUE(r.st.sw.soundon);
    EXPECT_EQ(r.st.link.comSettings, "1200,n,8,1");
    EXPECT_EQ(r.st.telnet.port, 14581);
    EXPECT_EQ(r.st.telnet.loginName, "");
    EXPECT_TRUE(r.st.map.menucreateozifiles);
    EXPECT_EQ(r.st.slots[6].CallsignID, "KE7XYZ");
    EXPECT_TRUE(r.st.slots[6].track);
    // No display type in the file: the options stay as designed.
    EXPECT_EQ(r.st.map.display, DisplayOption::None);
    EXPECT_TRUE(r.st.link.portButtonsVisible);
    EXPECT_EQ(tmp.read("quorvel.err"), "");
    EXPECT_TRUE(r.ui.messages.empty());
    // Setting a control runs its handler, as a click would, when its value changes.
    const std::vector<std::string> handlers = {"CallsignID_Change 1", "option Option3ImportMapTechPRO",
                                               "CallsignID_Change 6"};
    EXPECT_EQ(r.steps.calls, handlers);
}

// The open-format switches came later: a file without them leaves them on.
TEST(Settings, OpenFormatSwitchesAreOnUnlessTheFileSaysOff) {
    struct Case {
        const char* records;
        bool gpx, kml, geojson;
    } cases[] = {
        {"", true, true, true},
        {"\"CREATEMAPFILEKML\",#FALSE#\r\n", true, false, true},
        {"\"createmapfilegpx\",#false#\r\n\"CREATEMAPFILEGEOJSON\",#FALSE#\r\n", false, true, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.records);
        TempDir tmp;
        tmp.write("quorvel.cfg", "QUORVEL CONFIGURATION SETTINGS. Do not change unless you know what you are doing!\r\n"
                                 "2.0\r\n0\r\n\r\nCALL ID-1\r\nCALL ID-2\r\nCALL ID-3\r\nCALL ID-4\r\n"
                                 "0\r\n0\r\n0\r\n0\r\n1\r\n60\r\nStdimport\r\nNEW_CONFIG_FORMAT_BELOW\r\n"
                                 "\"CREATEMAPFILEOZI\",#TRUE#\r\n" +
                                     std::string(c.records));
        Rig r(tmp);
        ASSERT_EQ(r.settings.getsettings(), Settings::Loaded::Done);
        EXPECT_EQ(r.st.map.menucreategpxfile, c.gpx);
        EXPECT_EQ(r.st.map.menucreatekmlfiles, c.kml);
        EXPECT_EQ(r.st.map.menucreategeojsonfile, c.geojson);
    }
}

TEST(Settings, MapPaneRecordsKeepTheirDesignValuesUnlessReadable) {
    const struct {
        const char* records;
        MapPaneSettings want;
        bool logged;
    } cases[] = {
        {"", {true, "", true, kDefaultTileUrl}, false},
        {"\"mappane\",0\r\n\"MapPanePlace\",\" Floating \"\r\n\"MAPTILES\",1\r\n"
         "\"MAPTILEURL\",\"file:///srv/tiles/{z}/{x}/{y}.png\"\r\n",
         {false, "floating", true, "file:///srv/tiles/{z}/{x}/{y}.png"},
         false},
        {"\"MAPPANEPLACE\",\"middle\"\r\n\"MAPTILES\",7\r\n\"MAPTILEURL\",\r\n", {true, "", true, ""}, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.records);
        TempDir tmp;
        tmp.write("quorvel.cfg",
                  std::string(kConfigHeader) + "\r\n2.0\r\n0\r\n" + kNewConfigMarker + "\r\n" + c.records);
        Rig r(tmp);
        r.settings.getsettings();
        const MapPaneSettings& got = r.st.tracks.pane;
        EXPECT_EQ(got.visible, c.want.visible);
        EXPECT_EQ(got.place, c.want.place);
        EXPECT_EQ(got.tiles, c.want.tiles);
        EXPECT_EQ(got.tileUrl, c.want.tileUrl);
        EXPECT_EQ(tmp.read("quorvel.err").find(" in SUB GETSETTINGS ") != std::string::npos, c.logged);
    }
}

TEST(Settings, FormatVersionOutsideRangeAsksToDelete) {
    struct Case {
        std::string line2;
        Answer answer;
        bool asks;
        Settings::Loaded result;
        bool fileKept;
        std::vector<std::string> calls;
    };
    const std::vector<Case> cases = {
        {"2.0", Answer::Ok, false, Settings::Loaded::Done, true, {}},
        {" 4.1 ", Answer::Ok, false, Settings::Loaded::Done, true, {}},
        {"1.9", Answer::Ok, false, Settings::Loaded::Done, true, {}},
        {"5", Answer::Ok, true, Settings::Loaded::Restarted, false, {"Form_Load"}},
        {"1.0", Answer::Ok, true, Settings::Loaded::Restarted, false, {"Form_Load"}},
        {"junk", Answer::Cancel, true, Settings::Loaded::Ended, true, {"endProgram"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.line2);
        TempDir tmp;
        tmp.write("quorvel.cfg", std::string(kConfigHeader) + "\r\n" + c.line2 + "\r\n9\r\n");
        Rig r(tmp);
        r.ui.answers.push_back(c.answer);
        EXPECT_EQ(r.settings.getsettings(), c.result);
        EXPECT_EQ(r.ui.messages.size(), c.asks ? 1u : 0u);
        EXPECT_EQ(r.ui.beeps, c.asks ? 1 : 0);
        if (c.asks) {
            EXPECT_EQ(r.ui.messages[0].text, "QUORVEL needs to delete your current configuration file because of "
                                             "changes to its format with this version!");
            EXPECT_EQ(r.ui.messages[0].buttons, Buttons::OkCancel);
        }
        EXPECT_EQ(std::filesystem::exists(tmp.path() / "quorvel.cfg"), c.fileKept);
        EXPECT_EQ(r.steps.calls, c.calls);
        EXPECT_FALSE(r.st.marks.loading());
    }
}

TEST(Settings, UnreadableFileIsLoggedAndLoadingEnds) {
    TempDir tmp;
    std::filesystem::create_directory(tmp.path() / "quorvel.cfg");
    Rig r(tmp);
    EXPECT_EQ(r.settings.getsettings(), Settings::Loaded::Done);
    EXPECT_TRUE(r.steps.calls.empty());
    EXPECT_NE(tmp.read("quorvel.err").find(" in SUB GETSETTINGS "), std::string::npos);
    EXPECT_FALSE(r.st.marks.loading());
}

TEST(Settings, PortZeroHidesThePortButtons) {
    for (const std::string port : {"0", " 0 ", "3", "/dev/ttyACM0"}) {
        SCOPED_TRACE(port);
        TempDir tmp;
        tmp.write("quorvel.cfg", std::string(kConfigHeader) + "\r\n2.0\r\n" + port + "\r\n");
        Rig r(tmp);
        r.settings.getsettings();
        EXPECT_EQ(r.st.link.portButtonsVisible, text::trim(port) != "0");
    }
}

TEST(Settings, NothingIsWrittenWhileLoading) {
    TempDir tmp;
    {
        Rig r(tmp);
        fillEverything(r.st);
        r.settings.savesettings();
    }
    const std::string before = tmp.read("quorvel.cfg");
    Rig r(tmp);
    // The change handlers of the callsign boxes save, as they do when typed into.
    r.steps.onCallsignChange = [&] {
        r.st.slots[1].CallsignID = "CHANGED";
        r.settings.savesettings();
    };
    r.settings.getsettings();
    EXPECT_EQ(tmp.read("quorvel.cfg"), before);
    r.settings.savesettings(); // after loading, saving works again
    EXPECT_NE(tmp.read("quorvel.cfg"), before);
}

TEST(Settings, FailedWriteLeavesThePreviousFileWhole) {
    TempDir tmp;
    {
        Rig r(tmp);
        fillEverything(r.st);
        r.settings.savesettings();
    }
    const std::string before = tmp.read("quorvel.cfg");
    Rig r(tmp);
    r.st.slots[1].CallsignID = "NEWCALL";
    {
        // The disk fills up in the middle of the new file.
        FileSizeLimit full(before.size() / 2);
        r.settings.savesettings();
    }
    EXPECT_EQ(tmp.read("quorvel.cfg"), before);
    const std::string errors = tmp.read("quorvel.err");
    EXPECT_NE(errors.find("ERROR  61Disk full in SUB SAVESETTINGS "), std::string::npos) << errors;
}

TEST(Settings, RewriteKeepsThePermissionsOfTheFileItReplaces) {
    namespace fs = std::filesystem;
    using P = fs::perms;
    TempDir tmp;
    const fs::path cfg = tmp.path() / "quorvel.cfg";
    const mode_t mask = ::umask(022);
    {
        Rig r(tmp);
        r.settings.savesettings();
    }
    // A new file holds the passcode: its owner's alone, whatever the umask lets through.
    EXPECT_EQ(fs::status(cfg).permissions(), P::owner_read | P::owner_write);
    for (const P kept : {P::owner_read | P::owner_write, P::owner_read | P::owner_write | P::group_read}) {
        fs::permissions(cfg, kept);
        Rig r(tmp);
        r.st.slots[1].CallsignID = "NEWCALL";
        r.settings.savesettings();
        EXPECT_NE(tmp.read("quorvel.cfg").find("NEWCALL"), std::string::npos);
        EXPECT_EQ(fs::status(cfg).permissions(), kept);
    }
    ::umask(mask);
}

// Splits a configuration text into its items: legacy lines by number, records by key.
std::map<std::string, std::string> items(const std::string& text) {
    std::map<std::string, std::string> out;
    auto lines = splitLines(text);
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (i < 16) {
            out["line" + std::to_string(i + 1)] = lines[i];
        } else {
            out[lines[i].substr(0, lines[i].find(','))] = lines[i];
        }
    }
    return out;
}

TEST(Settings, FileCutAtAnyByteLosesOnlyWhatWasCutAndNeverHalfAValue) {
    TempDir tmp;
    std::string full, designed;
    {
        Rig r(tmp);
        designed = configText(r.st);
        fillEverything(r.st);
        r.settings.savesettings();
        full = tmp.read("quorvel.cfg");
    }
    const auto fullItems = items(full);
    const auto designedItems = items(designed);
    for (std::size_t cut = 0; cut <= full.size(); ++cut) {
        SCOPED_TRACE("cut at " + std::to_string(cut));
        // A fresh file each time: rewriting one in place makes the file system flush it.
        std::filesystem::remove(tmp.path() / "quorvel.cfg");
        tmp.write("quorvel.cfg", full.substr(0, cut));
        Rig r(tmp);
        ASSERT_EQ(r.settings.getsettings(), Settings::Loaded::Done);
        ASSERT_TRUE(r.ui.messages.empty());
        ASSERT_FALSE(r.st.marks.loading());
        // Every setting is either the saved one or still its design value.
        const std::string loaded = configText(r.st);
        // A last line without its line end is read as it stands: when its
        // value is bare, it may be the start of the saved one, never half a
        // quoted one.
        const std::string cutText = full.substr(0, cut);
        const auto cutLines = splitLines(cutText);
        const bool partial = !cutText.empty() && cutText.back() != '\n' && cutText.back() != '\r';
        const auto cutItems = items(cutText);
        std::string partialKey;
        for (const auto& [key, line] : cutItems)
            if (partial && line == cutLines.back()) partialKey = key;
        const auto loadedItems = items(loaded);
        for (const auto& [key, line] : loadedItems) {
            auto f = fullItems.find(key);
            auto d = designedItems.find(key);
            const bool fromFull = f != fullItems.end() && f->second == line;
            const bool fromDesign = d != designedItems.end() && d->second == line;
            const bool bareStart = key == partialKey && f != fullItems.end() && f->second.rfind(line, 0) == 0 &&
                                   !line.empty() && line.back() != '"';
            // The MapTech path is read from its legacy line and written twice.
            const bool pathCopy = key == "\"IMPORTPATHMAPTECH\"" && partialKey == "line4" &&
                                  line == key + ",\"" + loadedItems.at("line4") + "\"";
            ASSERT_TRUE(fromFull || fromDesign || bareStart || pathCopy) << key << ": " << line;
        }
        // What is written back reads back the same.
        std::filesystem::remove(tmp.path() / "quorvel.cfg");
        tmp.write("quorvel.cfg", loaded);
        Rig again(tmp);
        again.settings.getsettings();
        ASSERT_EQ(configText(again.st), loaded);
        std::filesystem::remove(tmp.path() / "quorvel.err");
    }
}

TEST(Settings, ResetDeletesTheFileOnlyOnYes) {
    for (Answer a : {Answer::Yes, Answer::No, Answer::Cancel}) {
        TempDir tmp;
        tmp.write("quorvel.cfg", "x\r\n");
        Rig r(tmp);
        r.ui.answers.push_back(a);
        r.st.tracking.overdue = "15";
        r.settings.configreset_Click();
        EXPECT_EQ(std::filesystem::exists(tmp.path() / "quorvel.cfg"), a != Answer::Yes);
        ASSERT_EQ(r.ui.messages.size(), a == Answer::Yes ? 2u : 1u);
        EXPECT_EQ(r.ui.messages[0].buttons, Buttons::YesNoCancel);
        EXPECT_EQ(r.ui.messages[0].icon, Icon::Exclamation);
        EXPECT_EQ(r.st.tracking.overdue, "15");
    }
    // Without a file there is nothing to delete and no error.
    TempDir tmp;
    Rig r(tmp);
    r.ui.answers.push_back(Answer::Yes);
    r.settings.configreset_Click();
    ASSERT_EQ(r.ui.messages.size(), 2u);
    EXPECT_EQ(r.ui.messages[1].text,
              "QUORVEL.CFG user configuration File Deleted. Default settings will be used upon program restart.");
    EXPECT_EQ(tmp.read("quorvel.err"), "");
}

} // namespace
} // namespace qv::test

namespace qv::test {
namespace {

const std::string kLegacy =
    std::string(kConfigHeader) +
    "\r\n2.0\r\n0\r\n/maps/quorvel.mxf\r\nK1A\r\nK1B\r\nK1C\r\nK1D\r\n1\r\n1\r\n1\r\n1\r\n0\r\n";

TEST(Settings, ALastSettingWithoutLineEndIsReadUnlessItWasReallyCut) {
    struct Case {
        const char* what;
        std::string text;
        std::function<std::string(const Station&)> value;
        std::string expected;
        const char* leftOut; // the key named in the error entry, or nullptr when none
    } cases[] = {
        {"quoted", kLegacy + "45\r\nStdimport\r\nNEW_CONFIG_FORMAT_BELOW\r\n\"TACTICALTEAM1\",\"Engine 7\"",
         [](const Station& st) { return st.slots[1].Teamname; }, "Engine 7", nullptr},
        {"bare number", kLegacy + "45\r\nStdimport\r\nNEW_CONFIG_FORMAT_BELOW\r\n\"TELNETPORT\",10152",
         [](const Station& st) { return std::to_string(st.telnet.port); }, "10152", nullptr},
        {"true or false", kLegacy + "45\r\nStdimport\r\nNEW_CONFIG_FORMAT_BELOW\r\n\"CREATEMAPFILEOZI\",#TRUE#",
         [](const Station& st) { return std::string(st.map.menucreateozifiles ? "on" : "off"); }, "on", nullptr},
        {"legacy line", kLegacy + "45", [](const Station& st) { return st.tracking.overdue; }, "45", nullptr},
        {"quote never closed", kLegacy + "45\r\nStdimport\r\nNEW_CONFIG_FORMAT_BELOW\r\n\"TACTICALTEAM1\",\"Engi",
         [](const Station& st) { return st.slots[1].Teamname; }, "Tac1", "TACTICALTEAM1"},
        {"nothing after the comma", kLegacy + "45\r\nStdimport\r\nNEW_CONFIG_FORMAT_BELOW\r\n\"TELNETLOGINPASSWORD\",",
         [](const Station& st) { return st.telnet.password; }, "-1", "TELNETLOGINPASSWORD"},
        {"password cut", kLegacy + "45\r\nStdimport\r\nNEW_CONFIG_FORMAT_BELOW\r\n\"TELNETLOGINPASSWORD\",\"s3cr",
         [](const Station& st) { return st.telnet.password; }, "-1", "TELNETLOGINPASSWORD"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        TempDir tmp;
        tmp.write("quorvel.cfg", c.text);
        Rig r(tmp);
        r.st.telnet.password = "-1";
        ASSERT_EQ(r.settings.getsettings(), Settings::Loaded::Done);
        EXPECT_EQ(c.value(r.st), c.expected);
        const std::string errors = tmp.read("quorvel.err");
        if (c.leftOut) {
            EXPECT_NE(errors.find(std::string("ERROR  62Input past end of file: the setting ") + c.leftOut +
                                  " was cut off and is left out in SUB GETSETTINGS "),
                      std::string::npos)
                << errors;
            EXPECT_EQ(errors.find("s3cr"), std::string::npos) << "the password stays out of the error file";
        } else {
            EXPECT_EQ(errors, "");
        }
    }
}

TEST(Settings, TacticalNamesThatWouldBreakTheRecordsAreMadeSafeAndReported) {
    struct Case {
        const char* name;     // as the file holds it, between its quotes
        const char* expected; // as loaded
    } cases[] = {
        {"Engine,7", "Engine 7"},         {"Say \"Hi\"", "Say  Hi "},        {"Tab\there", "Tab here"},
        {"Esc\x1b]0;x\x07", "Esc ]0;x "}, {"Next\xC2\x85line", "Next line"}, {"Del\x7F", "Del "},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.expected);
        TempDir tmp;
        tmp.write("quorvel.cfg", kLegacy +
                                     "45\r\nStdimport\r\nNEW_CONFIG_FORMAT_BELOW\r\n\"TACTICALTEAM2\",\"Engine "
                                     "12 / S\xC3\xBC\x64\"\r\n\"TACTICALTEAM5\",\"" +
                                     c.name + "\"\r\n");
        Rig r(tmp);
        r.settings.getsettings();
        EXPECT_EQ(r.st.slots[5].Teamname, c.expected);
        EXPECT_EQ(r.st.slots[2].Teamname, "Engine 12 / S\xC3\xBC\x64");
        ASSERT_EQ(r.ui.messages.size(), 1u);
        EXPECT_EQ(r.ui.messages[0].title, "TACTICAL NAME NOTICE");
        EXPECT_EQ(r.ui.messages[0].text, "Tactical name 5 in quorvel.cfg held a comma, a double quote, a tab or a "
                                         "control character, which would break the map records; each was replaced "
                                         "by a blank.");
        const std::string errors = tmp.read("quorvel.err");
        EXPECT_NE(errors.find("ERROR  380Invalid property value: tactical name 5 held a comma"), std::string::npos)
            << errors;
        EXPECT_EQ(errors.find("tactical name 2"), std::string::npos);
        // What is saved reads back the same, without a word.
        r.settings.savesettings();
        Rig again(tmp);
        again.settings.getsettings();
        EXPECT_EQ(again.st.slots[5].Teamname, c.expected);
        EXPECT_TRUE(again.ui.messages.empty());
    }
}

TEST(Settings, TheFileKeepsItsModeOwnerAndLinkAndIsLeftAloneWhenNothingChanged) {
    namespace fs = std::filesystem;
    auto stat = [](const fs::path& p) {
        struct ::stat sb {};
        ::stat(p.c_str(), &sb);
        return sb;
    };
    auto save = [](const TempDir& tmp, const std::string& call) {
        Rig r(tmp);
        r.st.slots[1].CallsignID = call;
        r.st.telnet.password = "s3cr3t";
        r.settings.savesettings();
    };
    {
        // A new file holds the password: the user's alone.
        TempDir tmp;
        save(tmp, "K1A");
        EXPECT_EQ(stat(tmp.path() / "quorvel.cfg").st_mode & 07777, 0600u);
    }
    {
        // The user's own mode, and owner where we may keep it, survive a change.
        TempDir tmp;
        save(tmp, "K1A");
        const fs::path cfg = tmp.path() / "quorvel.cfg";
        ::chmod(cfg.c_str(), 0640);
        const bool root = ::geteuid() == 0;
        if (root) {
            EXPECT_EQ(::chown(cfg.c_str(), 65534, 65534), 0);
        }
        save(tmp, "K2B");
        EXPECT_NE(tmp.read("quorvel.cfg").find("K2B"), std::string::npos);
        EXPECT_EQ(stat(cfg).st_mode & 07777, 0640u);
        if (root) {
            EXPECT_EQ(stat(cfg).st_uid, 65534u);
        }
    }
    {
        // Nothing changed: the file is not touched.
        TempDir tmp;
        save(tmp, "K1A");
        const auto before = stat(tmp.path() / "quorvel.cfg");
        save(tmp, "K1A");
        const auto after = stat(tmp.path() / "quorvel.cfg");
        EXPECT_EQ(after.st_ino, before.st_ino);
        EXPECT_EQ(after.st_mtim.tv_sec, before.st_mtim.tv_sec);
        EXPECT_EQ(after.st_mtim.tv_nsec, before.st_mtim.tv_nsec);
    }
    {
        // A link is written through, and stays a link.
        TempDir tmp, elsewhere;
        save(elsewhere, "K1A");
        fs::create_symlink(elsewhere.path() / "quorvel.cfg", tmp.path() / "quorvel.cfg");
        save(tmp, "K3C");
        EXPECT_TRUE(fs::is_symlink(tmp.path() / "quorvel.cfg"));
        EXPECT_NE(elsewhere.read("quorvel.cfg").find("K3C"), std::string::npos);
        EXPECT_EQ(stat(elsewhere.path() / "quorvel.cfg").st_mode & 07777, 0600u);
    }
}

} // namespace
} // namespace qv::test
