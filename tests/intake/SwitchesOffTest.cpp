// With "Detect compressed" and "Detect objects/items" off, a mixed feed of
// every report kind (compressed reports, objects and items among them) leaves
// exactly the files the program left before either switch existed. The golden
// copies under tests/data/switchesoff/files were written by that earlier
// program running this same test (it ignores the two settings records);
// QUORVEL_UPDATE_GOLDEN=1 rewrites them.
#include "shell/App.h"
#include "support/Fakes.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>
#include <string>

using namespace qv;
using namespace qv::test;

namespace {

const std::filesystem::path kData = std::filesystem::path(QUORVEL_TEST_DATA) / "switchesoff";

std::string slurp(const std::filesystem::path& p) {
    std::ifstream in(p, std::ios::binary);
    std::ostringstream ss;
    ss << in.rdbuf();
    return ss.str();
}

// Every slot tracked, auto-assignment on, every family on, both switches off.
const char* kConfig = "QUORVEL CONFIGURATION SETTINGS. Do not change unless you know what you are doing!\r\n"
                      "2.0\r\n0\r\nquorvel.mxf\r\nCALL ID-1\r\nCALL ID-2\r\nCALL ID-3\r\nCALL ID-4\r\n"
                      "1\r\n1\r\n1\r\n1\r\n1\r\n60\r\nStdimport\r\nNEW_CONFIG_FORMAT_BELOW\r\n"
                      "\"MAPTYPE\",\"maptechSTD\"\r\n"
                      "\"ODFSPOTFIRESCREATEFILE\",1\r\n"
                      "\"CREATEMAPFILENATGEOTOPONOW\",#TRUE#\r\n\"CREATEMAPFILESTREETATLAS\",#TRUE#\r\n"
                      "\"CREATEMAPFILEMAPTECH\",#TRUE#\r\n\"CREATEMAPFILENATGEOTOPO\",#TRUE#\r\n"
                      "\"TRACKCALLID5\",1\r\n\"TRACKCALLID6\",1\r\n\"TRACKCALLID7\",1\r\n\"TRACKCALLID8\",1\r\n"
                      "\"DETECTCOMPRESSED\",#FALSE#\r\n\"DETECTOBJECTS\",#FALSE#\r\n";

// The two records the earlier program did not write.
std::string withoutNewRecords(const std::string& cfg) {
    std::string out;
    std::istringstream in(cfg);
    for (std::string line; std::getline(in, line);)
        if (line.rfind("\"DETECTCOMPRESSED\"", 0) != 0 && line.rfind("\"DETECTOBJECTS\"", 0) != 0) out += line + "\n";
    return out;
}

} // namespace

TEST(SwitchesOff, MixedFeedLeavesTheFilesOfBefore) {
    TempDir tmp;
    FakeClock clock;
    FakeUi ui;
    tmp.write("quorvel.cfg", kConfig);
    App app(tmp.path(), ui, clock);
    app.settings.getsettings();
    app.st.marks.windowVisible = false;

    std::ifstream feed(kData / "feed.imp", std::ios::binary);
    int n = 0;
    for (std::string line; std::getline(feed, line); ++n) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        clock.t = {2026, 12, 7, 12, n, 0};
        app.receive.replayLine(line);
    }
    ASSERT_GT(n, 30);

    const auto golden = kData / "files";
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
    for (const auto& name : want) {
        SCOPED_TRACE(name);
        const std::string mine = tmp.read(name), before = slurp(golden / name);
        if (name == "quorvel.cfg") {
            EXPECT_NE(mine.find("\"DETECTCOMPRESSED\",#FALSE#\r\n\"DETECTOBJECTS\",#FALSE#"), std::string::npos);
            EXPECT_EQ(withoutNewRecords(mine), withoutNewRecords(before));
        } else
            EXPECT_EQ(mine, before);
    }
}
