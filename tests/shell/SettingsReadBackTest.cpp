// A configuration file read at start-up, saved, and read again gives the same
// settings, whatever order the file named them in. (Found by fuzzing: the
// display type written before the Ozi live switch, and an unknown map type
// after it, were lost on reading back.)
#include "shell/App.h"
#include "shell/Settings.h"
#include "support/Fakes.h"

#include <gtest/gtest.h>

using namespace qv;
using namespace qv::test;

namespace {

std::string loadAndSave(const TempDir& tmp, const std::string& cfg) {
    tmp.write("quorvel.cfg", cfg);
    FakeClock clock;
    FakeUi ui;
    App app(tmp.path(), ui, clock);
    app.settings.getsettings();
    return configText(app.st);
}

} // namespace

TEST(SettingsReadBack, DisplayTypeSurvivesTheMapProgramChosenAfterIt) {
    const std::string legacy = "QUORVEL CONFIGURATION SETTINGS\r\n3.0\r\n0\r\n\r\nN0CALL\r\n\r\n\r\n\r\n1\r\n0\r\n0\r\n"
                               "0\r\n1\r\n15\r\nPROimport\r\nNEW_CONFIG_FORMAT_BELOW\r\n";
    struct Case {
        const char* keys;
        const char* display;
    } cases[] = {
        {"\"LIVEPOSTOZI\",#TRUE#\r\n\"MAPDATAFORMAT\",\"OptionMapPostbyTRACK\"\r\n", "OptionMapPostbyTRACK"},
        {"\"MAPDATAFORMAT\",\"OptionMapPostbyTRACK\"\r\n\"LIVEPOSTOZI\",#TRUE#\r\n", "OptionMapPostbyTRACK"},
        {"\"MAPTYPE\",\"streetatlas50\"\r\n\"MAPDATAFORMAT\",\"OptionMapPostbyTRACKwLines\"\r\n",
         "OptionMapPostbyTRACKwLines"},
        // A display type the program does not know, after one it knows.
        {"\"MAPDATAFORMAT\",\"OptionMapPostbyTRACKwLines\"\r\n\"MAPDATAFORMAT\",\"nonsense\"\r\n",
         "OptionMapPostbyTRACKwLines"},
        // An unknown map type after the Ozi live switch.
        {"\"LIVEPOSTOZI\",#TRUE#\r\n\"MAPTYPE\",\"nonsense\"\r\n", "OptionMapPostOnlyCurrent"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.keys);
        TempDir tmp;
        const std::string first = loadAndSave(tmp, legacy + c.keys);
        EXPECT_NE(first.find(std::string("\"MAPDATAFORMAT\",\"") + c.display + "\""), std::string::npos) << first;
        EXPECT_EQ(loadAndSave(tmp, first), first);
    }
}
