// The four postings against a fake desktop: the window search, the exact keys
// typed, the new-data mark, the archive after MapTech, the warnings, the
// manual import notice and timed posting.
#include "PostingRig.h"

#include <gtest/gtest.h>

using namespace qv;

namespace {

void writeMapTechSet(test::PostingRig& rig) {
    for (const char* f : {"quorvel.txf", "quorvel.rxf", "quorvel.mxf", "quorvel.wpt"})
        rig.tmp.write(f, "x\r\n");
}

} // namespace

TEST(MapAutomation, StreetAtlasTypesItsScriptThenSecondPressFindsNothingNew) {
    test::PostingRig rig;
    rig.windows.windows = {{"Notes"}, {"Street Atlas USA 5.0 - untitled"}};
    rig.st.map.mapType = kMapStreetAtlas;
    rig.st.map.importPathStreetAtlas = "/maps (new)/quorvelSA5now.txt";
    rig.st.marks.exportarchiveVisible = true;
    rig.automation.importtomapnow_Click();
    EXPECT_EQ(rig.windows.log.front(), "activate Street Atlas USA 5.0 - untitled");
    EXPECT_EQ(rig.windows.keys(),
              (std::vector<std::string>{"{F3}", "' '", "[ALT F ALT] L",
                                        "/ m a p s ' ' ( n e w ) / q u o r v e l S A 5 n o w . t x t", "[ALT O ALT]"}));
    EXPECT_FALSE(rig.st.marks.exportarchiveVisible);
    EXPECT_EQ(rig.st.marks.PGMmessage, "Street Atlas Found");
    EXPECT_EQ(rig.st.marks.commTag, kStartComm);

    rig.windows.log.clear();
    rig.automation.importtomapnow_Click();
    EXPECT_EQ(rig.st.marks.PGMmessage, "No StreetAtlas updates to post.");
    EXPECT_TRUE(rig.st.map.exportarchiveNoticeVisible);
    EXPECT_FALSE(rig.st.map.importtomapnowVisible);
    EXPECT_TRUE(rig.windows.log.empty());

    rig.automation.exportarchiveNotice_Click(); // override: post anyway
    EXPECT_EQ(rig.windows.keys().size(), 5u);
    EXPECT_TRUE(rig.st.map.importtomapnowVisible);
    EXPECT_FALSE(rig.st.map.exportarchiveNoticeVisible);
}

TEST(MapAutomation, MapTechPostsArchivesAndRestartsTimer1) {
    struct Case {
        const char* file;
        const char* mode;
        std::vector<std::string> keys;
    } cases[] = {
        {"quorvel.mxf", "Stdimport", {"[ALT m ALT] i", "PATH", "{ENTER}", "' '"}},
        {"quorvel.rxf", "Stdimport", {"[ALT r ALT] i", "PATH", "{ENTER}", "' '"}},
        {"quorvel.rxf", "PROimport", {"[ALT f ALT] m r", "PATH", "{ENTER}", "{RIGHT} {RIGHT}", "{ENTER}", "' '"}},
        {"quorvel.TXF", "PROimport", {"[ALT f ALT] m t", "PATH", "{ENTER}", "' '"}},
    };
    for (const auto& c : cases) {
        test::PostingRig rig;
        writeMapTechSet(rig);
        rig.windows.windows = {{"QUORVEL"}, {"Terrain Navigator Pro - [Bend]"}};
        rig.st.map.mapType = text::iequals(c.mode, "PROimport") ? kMapMapTechPro : kMapMapTechStd;
        rig.st.map.importMode = c.mode;
        rig.st.map.importPathMapTech = rig.path(c.file);
        rig.st.sw.soundon = true;
        rig.timer1.setEnabled(true);
        rig.automation.importtomapnow_Click();
        std::vector<std::string> expected = c.keys;
        std::string typedPath;
        for (char ch : rig.path(c.file)) {
            if (!typedPath.empty()) typedPath += ' ';
            typedPath += ch;
        }
        expected[1] = typedPath;
        EXPECT_EQ(rig.windows.keys(), expected) << c.file << " " << c.mode;
        EXPECT_EQ(rig.windows.log[0], "activate QUORVEL");
        EXPECT_EQ(rig.windows.log[1], "activate Terrain Navigator Pro - [Bend]");
        EXPECT_EQ(rig.archives, 1);
        EXPECT_TRUE(rig.tmp.read("data/quorvel01.MXF").size() > 0);
        EXPECT_TRUE(rig.timer1.isEnabled());
        EXPECT_FALSE(rig.st.marks.exportarchiveVisible);
    }
}

TEST(MapAutomation, MapTechWithoutItsFileSkipsAndWithoutItsWindowKeepsTheData) {
    test::PostingRig rig;
    rig.st.map.mapType = kMapMapTechStd;
    rig.st.map.importPathMapTech = rig.path("quorvel.mxf");
    rig.st.marks.exportarchiveVisible = true;
    rig.automation.autoimport_Click();
    EXPECT_EQ(rig.st.marks.PGMmessage, "9:05:42 AMNo update file found. SKIPPING IMPORT. ");
    EXPECT_TRUE(rig.st.marks.exportarchiveVisible); // nothing imported: the data still wait
    EXPECT_TRUE(rig.windows.log.empty());

    writeMapTechSet(rig);
    rig.st.marks.exportarchiveVisible = true;
    rig.automation.autoimport_Click();
    EXPECT_EQ(rig.st.marks.PGMmessage, "Mapping Program cannot be found or has been minimized");
    EXPECT_TRUE(rig.st.marks.exportarchiveVisible);
    EXPECT_TRUE(rig.windows.keys().empty());
    EXPECT_EQ(rig.archives, 0);
    EXPECT_TRUE(rig.tmp.read("quorvel.mxf").size() > 0);
}

TEST(MapAutomation, TopoUsaAndTopoScripts) {
    test::PostingRig rig;
    rig.windows.windows = {{"DeLorme Topo USA 4.0"}, {"TOPO! - Oregon"}};
    rig.st.map.importPathMapTech = "/q/quorvel.mxf";
    rig.st.map.importPathNatGeoTopo = "/q/n.txt";
    rig.st.marks.exportarchiveVisible = true;
    rig.automation.ImportDelormeTopo_Click();
    EXPECT_EQ(
        rig.windows.keys(),
        (std::vector<std::string>{"[SHIFT [ALT T ALT] SHIFT]", "[ALT w ALT]", "[CTRL [SHIFT {TAB} {TAB} SHIFT] CTRL]",
                                  "[SHIFT {TAB} {TAB} {TAB} {TAB} SHIFT] ' '", "/ q / q u o r v e l . m x f",
                                  "{TAB} a a a", "[ALT O ALT]"}));
    EXPECT_FALSE(rig.st.marks.exportarchiveVisible);

    rig.windows.log.clear();
    rig.st.marks.exportarchiveVisible = true;
    rig.automation.ImportNatGeoTOPO_Click();
    EXPECT_EQ(rig.windows.keys(),
              (std::vector<std::string>{"[CTRL n CTRL]", "n", "[CTRL i CTRL]", "[ALT n ALT]", "/ q / n . t x t",
                                        "[ALT O N N ALT]", "{ENTER}", "{ENTER}"}));
    // With nothing new TOPO! stays silent.
    rig.windows.log.clear();
    rig.automation.ImportNatGeoTOPO_Click();
    EXPECT_EQ(rig.st.marks.PGMmessage, "ImportNatGeoTOPO");
    EXPECT_TRUE(rig.windows.log.empty());
}

TEST(MapAutomation, WindowTroubleGivesTheWarningsAndKeepsTheData) {
    struct Case {
        std::vector<test::FakeWindowKeys::Win> windows;
        bool sendFails;
        const char* status;
    } cases[] = {
        {{}, false, "Mapping Program cannot be found or has been minimized"},
        {{{"TOPO! - Oregon", true}}, false, "Mapping Program cannot be found or has been minimized"},
        {{{"TOPO! - Oregon", false, true}}, false, "<< Warning >> TOPO! NOT LOADED!! or Can't Import"},
        {{{"TOPO! - Oregon"}}, true, "<< Warning >> TOPO! NOT LOADED!! or Can't Import"},
    };
    for (const auto& c : cases) {
        test::PostingRig rig;
        rig.windows.windows = c.windows;
        rig.windows.sendFails = c.sendFails;
        rig.st.map.mapType = kMapNatGeoTopo;
        rig.st.marks.exportarchiveVisible = true;
        rig.automation.importtomapnow_Click();
        EXPECT_EQ(rig.st.marks.PGMmessage, c.status);
        EXPECT_TRUE(rig.st.marks.exportarchiveVisible);
        EXPECT_EQ(rig.st.marks.commTag, kStartComm);
    }
}

TEST(MapAutomation, OtherMapsAsksForAManualImport) {
    test::PostingRig rig;
    writeMapTechSet(rig);
    rig.st.map.mapType = kMapOther;
    rig.st.marks.exportarchiveVisible = true;
    rig.ui.answers = {Answer::Cancel};
    rig.automation.importtomapnow_Click();
    ASSERT_EQ(rig.ui.messages.size(), 2u);
    EXPECT_EQ(rig.ui.messages[0].title, "Quorvel             MAP MANUAL IMPORT NOTICE");
    EXPECT_EQ(rig.ui.messages[0].buttons, Buttons::OkCancel);
    EXPECT_EQ(rig.ui.messages[1].title, "Quorvel INFO             MAP MANUAL IMPORT CANCELLED ");
    EXPECT_EQ(rig.archives, 0);
    rig.ui.answers = {Answer::Ok};
    rig.automation.importtomapnow_Click();
    EXPECT_EQ(rig.archives, 1);
    EXPECT_FALSE(rig.tmp.read("data/quorvel01.TXF").empty());
}

TEST(MapAutomation, TimedPostingNoticeOnceAndTimerTicksPost) {
    test::PostingRig rig;
    EXPECT_EQ(rig.timer1.interval(), 60000);
    EXPECT_FALSE(rig.timer1.isEnabled());
    for (bool on : {true, false, true}) {
        rig.st.map.timedautoimport = on;
        rig.automation.timedautoimport_Click();
        EXPECT_EQ(rig.timer1.isEnabled(), on);
    }
    ASSERT_EQ(rig.ui.messages.size(), 1u);
    EXPECT_EQ(rig.ui.messages[0].title, "NOTICE: TIMED MAP POSTING");
    EXPECT_EQ(rig.st.map.timedautoimportTag, "Notice Seen");
    EXPECT_EQ(rig.saves, 3);

    rig.windows.windows = {{"Street Atlas 5"}};
    rig.st.map.mapType = kMapStreetAtlas;
    rig.st.marks.exportarchiveVisible = true;
    rig.timer1.fire();
    EXPECT_EQ(rig.windows.keys().size(), 5u);
}

TEST(MapAutomation, PostingHoldsTheReceivePauseAndNeverNests) {
    // A timer tick while the posting lets events run must not start a second posting.
    test::PostingRig rig;
    rig.windows.windows = {{"Street Atlas 5"}};
    rig.st.map.mapType = kMapStreetAtlas;
    rig.st.marks.exportarchiveVisible = true;
    rig.timer1.setEnabled(true);
    std::vector<std::string> seen;
    struct Probe final : Ui {
        test::PostingRig* rig;
        std::vector<std::string>* seen;
        Answer message(const std::string&, const std::string&, Buttons, Icon, int) override { return Answer::Ok; }
        std::string input(const std::string&, const std::string&, const std::string& p) override { return p; }
        void beep() override {}
        void refresh() override {
            seen->push_back(rig->st.marks.commTag);
            rig->timer1.fire();
        }
    } probe;
    probe.rig = &rig;
    probe.seen = &seen;
    Context ctx{rig.st, rig.dir, rig.log, probe, rig.clock, rig};
    ctx.windows = &rig.windows;
    ctx.timer1 = &rig.timer1;
    MapAutomation automation(ctx, rig.options);
    automation.attach();
    automation.importtomapnow_Click();
    EXPECT_EQ(rig.windows.keys().size(), 5u);
    ASSERT_FALSE(seen.empty());
    for (const auto& s : seen)
        EXPECT_EQ(s, kStopComm);
    EXPECT_EQ(rig.st.marks.commTag, kStartComm);
}
