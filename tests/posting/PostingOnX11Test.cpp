// One posting end to end on a real X display: a window titled like a map
// program receives the keystrokes of the Street Atlas posting through X11.
#include "PostingRig.h"
#include "XTestWindow.h"
#include "platform/X11WindowKeys.h"

#include <gtest/gtest.h>
#include <memory>
#include <unistd.h>

using namespace qv;

TEST(PostingOnX11, StreetAtlasWindowReceivesTheScript) {
    test::XDisplay display;
    if (display.name().empty()) GTEST_SKIP() << "no X display and no Xvfb";
    test::KeyRecorderWindow map(display.name(), "Street Atlas USA 5.0 - untitled");
    ASSERT_TRUE(map.ok());
    X11WindowKeys x(display.name());
    x.setSettleMs(0);
    test::PostingRig rig;
    rig.ctx.windows = &x;
    rig.st.map.mapType = kMapStreetAtlas;
    rig.st.map.importPathStreetAtlas = "/home/op/maps (1)/quorvelSA5now.txt";
    rig.st.marks.exportarchiveVisible = true;
    rig.automation.importtomapnow_Click();
    EXPECT_EQ(rig.st.marks.PGMmessage, "Street Atlas Found");
    EXPECT_EQ(map.typed(), "{F3} <A-F>L/home/op/maps (1)/quorvelSA5now.txt<A-O>");
    EXPECT_FALSE(rig.st.marks.exportarchiveVisible);
}

// A received message names the map program and becomes the title of our own
// message window: the search must pass it by, whether or not the real map
// program is running, and the data stay unposted when it is not.
TEST(PostingOnX11, OwnWindowsNeverReceiveTheKeys) {
    test::XDisplay display;
    if (display.name().empty()) GTEST_SKIP() << "no X display and no Xvfb";
    struct Case {
        bool mapRunning;
        const char* status;
        bool posted;
    } cases[] = {
        {false, "Mapping Program cannot be found or has been minimized", false},
        {true, "Street Atlas Found", true},
    };
    for (const auto& c : cases) {
        test::KeyRecorderWindow own(display.name(), "open Street Atlas and check");
        ASSERT_TRUE(own.ok()) << display.name() << " " << c.mapRunning;
        own.setOwner(static_cast<long>(getpid()));
        std::unique_ptr<test::KeyRecorderWindow> map;
        if (c.mapRunning) map = std::make_unique<test::KeyRecorderWindow>(display.name(), "Street Atlas USA 5.0");
        X11WindowKeys x(display.name());
        x.setSettleMs(0);
        x.setActivateTimeoutMs(300);
        for (const std::string& t : x.windowTitles())
            EXPECT_NE(t, "open Street Atlas and check");
        EXPECT_THROW(x.activate("open Street Atlas and check"), Failure);

        test::PostingRig rig;
        rig.ctx.windows = &x;
        rig.st.map.mapType = kMapStreetAtlas;
        rig.st.map.importPathStreetAtlas = "/q/quorvelSA5now.txt";
        rig.st.marks.exportarchiveVisible = true;
        rig.automation.importtomapnow_Click();
        EXPECT_EQ(rig.st.marks.PGMmessage, c.status) << c.mapRunning;
        EXPECT_EQ(own.typed(), "") << c.mapRunning;
        if (map) {
            EXPECT_EQ(map->typed(), "{F3} <A-F>L/q/quorvelSA5now.txt<A-O>");
        }
        EXPECT_EQ(rig.st.marks.exportarchiveVisible, !c.posted) << c.mapRunning;
    }
}
