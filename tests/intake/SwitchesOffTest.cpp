// With "Detect compressed" and "Detect objects/items" off, a mixed feed of
// every report kind (compressed reports, objects and items among them) leaves
// the files the program left before either switch existed, byte for byte. The
// golden copies under tests/data/switchesoff/files were written by that
// earlier program running this same test, which it could (it ignores the two
// settings records); QUORVEL_UPDATE_GOLDEN=1 rewrites them.
#include "shell/App.h"
#include "support/Fakes.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <regex>
#include <set>
#include <sstream>

using namespace qv;
using namespace qv::test;

TEST(SwitchesOff, MixedFeedLeavesTheFilesOfBefore) {
    const auto data = std::filesystem::path(QUORVEL_TEST_DATA) / "switchesoff";
    TempDir tmp;
    FakeClock clock;
    FakeUi ui;
    // Every slot tracked, auto-assignment and every family on.
    tmp.write("quorvel.cfg", "QUORVEL CONFIGURATION SETTINGS. Do not change unless you know what you are doing!\r\n"
                             "2.0\r\n0\r\nquorvel.mxf\r\nCALL ID-1\r\nCALL ID-2\r\nCALL ID-3\r\nCALL ID-4\r\n"
                             "1\r\n1\r\n1\r\n1\r\n1\r\n60\r\nStdimport\r\nNEW_CONFIG_FORMAT_BELOW\r\n"
                             "\"MAPTYPE\",\"maptechSTD\"\r\n\"ODFSPOTFIRESCREATEFILE\",1\r\n"
                             "\"CREATEMAPFILENATGEOTOPONOW\",#TRUE#\r\n\"CREATEMAPFILESTREETATLAS\",#TRUE#\r\n"
                             "\"CREATEMAPFILEMAPTECH\",#TRUE#\r\n\"CREATEMAPFILENATGEOTOPO\",#TRUE#\r\n"
                             "\"TRACKCALLID5\",1\r\n\"TRACKCALLID6\",1\r\n\"TRACKCALLID7\",1\r\n\"TRACKCALLID8\",1\r\n"
                             "\"DETECTCOMPRESSED\",#FALSE#\r\n\"DETECTOBJECTS\",#FALSE#\r\n"
                             // The GPX, KML and GeoJSON files came later as well.
                             "\"CREATEMAPFILEGPX\",#FALSE#\r\n\"CREATEMAPFILEKML\",#FALSE#\r\n"
                             "\"CREATEMAPFILEGEOJSON\",#FALSE#\r\n");
    App app(tmp.path(), ui, clock);
    app.settings.getsettings();
    std::ifstream feed(data / "feed.imp", std::ios::binary);
    int n = 0;
    for (std::string line; std::getline(feed, line); ++n) {
        clock.t = {2026, 12, 7, 12, n, 0};
        app.receive.replayLine(line.substr(0, line.find('\r')));
    }

    const auto golden = data / "files";
    if (std::getenv("QUORVEL_UPDATE_GOLDEN")) {
        std::filesystem::remove_all(golden);
        std::filesystem::copy(tmp.path(), golden);
        return;
    }
    std::set<std::string> got, want;
    for (const auto& e : std::filesystem::directory_iterator(tmp.path()))
        got.insert(e.path().filename().string());
    for (const auto& e : std::filesystem::directory_iterator(golden))
        want.insert(e.path().filename().string());
    EXPECT_EQ(got, want);
    // The configuration now carries those records and the map pane's settings as well.
    const std::regex records("\"DETECTCOMPRESSED\",#FALSE#\r\n\"DETECTOBJECTS\",#FALSE#\r\n|"
                             "\"CREATEMAPFILE(GPX|KML|GEOJSON)\",#FALSE#\r\n|"
                             "\"MAP(PANE|PANEPLACE|TILES|TILEURL)\",[^\r]*\r\n");
    for (const auto& name : want) {
        SCOPED_TRACE(name);
        std::ostringstream before;
        before << std::ifstream(golden / name, std::ios::binary).rdbuf();
        const std::string mine = tmp.read(name);
        EXPECT_EQ(name == "quorvel.cfg" ? std::regex_replace(mine, records, "") : mine, before.str());
    }
    EXPECT_GT(n, 30);
}
