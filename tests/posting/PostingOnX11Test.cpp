// One posting end to end on a real X display: a window titled like a map
// program receives the keystrokes of the Street Atlas posting through X11.
#include "PostingRig.h"
#include "XTestWindow.h"
#include "platform/X11WindowKeys.h"

#include <gtest/gtest.h>

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
