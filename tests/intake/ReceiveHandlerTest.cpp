// The receive path: line assembly from serial events, the telnet hand-over,
// the pause mark, read failures, the 4 KiB cut, and the replay file.
#include "intake/ReceiveHandler.h"
#include "core/Context.h"
#include "core/ErrorLog.h"
#include "core/Station.h"
#include "core/WorkDir.h"
#include "intake/ImportReplay.h"
#include "support/FakeSerialPort.h"
#include "support/Fakes.h"
#include "support/RecordingSteps.h"

#include <gtest/gtest.h>

using namespace qv;
using namespace qv::test;

namespace {

class Receive : public ::testing::Test {
protected:
    TempDir tmp;
    FakeClock clock;
    FakeUi ui;
    RecordingSteps steps;
    FakeSerialPort port;
    Station st;
    WorkDir dir{tmp.path()};
    ErrorLog log{dir, clock};
    Context ctx{st, dir, log, ui, clock, steps};
    ReceiveHandler handler{ctx};
    std::vector<std::string> classified; // dataline as the classifier saw it

    Receive() {
        ctx.serial = &port;
        port.onEvent = [this] { handler.MSComm1_OnComm(); };
        steps.hooks["inspectdataline"] = [this] { classified.push_back(st.report.dataline); };
    }
};

} // namespace

TEST_F(Receive, LinesAreAssembledAcrossEventsAndLineEnds) {
    struct Case {
        const char* name;
        std::vector<std::string> events;
        std::vector<std::string> lines;
    } cases[] = {
        {"CR LF", {"N0CALL>APRS:!4903.50N/07201.75W-\r\n"}, {"N0CALL>APRS:!4903.50N/07201.75W-\r"}},
        {"CR only", {"N0CALL>APRS:!4903.50N/07201.75W-\r"}, {"N0CALL>APRS:!4903.50N/07201.75W-\r"}},
        {"split", {"N0CALL>AP", "RS:!4903.50N/", "07201.75W-\r\n"}, {"N0CALL>APRS:!4903.50N/07201.75W-\r"}},
        {"LF only never completes", {"N0CALL>APRS:!4903.50N\n", "more\n"}, {}},
        {"two lines, one event", {"N0CALL>APRS:\r!4903.50N/07201.75W-\r"}, {"N0CALL>APRS:\r!4903.50N/07201.75W-\r"}},
        {"LF inside", {"N0CALL>\nAPRS:>hi\r"}, {"N0CALL>APRS:>hi\r"}},
    };
    for (const auto& c : cases) {
        classified.clear();
        st.report.dataline.clear();
        for (const auto& e : c.events)
            port.feedReceived(e);
        EXPECT_EQ(classified, c.lines) << c.name;
    }
}

TEST_F(Receive, HalfLineIsShownButNotClassified) {
    port.feedReceived("N0CALL>APRS:!4903");
    EXPECT_TRUE(classified.empty());
    EXPECT_EQ(st.report.incomingdata, "N0CALL>APRS:!4903");
    EXPECT_EQ(st.report.incomingdataBack, fromRgb(0x00FFFF));
    EXPECT_EQ(st.marks.PGMmessage, "COM DATA SEEN 9:05:42 AM");
    port.feedReceived(".50N/07201.75W-\r");
    ASSERT_EQ(classified.size(), 1u);
    EXPECT_EQ(st.report.dataline, "");
}

TEST_F(Receive, ControlCharactersAndLoneCrAreNotShown) {
    st.report.incomingdata = "previous";
    port.feedReceived("\r");
    EXPECT_EQ(st.report.incomingdata, "previous");
    port.feedReceived(std::string("\x01junk\r", 6));
    EXPECT_EQ(st.report.incomingdata, "previous");
    EXPECT_EQ(classified.size(), 2u);
}

TEST_F(Receive, PauseMarkKeepsCharactersInThePort) {
    st.marks.commTag = kStopComm;
    port.feedReceived("N0CALL>APRS:>x\r");
    EXPECT_TRUE(classified.empty());
    EXPECT_EQ(port.inBufferCount(), 15);
    st.marks.commTag = kStartComm;
    port.feedReceived("");
    EXPECT_EQ(classified, std::vector<std::string>{"N0CALL>APRS:>x\r"});
}

TEST_F(Receive, OtherEventsReadNothing) {
    port.buffer = {'a', '\r'};
    port.raise(SerialPort::Event::Send);
    EXPECT_TRUE(classified.empty());
    EXPECT_EQ(st.marks.PGMmessage, "COMM EVENT SEEN");
    EXPECT_EQ(port.inBufferCount(), 2);
}

TEST_F(Receive, TelnetLineIsClassifiedWithoutTouchingThePort) {
    port.buffer = {'x'};
    st.marks.telnetBusy = "1";
    st.report.dataline = "W1XYZ>APRS,TCPIP*,qAC,T2TEST:=4903.50N/07201.75W-\n";
    handler.MSComm1_OnComm();
    EXPECT_EQ(classified, std::vector<std::string>{"W1XYZ>APRS,TCPIP*,qAC,T2TEST:=4903.50N/07201.75W-\n"});
    EXPECT_EQ(st.report.incomingdataBack, fromRgb(0xFF80FF));
    EXPECT_EQ(port.inBufferCount(), 1);
}

TEST_F(Receive, ReadPastTheEndIsLoggedAndMarked) {
    port.event = SerialPort::Event::Receive; // an event with nothing buffered
    st.report.dataline = "N0CA";
    handler.MSComm1_OnComm();
    EXPECT_EQ(tmp.read(kErrorFile), "----------\r\nCom Err62 on char #: 0\r\n and dataline$: N0CA\r\n");
    EXPECT_EQ(st.display.callsignBack, fromRgb(0xFF0000));
    EXPECT_TRUE(classified.empty());
}

TEST_F(Receive, DebugLogTracesCompleteLines) {
    port.feedReceived("N0CALL>APRS:>one\r");
    st.marks.debugLog = true;
    port.feedReceived("N0CALL>APRS:>two\r");
    EXPECT_EQ(tmp.read(kDebugLogFile), "N0CALL>APRS:>two\r\n");
}

TEST_F(Receive, EndlessLineIsCutAt4KiBLoggedAndClassified) {
    port.feedReceived(std::string(10000, 'A'));
    ASSERT_EQ(classified.size(), 2u);
    EXPECT_EQ(classified[0], std::string(ReceiveHandler::kMaxLine, 'A'));
    EXPECT_EQ(st.report.dataline.size(), 10000 - 2 * ReceiveHandler::kMaxLine);
    const std::string errors = tmp.read(kErrorFile);
    EXPECT_NE(errors.find("ERROR  14Received line longer than 4096 characters cut there in SUB MSCOMM1_ONCOMM "),
              std::string::npos);
    EXPECT_NE(errors.find(" line began: " + std::string(80, 'A') + "\r\n"), std::string::npos);
    port.feedReceived("\r");
    EXPECT_EQ(classified.size(), 3u);
    EXPECT_EQ(st.report.dataline, "");
}

TEST_F(Receive, BinaryNoiseIsHandled) {
    std::string noise;
    for (int i = 0; i < 20000; ++i)
        noise.push_back(static_cast<char>((i * 7919) % 256));
    port.feedReceived(noise);
    port.feedReceived(std::string("\0\0\0\r", 4));
    EXPECT_FALSE(classified.empty());
    for (const auto& l : classified) {
        EXPECT_LE(l.size(), ReceiveHandler::kMaxLine + 1);
        EXPECT_EQ(l.find('\n'), std::string::npos);
    }
}

TEST_F(Receive, EventDuringClassificationWaitsForTheLineInHand) {
    bool fed = false;
    steps.hooks["inspectdataline"] = [&] {
        classified.push_back(st.report.dataline);
        if (!fed) {
            fed = true;
            port.feedReceived("K1ABC>APRS:>second\r"); // arrives while the first is classified
            EXPECT_EQ(st.report.dataline, "N0CALL>APRS:>first\r");
        }
    };
    port.feedReceived("N0CALL>APRS:>first\r");
    EXPECT_EQ(classified, (std::vector<std::string>{"N0CALL>APRS:>first\r", "K1ABC>APRS:>second\r"}));
}

TEST_F(Receive, ReplayClassifiesEveryLineWhateverThePortDid) {
    port.event = SerialPort::Event::Error;
    st.marks.commTag = kStopComm; // nothing to wait for: the replay is not the port
    tmp.write("quorvel.imp", "N0CALL>APRS:>one\r\nK1ABC>APRS:>two\nW1XYZ>APRS:>three\r\r\nlast line");
    ImportReplay replay(ctx, handler);
    ASSERT_TRUE(replay.run());
    EXPECT_EQ(classified, (std::vector<std::string>{"N0CALL>APRS:>one\n", "K1ABC>APRS:>two\n", "W1XYZ>APRS:>three\n",
                                                    "\n", "last line\n"}));
    EXPECT_EQ(replay.linesReplayed(), 5u);
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].title, "QUORVEL IMPORT NOTICE");
    EXPECT_EQ(ui.messages[0].text, "Quorvel has completed the import of the QUORVEL.IMP file.");
}

TEST_F(Receive, ReplayCutsEndlessLinesAndReportsAMissingFile) {
    ImportReplay replay(ctx, handler);
    EXPECT_FALSE(replay.run());
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_NE(tmp.read(kErrorFile).find("ERROR  53File not found in SUB FORMLOAD "), std::string::npos);

    tmp.write("QUORVEL.IMP", std::string(9000, 'x') + "\r\n");
    ASSERT_TRUE(replay.run());
    ASSERT_EQ(classified.size(), 3u);
    EXPECT_EQ(classified[0].size(), ReceiveHandler::kMaxLine + 1);
    EXPECT_EQ(classified[2], std::string(9000 - 2 * ReceiveHandler::kMaxLine, 'x') + "\n");
}
