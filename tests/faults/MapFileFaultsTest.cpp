// The headless import against a working directory where one map file is a
// directory and another lies on a full disk: every other file still gets
// every record, the run goes to its end, and each failing write leaves an
// entry in quorvel.err. The archive refuses a `data` that is a file, and
// keeps the map files where they are.
#include "shell/App.h"
#include "support/Fakes.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

namespace fs = std::filesystem;
using namespace qv;
using namespace qv::test;

namespace {

int count(const std::string& text, const std::string& what) {
    int n = 0;
    for (auto at = text.find(what); at != std::string::npos; at = text.find(what, at + 1))
        ++n;
    return n;
}

// Two tracked stations and every family on, saved the way the program saves it.
void writeSettings(const fs::path& dir) {
    FakeClock clock;
    FakeUi ui;
    App app(dir, ui, clock);
    app.st.link.comport = "0";
    app.st.tracking.autoassigncheckbox = false;
    app.st.slots[1].CallsignID = "W7TRK-9";
    app.st.slots[1].track = true;
    app.st.slots[2].CallsignID = "KF7ODF";
    app.st.slots[2].track = true;
    auto& m = app.st.map;
    m.menucreatemaptechfiles = m.menucreatestreetatlasfiles = m.menucreatenatgeotopofiles = true;
    m.menucreateozifiles = m.menucreatenatgeotopoNowCallfile = m.ODFcheckbox = true;
    app.savesettings();
}

const char* kFeed = "W7TRK-9>APRS,WIDE1-1:!4531.39N/12240.59W>mobile\r\n"
                    "N7UNT>APRS,WIDE2-1:!4524.00N/12218.00W-home\r\n"
                    "KF7ODF>APRS:!4403.49N/12118.92W>engine\r\n"
                    "W7TRK-9>APRS,WIDE1-1:!4531.44N/12240.21W>mobile\r\n"
                    "KF7ODF>APRS:=4403.55N/12118.80W>engine\r\n"
                    "W7TRK-9>APRS,WIDE1-1:!4531.50N/12240.10W>mobile\r\n";
constexpr int kTracked = 5;

} // namespace

TEST(MapFileFaults, UnopenableAndFullFilesCostOnlyTheirOwnRecords) {
    if (!fs::exists("/dev/full")) GTEST_SKIP() << "no /dev/full";
    TempDir tmp;
    writeSettings(tmp.path());
    tmp.write("quorvel.imp", kFeed);
    fs::create_directory(tmp.path() / "quorvel.wpt");
    fs::create_symlink("/dev/full", tmp.path() / "quorvel.olt");

    const std::string cmd = std::string("'") + QUORVEL_BINARY + "' --headless --workdir '" + tmp.path().string() +
                            "' import >'" + (tmp.path() / "out.txt").string() + "' 2>&1";
    ASSERT_EQ(std::system(cmd.c_str()), 0) << tmp.read("out.txt");
    EXPECT_NE(tmp.read("out.txt").find("Replayed 6 lines"), std::string::npos) << tmp.read("out.txt");

    // Every other family holds every tracked report.
    for (const char* f :
         {"quorvel.mxf", "quorvelhistory.mxf", "quorvel.rxf", "quorvelhistory.rxf", "quorvel.txf", "quorvelSA5.txt"}) {
        SCOPED_TRACE(f);
        EXPECT_EQ(count(tmp.read(f), "\r\n"), kTracked);
    }
    EXPECT_EQ(count(tmp.read("quorvelID1.plt"), "\r\n") + count(tmp.read("quorvelID2.plt"), "\r\n"), 2 * 6 + kTracked);
    EXPECT_TRUE(fs::is_directory(tmp.path() / "quorvel.wpt"));

    // One entry per failed write, each naming the file step and the cause.
    const std::string err = tmp.read("quorvel.err");
    EXPECT_EQ(count(err, "ERROR  75"), kTracked) << err;
    EXPECT_EQ(count(err, "ERROR  61"), kTracked) << err;
    EXPECT_EQ(count(err, " in SUB SAVEFILES "), 2 * kTracked) << err;
}

TEST(MapFileFaults, ArchiveIntoADataPathThatIsAFileMovesNothing) {
    TempDir tmp;
    FakeClock clock;
    FakeUi ui;
    App app(tmp.path(), ui, clock);
    app.st.link.comport = "0";
    app.st.tracking.autoassigncheckbox = false;
    app.st.slots[1].CallsignID = "W7TRK-9";
    app.st.slots[1].track = true;
    app.st.map.menucreatemaptechfiles = true;
    for (const char* l : {"W7TRK-9>APRS:!4531.39N/12240.59W>", "W7TRK-9>APRS:!4531.44N/12240.21W>"}) {
        ++clock.t.minute;
        app.receive.replayLine(l);
    }
    const std::string mxf = tmp.read("quorvel.mxf"), wpt = tmp.read("quorvel.wpt");
    ASSERT_EQ(count(mxf, "\r\n"), 2);
    tmp.write("data", "not a directory\r\n");

    app.exportarchive_Click();

    EXPECT_EQ(tmp.read("data"), "not a directory\r\n");
    EXPECT_EQ(tmp.read("quorvel.mxf"), mxf);
    EXPECT_EQ(tmp.read("quorvel.wpt"), wpt);
    EXPECT_NE(tmp.read("quorvel.err").find(" in SUB EXPORTARCHIVECLICK "), std::string::npos)
        << tmp.read("quorvel.err");
    // Said as it is, and the data still counts as new.
    EXPECT_EQ(app.st.marks.PGMmessage.rfind("NOT archived: quorvel.txf", 0), 0u) << app.st.marks.PGMmessage;
    EXPECT_TRUE(app.st.marks.exportarchiveVisible);
    // The files go on growing after the failed archive.
    ++clock.t.minute;
    app.receive.replayLine("W7TRK-9>APRS:!4531.50N/12240.10W>");
    EXPECT_EQ(count(tmp.read("quorvel.mxf"), "\r\n"), 3);
}

// Station names no record can hold, as hostile traffic or a garbled chunk
// brings them: none takes a slot or reaches a file; a good line after them does.
TEST(MapFileFaults, HostileStationNamesTakeNoSlotAndWriteNothing) {
    TempDir tmp;
    FakeClock clock;
    FakeUi ui;
    App app(tmp.path(), ui, clock);
    app.st.link.comport = "0";
    app.st.tracking.autoassigncheckbox = true;
    for (int n = 1; n <= 8; ++n)
        app.st.slots[n].track = true;
    auto& m = app.st.map;
    m.menucreatemaptechfiles = m.menucreatestreetatlasfiles = m.menucreatenatgeotopofiles = true;
    m.menucreatenatgeotopoNowCallfile = m.ODFcheckbox = true;
    const SlotState before = app.st.slots;
    const char* hostile[] = {
        "N0\rCALL>APRS:!4531.39N/12240.59W>",
        "N0,CAL>APRS:!4531.39N/12240.59W>",
        "N0\"CAL>APRS:!4531.39N/12240.59W>",
        "W1\x1b]0;x\x07>APRS:!4531.39N/12240.59W>",
        "N0CALL>APRS,TCPIP*:}W1,X>APRS:!4531.39N/12240.59W>",
        "$GPWGT,1,4531.39,N,12240.59,W,0,0,0,\"A,B\"",
        "$GPWPL,4531.39,N,12240.59,W,CAMP\"2*11",
    };
    for (const char* l : hostile)
        app.receive.replayLine(l);
    for (int n = 1; n <= 8; ++n)
        EXPECT_EQ(app.st.slots[n].CallsignID, before[n].CallsignID) << n;
    for (const auto& e : fs::directory_iterator(tmp.path()))
        EXPECT_TRUE(e.path().filename() == "quorvel.err") << e.path().filename();
    EXPECT_EQ(count(tmp.read("quorvel.err"), "Invalid station ID, line dropped"), 7);

    app.receive.replayLine("W7TRK-9>APRS:!4531.39N/12240.59W>");
    EXPECT_EQ(app.st.slots[1].CallsignID, "W7TRK-9");
    EXPECT_EQ(count(tmp.read("quorvel.mxf"), "\r\n"), 1);
}
