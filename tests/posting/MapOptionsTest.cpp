// Map program and display options: what each choice switches, the notices,
// capture-all, the import keystrokes and the file chooser.
#include "PostingRig.h"

#include <gtest/gtest.h>

using namespace qv;
using D = DisplayOption;

namespace {

struct Expect {
    void (MapOptions::*click)();
    const char* mapType;
    D display;
    bool timedEnabled, postNow, saButton, mtButton, ngButton, tacticalEnabled;
    bool sa, mt, ng, oz, ngCall; // family switches after the click
    const char* noticeStart;     // nullptr: no notice
};

} // namespace

TEST(MapOptions, EachMapProgramSwitchesItsRow) {
    const Expect rows[] = {
        {&MapOptions::Option1ImportSA_Click, "streetatlas50", D::OptionMapPostOnlyCurrentWithCallsigns, true, true,
         true, false, false, false, true, false, false, false, false,
         "You have chosen the option to import and post data to\rStreet Atlas 5.0"},
        {&MapOptions::Option2ImportMapTech_Click, "maptechSTD", D::OptionMapPostbyTRACKwLines, true, true, false, true,
         false, true, false, true, false, false, false,
         "You have chosen the option to import and post data to MapTech Terrain Navigator\r"},
        {&MapOptions::Option3ImportMapTechPRO_Click, "maptechPRO", D::OptionMapPostbyTRACKwLines, true, true, false,
         true, false, true, false, true, false, false, false,
         "You have chosen the option to import and post data to MapTech Terrain Navigator PRO\r"},
        {&MapOptions::Option5ImportDelormeTOPO_Click, "DelormeTOPOusa", D::None, true, true, false, true, false, false,
         false, true, false, false, false, "You have chosen the option to import and post data to\rDelorme"},
        {&MapOptions::Option6ImportNatGeoTOPO_Click, "NatGeoTOPO", D::OptionMapPostOnlyCurrent, true, true, false,
         false, true, true, false, false, true, false, true,
         "You have chosen the option to import and post data to National Geographic TOPO!"},
        {&MapOptions::Option4ImporttoOtherMaps_Click, "OtherMaps", D::None, false, true, false, false, false, false,
         true, true, true, true, true, "You have chosen the option to import and post data to a map not yet"},
        // The display option chosen afterwards enables the tactical names again.
        {&MapOptions::Option7LivePostOzi_Click, "OziLive", D::OptionMapPostOnlyCurrent, false, false, false, false,
         false, true, true, true, true, true, true, nullptr},
    };
    for (const auto& r : rows) {
        test::PostingRig rig;
        MapState& m = rig.st.map;
        m.menucreatestreetatlasfiles = m.menucreatemaptechfiles = m.menucreatenatgeotopofiles = m.menucreateozifiles =
            m.menucreatenatgeotopoNowCallfile = true;
        m.menucreatekmlfiles = false;
        rig.st.tracking.CheckMapTacticalNames.checked = true;
        (rig.options.*r.click)();
        SCOPED_TRACE(r.mapType);
        EXPECT_EQ(m.mapType, r.mapType);
        EXPECT_EQ(m.display, r.display);
        EXPECT_EQ(m.timedautoimportEnabled, r.timedEnabled);
        EXPECT_EQ(m.importtomapnowEnabled, r.postNow);
        EXPECT_EQ(m.changeimportSAVisible, r.saButton);
        EXPECT_EQ(m.changeimportVisible, r.mtButton);
        EXPECT_EQ(m.changeimportNGTOPOVisible, r.ngButton);
        EXPECT_EQ(rig.st.tracking.CheckMapTacticalNames.enabled, r.tacticalEnabled);
        EXPECT_EQ(m.menucreatestreetatlasfiles, r.sa);
        EXPECT_EQ(m.menucreatemaptechfiles, r.mt);
        EXPECT_EQ(m.menucreatenatgeotopofiles, r.ng);
        EXPECT_EQ(m.menucreateozifiles, r.oz);
        EXPECT_EQ(m.menucreatenatgeotopoNowCallfile, r.ngCall);
        // The open formats keep their switches, unless every kind of file is asked for.
        EXPECT_TRUE(m.menucreategpxfile);
        EXPECT_EQ(m.menucreatekmlfiles, std::string(r.mapType) == "OtherMaps");
        EXPECT_TRUE(m.menucreategeojsonfile);
        if (r.noticeStart) {
            ASSERT_EQ(rig.ui.messages.size(), 1u);
            EXPECT_EQ(rig.ui.messages[0].title, "Quorvel    MAP OPTION NOTICE");
            EXPECT_EQ(rig.ui.messages[0].text.rfind(r.noticeStart, 0), 0u) << rig.ui.messages[0].text;
        } else {
            EXPECT_TRUE(rig.ui.messages.empty());
        }
        EXPECT_GE(rig.saves, 1);
    }
}

TEST(MapOptions, AllOnAndAllOffReachTheOpenFormatsAndEachOfThemToggles) {
    test::PostingRig rig;
    const MapState& m = rig.st.map;
    auto all = [&] {
        return std::vector<bool>{m.menucreatestreetatlasfiles,
                                 m.menucreatemaptechfiles,
                                 m.menucreatenatgeotopofiles,
                                 m.menucreateozifiles,
                                 m.menucreatenatgeotopoNowCallfile,
                                 m.menucreategpxfile,
                                 m.menucreatekmlfiles,
                                 m.menucreategeojsonfile};
    };
    rig.options.menuspeedup_Click();
    EXPECT_EQ(all(), std::vector<bool>(8, false));
    rig.options.menucreatekmlfiles_Click();
    rig.options.menucreategeojsonfile_Click();
    rig.options.menucreategeojsonfile_Click();
    EXPECT_EQ(all(), (std::vector<bool>{false, false, false, false, false, false, true, false}));
    rig.options.menucreategpxfile_Click();
    EXPECT_TRUE(m.menucreategpxfile);
    rig.options.menumapsallON_Click();
    EXPECT_EQ(all(), std::vector<bool>(8, true));
    EXPECT_EQ(rig.saves, 6);
}

TEST(MapOptions, NoticeCarriesTheImportPathAndTheMapTechKeysFollowTheDisplay) {
    test::PostingRig rig;
    rig.options.Option3ImportMapTechPRO_Click();
    // byTRACK then byTRACKwLines: the route file, posted with the PRO keys.
    EXPECT_EQ(rig.st.map.importPathMapTech, rig.path("quorvel.rxf"));
    EXPECT_EQ(rig.st.map.importPathNatGeoTopo, rig.path("quorvelNGTOPO.txt"));
    EXPECT_EQ(rig.st.map.importKeys, "%fmr");
    EXPECT_EQ(rig.st.map.importMode, "PROimport");
    EXPECT_NE(rig.ui.messages[0].text.find("\rYour current IMPORT PATH is: " + rig.path("quorvel.rxf") + "\r"),
              std::string::npos);
    EXPECT_EQ(rig.st.map.displayEnabled, (std::array<bool, 5>{true, true, false, false, true}));
}

TEST(MapOptions, LoadingAConfigurationShowsNoNoticeAndSavesNothing) {
    test::PostingRig rig;
    rig.st.marks.formTag = kGettingConfig;
    rig.options.selectMapOption("option6importnatgeotopo");
    rig.options.selectMapDataFormat("OptionMapPostOnlyCurrentWithCallsigns");
    EXPECT_TRUE(rig.ui.messages.empty());
    EXPECT_EQ(rig.saves, 0);
    EXPECT_EQ(rig.st.map.mapType, "NatGeoTOPO");
    EXPECT_EQ(rig.st.map.display, D::OptionMapPostOnlyCurrentWithCallsigns);
    EXPECT_EQ(rig.st.map.importPathNatGeoTopo, ""); // the stored paths are left as read
    // The hidden window also keeps the notice back.
    test::PostingRig headless;
    headless.st.marks.windowVisible = false;
    headless.options.Option1ImportSA_Click();
    EXPECT_TRUE(headless.ui.messages.empty());
}

TEST(MapOptions, MapTechOrTopoTurnCaptureAllOffAndSaySoStreetAtlasDoesNot) {
    struct Case {
        void (MapOptions::*click)();
        const char* message; // nullptr: capture-all stays on
    } cases[] = {
        {&MapOptions::Option2ImportMapTech_Click, "Sorry... Quorvel does not yet write files for MapTech while the "
                                                  "(CAPTURE ALL) feature is turned on. CAPTURE ALL HAS BEEN TURNED "
                                                  "OFF"},
        {&MapOptions::Option3ImportMapTechPRO_Click, "Sorry... Quorvel does not yet write files for MapTech while "
                                                     "the (CAPTURE ALL) feature is turned on. CAPTURE ALL HAS BEEN "
                                                     "TURNED OFF"},
        {&MapOptions::Option6ImportNatGeoTOPO_Click, "Sorry... Quorvel does not yet write files for TOPO! while the "
                                                     "(CAPTURE ALL) feature is turned on. CAPTURE ALL HAS BEEN TURNED "
                                                     "OFF"},
        {&MapOptions::Option1ImportSA_Click, nullptr},
        {&MapOptions::Option4ImporttoOtherMaps_Click, nullptr},
    };
    for (const auto& c : cases) {
        test::PostingRig rig;
        MapState& m = rig.st.map;
        m.captureallON = true;
        m.captureallOFF = false;
        m.CaptureAllLabel = true;
        (rig.options.*c.click)();
        EXPECT_EQ(m.captureallON, c.message == nullptr);
        EXPECT_EQ(m.CaptureAllLabel, c.message == nullptr);
        EXPECT_EQ(m.captureallOFF, c.message != nullptr);
        if (c.message) {
            ASSERT_GE(rig.ui.messages.size(), 2u);
            EXPECT_EQ(rig.ui.messages[0].text, c.message);
        }
    }
}

TEST(MapOptions, OtherMapsClearsTimedPostingAndStopsTimer1) {
    test::PostingRig rig;
    rig.st.map.timedautoimport = true;
    rig.automation.timedautoimport_Click();
    ASSERT_TRUE(rig.timer1.isEnabled());
    rig.options.Option4ImporttoOtherMaps_Click();
    EXPECT_FALSE(rig.st.map.timedautoimport);
    EXPECT_FALSE(rig.st.map.timedautoimportEnabled);
    EXPECT_FALSE(rig.timer1.isEnabled());
}

TEST(MapOptions, ImportKeysByExtensionAndMode) {
    struct Case {
        const char* path;
        const char* mode;
        const char* keys;
    } cases[] = {
        {"/q/quorvel.mxf", "Stdimport", "%mi"},
        {"/q/quorvel.rxf", "Stdimport", "%ri"},
        {"/q/quorvel.txf", "Stdimport", "%ti"},
        {"/q/quorvel.MXF", "PROimport", "%fmm"},
        {"/q/quorvel.rxf", "proimport", "%fmr"},
        {"/q/quorvel.txf", "PROimport", "%fmt"},
        {"/q/quorvel", "PROimport", "unchanged"},
        {"/q/quorvel.wpt", "Stdimport", "unchanged"},
        {"/home/op/.maps/quorvel.txf", "Stdimport", "%ti"},
        {"C:\\a.b\\quorvel.rxf", "Stdimport", "%ri"},
        {"/q/quorvel.mxf.bak", "Stdimport", "unchanged"},
        {"", "Stdimport", "unchanged"},
    };
    for (const auto& c : cases) {
        test::PostingRig rig;
        rig.st.map.importKeys = "unchanged";
        rig.st.map.importPathMapTech = c.path;
        rig.st.map.importMode = c.mode;
        rig.options.checkimportfilename();
        EXPECT_EQ(rig.st.map.importKeys, c.keys) << c.path << " " << c.mode;
        EXPECT_EQ(rig.st.marks.PGMmessage, "CheckingImportFilename");
    }
}

TEST(MapOptions, ChooserFiltersByMapButtonAndStoresThePath) {
    test::PostingRig rig;
    for (const char* f : {"quorvelSA5.txt", "quorvelSA5now.txt", "quorvel.mxf", "notes.doc"})
        rig.tmp.write(f, "x");
    rig.options.Option1ImportSA_Click();
    rig.options.autoimportbrowse_Click(); // the browse menu: everything
    EXPECT_EQ(rig.st.map.chooser.pattern, "*.*");
    EXPECT_EQ(rig.options.File1Names().size(), 4u);
    rig.options.changeimportSA_Click(); // the Street Atlas path button
    EXPECT_EQ(rig.st.map.chooser.pattern, "quorvelSA*.txt");
    EXPECT_TRUE(rig.st.map.chooser.browseTag.empty());
    EXPECT_TRUE(rig.st.map.chooser.visible);
    EXPECT_EQ(rig.options.File1Names(), (std::vector<std::string>{"quorvelSA5.txt", "quorvelSA5now.txt"}));

    rig.options.File1_Click("quorvelSA5.txt");
    rig.options.Commandyesbrowseimportpath_Click();
    EXPECT_EQ(rig.st.map.importPathStreetAtlas, rig.path("quorvelSA5.txt"));
    EXPECT_FALSE(rig.st.map.chooser.visible);

    // SAVE without a selection warns and falls back to "other data files".
    rig.options.Dir1_Change((rig.tmp.path() / "elsewhere").string());
    rig.ui.messages.clear();
    rig.options.File1_DblClick();
    ASSERT_EQ(rig.ui.messages.size(), 1u);
    EXPECT_EQ(rig.ui.messages[0].text.rfind("NO VALID IMPORT FILE PATH SPECIFIED!\r", 0), 0u);
    EXPECT_EQ(rig.st.map.display, D::OptionMapPostOTHER);
    EXPECT_EQ(rig.st.map.FrameMapPostOptionsHeight, 1575);
}

TEST(MapOptions, ChooserListsSubFoldersAndFollowsTheFolder) {
    test::PostingRig rig;
    rig.tmp.write("quorvel.mxf", "x");
    rig.tmp.write("Maps/quorvel01.MXF", "x");
    rig.tmp.write("Maps/quorvel01.txf", "x");
    rig.tmp.write("Maps/readme.txt", "x");
    rig.tmp.write("archive/old.txt", "x");
    rig.options.Option2ImportMapTech_Click();
    rig.options.changeimport_Click();
    const FileChooser& c = rig.st.map.chooser;
    EXPECT_EQ(c.folders, (std::vector<std::string>{"archive", "Maps"})); // case-blind order
    EXPECT_EQ(c.files, (std::vector<std::string>{"quorvel.mxf"}));
    rig.options.File1_Click("quorvel.mxf");

    // A new folder clears the highlighted name and lists that folder.
    rig.options.Dir1_Change((rig.tmp.path() / "Maps").string());
    EXPECT_TRUE(c.folders.empty());
    EXPECT_EQ(c.files, (std::vector<std::string>{"quorvel01.MXF", "quorvel01.txf"}));
    EXPECT_EQ(c.selected, "");
    rig.options.File1_Click("quorvel01.txf");
    rig.options.Commandyesbrowseimportpath_Click();
    EXPECT_EQ(rig.st.map.importPathMapTech, (rig.tmp.path() / "Maps" / "quorvel01.txf").string());
    EXPECT_EQ(rig.st.map.importKeys, "%ti");

    // A folder that vanished lists nothing rather than failing.
    rig.options.Dir1_Change((rig.tmp.path() / "gone").string());
    EXPECT_TRUE(c.folders.empty());
    EXPECT_TRUE(c.files.empty());
}

TEST(MapOptions, TopoCallsignFileSelectionWarnsAboutLabelLength) {
    test::PostingRig rig;
    rig.options.Option6ImportNatGeoTOPO_Click();
    rig.ui.messages.clear();
    rig.options.File1_Click("quorvelNGTOPOnowCall.txt");
    rig.options.File1_DblClick();
    ASSERT_EQ(rig.ui.messages.size(), 1u);
    EXPECT_EQ(rig.ui.messages[0].title, "TOPO! *CALLSIGN* MAP LABEL LENGTHS");
    EXPECT_EQ(rig.st.map.importPathNatGeoTopo, rig.path("quorvelNGTOPOnowCall.txt"));
}

TEST(MapOptions, TypedMapTechPathEmptyAnswerKeepsTheOldOne) {
    test::PostingRig rig;
    rig.st.map.importPathMapTech = "/old/quorvel.mxf";
    rig.ui.inputs = {""};
    rig.options.autoimportpath_Click();
    EXPECT_EQ(rig.st.map.importPathMapTech, "/old/quorvel.mxf");
    EXPECT_EQ(rig.ui.messages.back().text, "IMPORT FILE NOT CHANGED.\rPrevious path retained.");
    rig.ui.inputs = {"/new/quorvel.txf"};
    rig.options.autoimportpath_Click();
    EXPECT_EQ(rig.st.map.importPathMapTech, "/new/quorvel.txf");
    EXPECT_EQ(rig.st.map.importKeys, "%ti");
}

TEST(MapOptions, TopoSampleFileIsCreatedOnceAndCoverToggles) {
    test::PostingRig rig;
    rig.options.CreateBogusNGTOPOnowFile_Click();
    EXPECT_EQ(rig.tmp.read("quorvelNGTOPO.txt"),
              "44.09082, -121.26709, BOGUS, 9/09/99 0000, This is a Sample file for TOPO! config. ZZ9ZZ\r\n");
    rig.tmp.write("quorvelNGTOPO.txt", "mine\r\n");
    rig.options.CreateBogusNGTOPOnowFile_Click();
    EXPECT_EQ(rig.tmp.read("quorvelNGTOPO.txt"), "mine\r\n");
    ASSERT_EQ(rig.ui.messages.size(), 2u);
    EXPECT_EQ(rig.ui.messages[1].text.rfind("A Nat.Geo.TOPO! file already exists", 0), 0u);

    rig.options.CoverConfigCmdBox_Click();
    EXPECT_EQ(rig.st.map.CoverConfigCmdBoxTag, "Covered");
    rig.options.CoverConfigCmdBox_Click();
    EXPECT_EQ(rig.st.map.CoverConfigCmdBoxTag, "Un-Covered");
    EXPECT_EQ(rig.st.map.CoverConfigCmdBoxCaption, "Click to Cover the Configuration boxes");
}

TEST(MapOptions, LiveOziWithoutTheLibraryTellsOnceWhatStillWorks) {
    test::PostingRig rig;
    rig.ctx.ozi = nullptr;
    rig.st.marks.formTag = kGettingConfig; // a loaded choice says nothing
    rig.options.selectMapOption("Option7LivePostOzi");
    EXPECT_TRUE(rig.ui.messages.empty());
    rig.st.marks.formTag.clear();
    for (int i = 0; i < 2; ++i) {
        rig.options.Option1ImportSA_Click();
        rig.options.Option7LivePostOzi_Click();
    }
    std::vector<std::string> ozi;
    for (const auto& m : rig.ui.messages)
        if (m.title == "Quorvel    OZIEXPLORER LIVE POST") ozi.push_back(m.text);
    ASSERT_EQ(ozi.size(), 1u);
    EXPECT_NE(ozi[0].find("cannot be loaded"), std::string::npos);
    EXPECT_NE(ozi[0].find("quorvel.wpt"), std::string::npos);
}
