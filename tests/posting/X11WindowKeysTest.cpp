// The X11 window and keystroke port against a real X display: windows found
// by title, activation, and keys arriving in a real window as typed.
#include "platform/X11WindowKeys.h"
#include "XTestWindow.h"
#include "core/Failure.h"
#include "posting/KeystrokeScript.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

using namespace qv;

namespace {

int failureNumber(const std::function<void()>& f) {
    try {
        f();
    } catch (const Failure& e) {
        return e.number();
    }
    return 0;
}

} // namespace

TEST(X11WindowKeys, FindsActivatesAndTypesIntoARealWindow) {
    test::XDisplay display;
    if (display.name().empty()) GTEST_SKIP() << "no X display and no Xvfb";
    test::KeyRecorderWindow map(display.name(), "Terrain Navigator - [Sample]");
    test::KeyRecorderWindow hidden(display.name(), "TOPO! hidden", false);
    ASSERT_TRUE(map.ok());
    X11WindowKeys x(display.name());
    ASSERT_TRUE(x.connected());
    x.setSettleMs(0);

    auto titles = x.windowTitles();
    EXPECT_NE(std::find(titles.begin(), titles.end(), "Terrain Navigator - [Sample]"), titles.end());
    EXPECT_EQ(std::find(titles.begin(), titles.end(), "TOPO! hidden"), titles.end()) << "an unmapped window is listed";

    x.setActivateTimeoutMs(300);
    EXPECT_EQ(failureNumber([&] { x.activate("TOPO! hidden"); }), 5);
    EXPECT_EQ(failureNumber([&] { x.activate("Street Atlas"); }), 5);
    EXPECT_EQ(failureNumber([&] { x.activate("terrain navigator - [sample]"); }), 0);
    EXPECT_EQ(failureNumber([&] { x.activate("Terrain Navigator"); }), 0); // a title beginning with it

    const std::string path = "/tmp/Q files (1)/100%+~\xc3\xa9.mxf";
    for (const std::string& script : {std::string("%mi"), keys::literal(path), std::string("{ENTER}"),
                                      std::string("+%(T)^+({TAB 2}){RIGHT 2}{F3}")})
        x.send(keys::parse(script));
    EXPECT_EQ(map.typed(), "<A-m>i" + path + "{ENTER}<A-T><C-<S-{TAB}>><C-<S-{TAB}>>{RIGHT}{RIGHT}{F3}");
}

TEST(X11WindowKeys, WithoutADisplayNothingIsFoundAndSendingFails) {
    X11WindowKeys x(":9999");
    EXPECT_FALSE(x.connected());
    EXPECT_TRUE(x.windowTitles().empty());
    EXPECT_EQ(failureNumber([&] { x.activate("TOPO!"); }), 5);
    EXPECT_EQ(failureNumber([&] { x.send(keys::parse("a")); }), 5);
}
