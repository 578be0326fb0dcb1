// The APRS-IS client against a small APRS-IS server on 127.0.0.1.
#include "intake/TelnetClient.h"
#include "core/Context.h"
#include "core/ErrorLog.h"
#include "core/Station.h"
#include "core/Steps.h"
#include "core/Version.h"
#include "core/WorkDir.h"
#include "platform/QtTcpSocket.h"
#include "support/FakeTimer.h"
#include "support/Fakes.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTcpServer>
#include <QTcpSocket>

#include <gtest/gtest.h>

#include <functional>
#include <memory>

namespace qv::test {
namespace {

QCoreApplication& qtApp() {
    static int argc = 1;
    static char name[] = "test_aprsis";
    static char* argv[] = {name, nullptr};
    static QCoreApplication app(argc, argv);
    return app;
}

// Runs the event loop until `done` holds; false when it never did.
bool runUntil(const std::function<bool()>& done, int limitMs = 5000) {
    QElapsedTimer t;
    t.start();
    while (!done()) {
        if (t.elapsed() > limitMs) return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    }
    return true;
}

void runFor(int ms) {
    QElapsedTimer t;
    t.start();
    while (t.elapsed() < ms)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
}

// Records every line the receive handler is given. Its refresh lets pending
// events run, as the window's does, to show that no second line starts meanwhile.
struct RecordingSteps final : Steps {
    Station* st = nullptr;
    std::vector<std::string> lines;
    std::vector<std::string> busyFlags;
    int depth = 0, deepest = 0;
    int formLoads = 0, saves = 0;

    void MSComm1_OnComm() override {
        ++depth;
        deepest = std::max(deepest, depth);
        lines.push_back(st->report.dataline);
        busyFlags.push_back(st->marks.telnetBusy);
        QCoreApplication::processEvents();
        --depth;
    }
    void Form_Load() override { ++formLoads; }
    void savesettings() override { ++saves; }
};

// One APRS-IS server that accepts a single client and keeps what it sent.
struct Server {
    QTcpServer server;
    QTcpSocket* peer = nullptr;
    std::string received;

    Server() {
        server.listen(QHostAddress::LocalHost, 0);
        QObject::connect(&server, &QTcpServer::newConnection, [this] {
            peer = server.nextPendingConnection();
            QObject::connect(peer, &QTcpSocket::readyRead, [this] { received += peer->readAll().toStdString(); });
        });
    }
    int port() const { return server.serverPort(); }
    void send(const std::string& s) {
        peer->write(s.data(), static_cast<qint64>(s.size()));
        peer->flush();
    }
};

class TelnetClientTest : public ::testing::Test {
protected:
    TelnetClientTest() {
        qtApp();
        steps.st = &st;
        ctx.socket = &socket;
        ctx.timer3 = &timer3;
        client.attach();
        st.telnet.address = "127.0.0.1";
        st.telnet.port = server.port();
        st.telnet.loginName = "N0CALL";
        st.telnet.password = "12345";
        st.telnet.serverCommand = "filter r/45.5/-122.6/50";
    }

    ~TelnetClientTest() override { client.detach(); }

    // Connects, logs in and waits for the server to have the login line.
    void connect() {
        client.TelnetActivate_Click();
        ASSERT_TRUE(runUntil([&] { return !server.received.empty(); }));
    }
    bool waitLines(std::size_t n) {
        return runUntil([&] { return steps.lines.size() >= n; });
    }

    TempDir tmp;
    WorkDir dir{tmp.path()};
    FakeClock clock;
    FakeUi ui;
    ErrorLog log{dir, clock};
    Station st;
    RecordingSteps steps;
    Context ctx{st, dir, log, ui, clock, steps};
    FakeTimer timer3;
    QtTcpSocket socket;
    Server server;
    TelnetClient client{ctx};
};

TEST(VersionTest, TextAndConfigurationNumberComeFromTheBuild) {
    EXPECT_EQ(version::text(), "V" + std::to_string(QUORVEL_VERSION_MAJOR) + "." +
                                   std::to_string(QUORVEL_VERSION_MINOR) + "." + std::to_string(QUORVEL_VERSION_PATCH));
    EXPECT_EQ(version::QVVERSION, QUORVEL_VERSION_MAJOR * 10000 + QUORVEL_VERSION_MINOR * 100 + QUORVEL_VERSION_PATCH);
}

TEST_F(TelnetClientTest, LogsInWithOneLineByteForByte) {
    const std::string v = version::text();
    struct Case {
        std::string name, password, command, expected;
    } cases[] = {
        {"N0CALL", "12345", "filter r/45.5/-122.6/50",
         "user N0CALL pass 12345 vers Quorvel " + v + " filter r/45.5/-122.6/50\n"},
        {"N0CALL", "", "filter a/65/-175/41/-104",
         "user N0CALL pass  vers Quorvel " + v + " filter a/65/-175/41/-104\n"},
        {"none", "-1", "", "user none pass -1 vers Quorvel " + v + " \n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.expected);
        Server srv;
        st.telnet.port = srv.port();
        st.telnet.loginName = c.name;
        st.telnet.password = c.password;
        st.telnet.serverCommand = c.command;
        client.TelnetActivate_Click();
        EXPECT_EQ(st.telnet.labelCaption, kTelnetAttempting);
        EXPECT_TRUE(timer3.isEnabled());
        ASSERT_TRUE(runUntil([&] { return srv.received.find('\n') != std::string::npos; }));
        EXPECT_EQ(srv.received, c.expected);
        EXPECT_FALSE(timer3.isEnabled());
        EXPECT_EQ(st.telnet.labelCaption, "Telnet ON @ 127.0.0.1 as " + c.name + " <DblClick to stop>");
        client.TelnetActiveLabel_DblClick();
    }
    EXPECT_EQ(timer3.interval(), 30000);
    EXPECT_EQ(st.telnet.startMode, "t");
    EXPECT_EQ(steps.formLoads, 3);
}

TEST_F(TelnetClientTest, HandsOverEveryLineInOrderOneAtATime) {
    connect();
    // One packet with four lines; the server sends nothing after it, so the
    // later lines must not wait for more data.
    server.send("# aprsc 2.1\r\nN0CALL>APRS,TCPIP*:!4530.00N/12236.00W-\r\nK1ABC>APRS:>status\r\nno cr\n");
    ASSERT_TRUE(waitLines(4));
    EXPECT_EQ(steps.lines, (std::vector<std::string>{"# aprsc 2.1\r", "N0CALL>APRS,TCPIP*:!4530.00N/12236.00W-\r",
                                                     "K1ABC>APRS:>status\r", "no cr"}));
    EXPECT_EQ(steps.busyFlags, (std::vector<std::string>(4, "1")));
    EXPECT_EQ(steps.deepest, 1);
    EXPECT_EQ(st.marks.telnetBusy, "0");
    EXPECT_EQ(st.telnet.telnetline, "");
}

TEST_F(TelnetClientTest, CollectsALineSplitOverPackets) {
    connect();
    server.send("N0CALL>APRS:!45");
    ASSERT_TRUE(runUntil([&] { return st.telnet.telnetline == "N0CALL>APRS:!45"; }));
    server.send("30.00N/12236.00W-\r");
    ASSERT_TRUE(runUntil([&] { return st.telnet.telnetline.size() > 15; }));
    EXPECT_TRUE(steps.lines.empty());
    server.send("\nK1ABC>APRS:>x\r\n");
    ASSERT_TRUE(waitLines(2));
    EXPECT_EQ(steps.lines, (std::vector<std::string>{"N0CALL>APRS:!4530.00N/12236.00W-\r", "K1ABC>APRS:>x\r"}));
}

TEST_F(TelnetClientTest, ServerClosingMidLineShowsClosedAtOnceAndKeepsWhatCame) {
    connect();
    const int beeps = ui.beeps;
    server.send("L1\r\nL2\r\nHALF A LI");
    server.peer->disconnectFromHost();
    ASSERT_TRUE(waitLines(3));
    EXPECT_EQ(steps.lines, (std::vector<std::string>{"L1\r", "L2\r", "HALF A LI"}));
    EXPECT_EQ(st.telnet.labelCaption, kTelnetClosed);
    EXPECT_EQ(ui.beeps, beeps + 1);
    EXPECT_TRUE(ui.messages.empty());
    // A new session does not start with the old one's leftovers.
    client.TelnetActivate_Click();
    EXPECT_EQ(st.telnet.telnetline, "");
}

TEST_F(TelnetClientTest, RefusedConnectionTellsTheUserAndClosesWithoutLoggingThePassword) {
    st.telnet.password = "s3cr3tpass";
    st.marks.debugLog = true;
    server.server.close(); // nobody listens there any more
    client.TelnetActivate_Click();
    ASSERT_TRUE(runUntil([&] { return !ui.messages.empty(); }));
    EXPECT_EQ(ui.messages[0].title, "QUORVEL ERROR NOTICE: 40006");
    EXPECT_EQ(ui.messages[0].text,
              "Quorvel cannot connect. Check your Server ADDRESS and PORT settings... or try again later.");
    EXPECT_EQ(st.telnet.labelCaption, kTelnetClosed);
    EXPECT_FALSE(timer3.isEnabled());
    EXPECT_GE(ui.beeps, 1);
    EXPECT_EQ(tmp.read("quorvel.err").find("s3cr3tpass"), std::string::npos);
    EXPECT_EQ(tmp.read("quorvel.log").find("s3cr3tpass"), std::string::npos);
}

TEST_F(TelnetClientTest, ConnectTimeoutClosesTheAttempt) {
    client.TelnetActivate_Click();
    ASSERT_TRUE(timer3.isEnabled());
    timer3.fire(); // before the event loop could complete the connection
    EXPECT_EQ(st.telnet.labelCaption, "Telnet FAILED @ 127.0.0.1");
    EXPECT_FALSE(timer3.isEnabled());
    EXPECT_EQ(ui.beeps, 1);
    EXPECT_EQ(socket.state(), TcpSocket::State::Closed);
    runFor(200);
    EXPECT_EQ(server.received, "");
    EXPECT_EQ(st.telnet.labelCaption, "Telnet FAILED @ 127.0.0.1");
}

TEST_F(TelnetClientTest, ConnectAndSetupAreRefusedWhileConnected) {
    connect();
    client.TelnetActivate_Click();
    client.telnetsetup_Click();
    ASSERT_EQ(ui.messages.size(), 2u);
    EXPECT_EQ(ui.messages[0].title, "TELNET ALREADY CONNECTED");
    EXPECT_EQ(ui.messages[0].text, "You must disconnect from your current telnet session before you can reconnect");
    EXPECT_EQ(ui.messages[1].text,
              "You must disconnect from your current telnet session before you can change the address.");
    EXPECT_TRUE(ui.prompts.empty());
    EXPECT_EQ(steps.formLoads, 1);
    EXPECT_TRUE(client.connected());
}

TEST_F(TelnetClientTest, DisconnectClosesAndShowsThePortButtons) {
    connect();
    st.link.portButtonsVisible = false;
    bool gone = false;
    QObject::connect(server.peer, &QTcpSocket::disconnected, [&] { gone = true; });
    client.stoptelnetconnection_Click();
    EXPECT_EQ(st.telnet.labelCaption, kTelnetClosed);
    EXPECT_TRUE(st.link.portButtonsVisible);
    EXPECT_TRUE(runUntil([&] { return gone; }));
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(TelnetClientTest, OverlongLineIsCutClassifiedAndLoggedOnce) {
    connect();
    server.send(std::string(5000, 'x') + "\r\nK1ABC>APRS:>ok\r\n");
    ASSERT_TRUE(waitLines(3));
    // The cut part is complete, the rest is a line of its own.
    EXPECT_EQ(steps.lines[0], std::string(TelnetClient::kMaxLine, 'x') + "\r");
    EXPECT_EQ(steps.lines[1], std::string(5000 - TelnetClient::kMaxLine, 'x') + "\r");
    EXPECT_EQ(steps.lines[2], "K1ABC>APRS:>ok\r");
    const std::string errors = tmp.read("quorvel.err");
    EXPECT_NE(errors.find("Received line longer than 4096 characters cut there in SUB MSCOMM1_ONCOMM "),
              std::string::npos);
    EXPECT_EQ(errors.find("cut", errors.find("cut") + 1), std::string::npos);
}

TEST_F(TelnetClientTest, LinesWaitWhileTheReceivePathIsHeld) {
    connect();
    struct Case {
        const char* what;
        std::function<void(bool)> hold;
    } cases[] = {
        {"receive-pause mark", [&](bool on) { st.marks.commTag = on ? kStopComm : kStartComm; }},
        {"serial line being classified", [&](bool on) { st.marks.receiving = on; }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        steps.lines.clear();
        c.hold(true);
        server.send("L1\r\nL2\r\n");
        runFor(200);
        EXPECT_TRUE(steps.lines.empty());
        c.hold(false);
        // Nothing more comes from the server: the held lines go on by themselves.
        ASSERT_TRUE(waitLines(2));
        EXPECT_EQ(steps.lines, (std::vector<std::string>{"L1\r", "L2\r"}));
    }
}

TEST_F(TelnetClientTest, TncLineBeingReceivedSurvivesATelnetLine) {
    connect();
    st.report.dataline = "W7TRK-9>APRS:!4530.";
    server.send("K1ABC>APRS:>x\r\n");
    ASSERT_TRUE(waitLines(1));
    EXPECT_EQ(steps.lines[0], "K1ABC>APRS:>x\r");
    EXPECT_EQ(st.report.dataline, "W7TRK-9>APRS:!4530.");
}

TEST_F(TelnetClientTest, SetupQuestionsKeepOrEmptyOnCancel) {
    struct Case {
        const char* what;
        std::vector<std::string> answers;
        std::string address;
        int port;
        std::string name, password, command;
    } cases[] = {
        {"all cancelled", {"", "", "", "", ""}, "first.example", 14580, "k1abc", "", ""},
        {"all answered",
         {"noam.aprs2.net", "10152", "W1XYZ", "-1", "filter r/1/2/3"},
         "noam.aprs2.net",
         10152,
         "W1XYZ",
         "-1",
         "filter r/1/2/3"},
        {"port no number", {"", "fourteen", "", "77", "c"}, "first.example", 14580, "k1abc", "77", "c"},
        {"port out of range", {"", "70000", "", "77", "c"}, "first.example", 14580, "k1abc", "77", "c"},
    };
    int saves = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        st.telnet = TelnetState{};
        st.telnet.address = "first.example";
        st.telnet.loginName = "k1abc";
        st.telnet.password = "old";
        st.telnet.serverCommand = "old command";
        ui.prompts.clear();
        ui.inputs.assign(c.answers.begin(), c.answers.end());
        client.telnetsetup_Click();
        EXPECT_EQ(st.telnet.address, c.address);
        EXPECT_EQ(st.telnet.port, c.port);
        EXPECT_EQ(st.telnet.loginName, c.name);
        EXPECT_EQ(st.telnet.password, c.password);
        EXPECT_EQ(st.telnet.serverCommand, c.command);
        EXPECT_EQ(socket.remoteHost(), c.address);
        EXPECT_EQ(socket.remotePort(), c.port);
        EXPECT_EQ(steps.saves, ++saves);
        ASSERT_EQ(ui.prompts.size(), 5u);
    }
    EXPECT_EQ(ui.prompts[0], "Enter telnet server internet URL address.\rExample: rotate.aprs2.net\r"
                             "See www.aprs2.net for APRS-IS servers and ports");
    EXPECT_EQ(ui.prompts[4], "Enter the telnet server commands IE:filters if needed.\r"
                             "filter a/65.0000/-175.0000/41.0000/-104.0333");
}

} // namespace
} // namespace qv::test
