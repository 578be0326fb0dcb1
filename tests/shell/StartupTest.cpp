// Start-up on an empty directory and on a configured one, the command line
// switches, the replay, and ending.
#include "core/Station.h"
#include "shell/App.h"
#include "support/FakeSerialPort.h"
#include "support/Fakes.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace qv::test {
namespace {

struct StartRig {
    explicit StartRig(const TempDir& tmp) : app(tmp.path(), ui, clock) { app.attachSerial(&port); }
    FakeClock clock;
    FakeUi ui;
    FakeSerialPort port;
    App app;
};

TEST(Startup, FirstStartOnAnEmptyDirectoryUsesDesignValuesAndDefaultPaths) {
    TempDir tmp;
    std::string err;
    for (int i = 0; i < 3000; ++i)
        err += "line " + std::to_string(i) + "\r\n";
    tmp.write("quorvel.err", err);
    StartRig r(tmp);
    r.ui.inputs.push_back("/dev/ttyUSB3");
    r.app.startup.Form_Load();
    const auto& st = r.app.st;
    const std::string here = std::filesystem::absolute(tmp.path()).lexically_normal().string() + "/";
    EXPECT_EQ(st.map.importPathMapTech, here + "quorvel.mxf");
    EXPECT_EQ(st.map.importPathStreetAtlas, here + "quorvelSA5now.txt");
    EXPECT_EQ(st.map.importPathNatGeoTopo, here + "quorvelNGTOPO.txt");
    EXPECT_EQ(st.tracking.overdue, "60");
    EXPECT_EQ(st.slots[3].CallsignID, "CALL ID-3");
    EXPECT_EQ(st.slots[8].Teamname, "Tac8");
    EXPECT_EQ(st.telnet.port, 14580);
    // Port 1 is asked for; the answer is opened, greeted and kept.
    ASSERT_EQ(r.ui.prompts.size(), 1u);
    EXPECT_TRUE(r.port.opened);
    EXPECT_EQ(r.port.portName, "/dev/ttyUSB3");
    EXPECT_EQ(r.port.written, "QUORVEL is ONLINE\r");
    EXPECT_NE(tmp.read("quorvel.cfg").find("\"COMPORT\",\"/dev/ttyUSB3\""), std::string::npos);
    EXPECT_EQ(splitLines(tmp.read("quorvel.err")).size(), 1001u);
    EXPECT_FALSE(st.marks.exportarchiveVisible);
    EXPECT_FALSE(r.app.startup.ended());
}

TEST(Startup, ConfiguredPortZeroStaysClosedWithButtonsHidden) {
    TempDir tmp;
    std::filesystem::copy_file(std::filesystem::path(QUORVEL_SOURCE_DIR) / "examples" / "quorvel.cfg",
                               tmp.path() / "quorvel.cfg");
    tmp.write("quorvel.mxf", "x\r\n");
    tmp.write("QUORVEL.HLP", "help");
    StartRig r(tmp);
    r.app.startup.Form_Load();
    const auto& st = r.app.st;
    EXPECT_TRUE(r.ui.prompts.empty());
    EXPECT_TRUE(r.ui.messages.empty());
    EXPECT_FALSE(r.port.opened);
    EXPECT_FALSE(st.link.portButtonsVisible);
    EXPECT_EQ(st.marks.PGMmessage, "<<< NOTICE >>> COM PORT CLOSED!!!");
    EXPECT_EQ(st.slots[1].CallsignID, "KD7QRV-9");
    // The sample leaves the import file to the working directory it is copied into.
    EXPECT_EQ(st.map.importPathMapTech, (tmp.path() / "quorvel.mxf").string());
    EXPECT_TRUE(st.marks.exportarchiveVisible);
    EXPECT_FALSE(st.cfg.helpFile.empty());
}

TEST(Startup, CommandLineTelnetStartAndSingleReplay) {
    for (const std::string cl : {"t", "T"}) {
        TempDir tmp;
        tmp.write("quorvel.cfg", "QUORVEL CONFIGURATION SETTINGS. Do not change unless you know what you are doing!\r\n"
                                 "2.0\r\n0\r\n");
        StartRig r(tmp);
        r.app.st.map.commandLine = cl;
        r.app.startup.Form_Load();
        EXPECT_EQ(r.app.st.telnet.startMode, "NORELOAD");
        EXPECT_TRUE(r.app.st.telnet.labelVisible);
        EXPECT_EQ(r.app.st.marks.PGMmessage, "TelnetConnecting");
    }
    TempDir tmp;
    tmp.write("quorvel.cfg", "QUORVEL CONFIGURATION SETTINGS. Do not change unless you know what you are doing!\r\n"
                             "2.0\r\n0\r\n");
    tmp.write("quorvel.imp", "N0CALL>APRS:!4903.50N/07201.75W-one\r\nW1AW>APRS:!4903.50N/07201.75W-two\n");
    StartRig r(tmp);
    r.app.st.map.commandLine = "import";
    r.app.startup.Form_Load();
    EXPECT_EQ(r.app.startup.linesReplayed(), 2u);
    // The telnet connect command runs start-up again; the feed is not replayed twice.
    r.app.startup.Form_Load();
    EXPECT_EQ(r.app.startup.linesReplayed(), 2u);
    int notices = 0;
    for (const auto& m : r.ui.messages)
        notices += m.title == "QUORVEL IMPORT NOTICE";
    EXPECT_EQ(notices, 1);
}

TEST(Startup, OutdatedConfigurationIsDeletedAndStartUpRunsOnce) {
    TempDir tmp;
    tmp.write("quorvel.cfg", "QUORVEL CONFIGURATION SETTINGS. Do not change unless you know what you are doing!\r\n"
                             "5\r\n2\r\n");
    StartRig r(tmp);
    r.app.startup.Form_Load();
    // Asked once to delete; the rerun then asks for the port once (design value 1).
    EXPECT_EQ(r.ui.prompts.size(), 1u);
    EXPECT_EQ(r.port.written, "QUORVEL is ONLINE\r");
    EXPECT_NE(tmp.read("quorvel.cfg").find("\"COMPORT\",1"), std::string::npos);
}

TEST(Startup, EndingAsksOnlyAtTheExitButton) {
    TempDir tmp;
    StartRig r(tmp);
    int ends = 0;
    r.app.startup.onEnd = [&] { ++ends; };
    r.port.opened = true;
    r.ui.answers.push_back(Answer::Cancel);
    r.app.startup.exitbutton_Click();
    EXPECT_EQ(ends, 0);
    EXPECT_EQ(r.ui.messages.at(0).text, "Are you sure you want to EXIT THE QUORVEL PROGRAM?");
    r.app.startup.exitbutton_Click(); // OK by default
    EXPECT_EQ(ends, 1);
    EXPECT_FALSE(r.port.opened); // the port is handed back
    r.app.startup.exit_Click();
    EXPECT_EQ(ends, 1);
    // Declining to name a port ends the program before the rest of start-up.
    TempDir empty;
    StartRig d(empty);
    d.ui.inputs.push_back("");
    d.app.st.map.commandLine = "t";
    d.app.startup.Form_Load();
    EXPECT_TRUE(d.app.startup.ended());
    EXPECT_NE(d.app.st.telnet.startMode, "NORELOAD");
}

} // namespace
} // namespace qv::test
