// The links going away under a running station, with the real ports: the
// TNC's pseudo-terminal closed in the middle of a line (socat stands in for
// the TNC and gives the device a fixed name), and the APRS-IS server closing
// in the middle of a line and then refusing connections. Each shows the link
// closed, keeps what arrived, leaves an entry in quorvel.err, and the link
// works again afterwards.
#include "platform/QtSerialPort.h"
#include "platform/QtTcpSocket.h"
#include "platform/QtTimer.h"
#include "shell/App.h"
#include "support/Fakes.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QTcpServer>
#include <QTcpSocket>
#include <QThread>
// Qt's "slots" keyword would swallow the station state's slot table.
#undef slots

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>

namespace fs = std::filesystem;
using namespace qv;
using namespace qv::test;

namespace {

void ensureQtApp() {
    static int argc = 1;
    static char name[] = "test_faults";
    static char* argv[] = {name, nullptr};
    if (!QCoreApplication::instance()) new QCoreApplication(argc, argv);
}

bool waitFor(const std::function<bool()>& done, int ms = 5000) {
    QElapsedTimer t;
    t.start();
    while (!done()) {
        if (t.elapsed() > ms) return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        QThread::msleep(5);
    }
    return true;
}

int lines(const std::string& text) {
    int n = 0;
    for (auto at = text.find("\r\n"); at != std::string::npos; at = text.find("\r\n", at + 1))
        ++n;
    return n;
}

// The TNC's end of a pseudo-terminal whose device is `link`.
struct Tnc {
    explicit Tnc(const fs::path& link) {
        proc.start("socat", {"-d", "-d", "STDIO", "PTY,raw,echo=0,link=" + QString::fromStdString(link.string())});
        ok = proc.waitForStarted(5000) && waitFor([&] { return fs::exists(link); });
    }
    ~Tnc() { gone(); }
    void send(const char* text) {
        proc.write(text);
        proc.waitForBytesWritten(2000);
    }
    void gone() {
        if (proc.state() == QProcess::NotRunning) return;
        proc.terminate();
        proc.waitForFinished(5000);
    }
    QProcess proc;
    bool ok = false;
};

struct Rig {
    Rig() {
        ensureQtApp();
        app.st.marks.windowVisible = false;
        app.st.tracking.autoassigncheckbox = false;
        app.st.slots[1].CallsignID = "W7TRK-9";
        app.st.slots[1].track = true;
        app.st.map.menucreatemaptechfiles = true;
    }
    TempDir tmp;
    FakeClock clock;
    FakeUi ui;
    App app{tmp.path(), ui, clock};
};

} // namespace

TEST(LinkFaults, TncVanishingMidLineClosesThePortAndOpenPortWorksAgain) {
    if (QProcess::execute("socat", {"-V"}) != 0) GTEST_SKIP() << "no socat";
    Rig s;
    QtSerialPort port;
    s.app.attachSerial(&port);
    const fs::path device = s.tmp.path() / "tnc";
    s.app.st.link.comport = device.string();
    auto tnc = std::make_unique<Tnc>(device);
    ASSERT_TRUE(tnc->ok);
    s.app.openport();
    ASSERT_TRUE(port.isOpen()) << s.tmp.read("quorvel.err");

    tnc->send("W7TRK-9>APRS:!4531.39N/12240.59W>first\r");
    ASSERT_TRUE(waitFor([&] { return lines(s.tmp.read("quorvel.mxf")) == 1; }));
    tnc->send("W7TRK-9>APRS:!4531.44N/122");
    ASSERT_TRUE(waitFor([&] { return s.app.st.report.dataline == "W7TRK-9>APRS:!4531.44N/122"; }));

    tnc->gone();
    ASSERT_TRUE(waitFor([&] { return !port.isOpen(); }));
    ASSERT_TRUE(waitFor([&] { return s.app.st.link.openportcmdEnabled; }));
    EXPECT_FALSE(s.app.st.link.closeportcmdEnabled);
    const std::string err = s.tmp.read("quorvel.err");
    EXPECT_NE(err.find("ERROR  8020"), std::string::npos) << err;
    EXPECT_NE(err.find(" in SUB MSCOMM1_ONCOMM "), std::string::npos) << err;
    EXPECT_NE(err.find(" line began: W7TRK-9>APRS:!4531.44N/122"), std::string::npos) << err;
    EXPECT_EQ(s.app.st.report.dataline, "");

    // The TNC comes back under the same name; Open Port takes it up again.
    tnc = std::make_unique<Tnc>(device);
    ASSERT_TRUE(tnc->ok);
    s.app.link.openportcmd_Click();
    ASSERT_TRUE(port.isOpen()) << s.tmp.read("quorvel.err");
    tnc->send("W7TRK-9>APRS:!4531.50N/12240.10W>back\r");
    ASSERT_TRUE(waitFor([&] { return lines(s.tmp.read("quorvel.mxf")) == 2; }));
    EXPECT_NE(s.tmp.read("quorvel.mxf").find("45.5250"), std::string::npos) << s.tmp.read("quorvel.mxf");
    s.app.attachSerial(nullptr);
}

TEST(LinkFaults, AprsIsServerClosingMidLineAndRefusing) {
    Rig s;
    QtTcpSocket socket;
    QtTimer timer3;
    s.app.ctx.socket = &socket;
    s.app.ctx.timer3 = &timer3;
    s.app.telnet.attach();

    QTcpServer server;
    ASSERT_TRUE(server.listen(QHostAddress::LocalHost, 0));
    const int port = server.serverPort();
    QTcpSocket* peer = nullptr;
    QObject::connect(&server, &QTcpServer::newConnection, [&] { peer = server.nextPendingConnection(); });
    s.app.st.telnet.address = "127.0.0.1";
    s.app.st.telnet.port = port;
    s.app.telnet.TelnetActivate_Click();
    ASSERT_TRUE(waitFor([&] { return peer && s.app.telnet.connected(); }));

    peer->write("# aprsc 2.1\r\nW7TRK-9>APRS,TCPIP*,qAC,T2TEST:!4531.39N/12240.59W>whole\r\n"
                "W7TRK-9>APRS,TCPIP*,qAC,T2TEST:!4531.44N/122");
    peer->flush();
    peer->disconnectFromHost();
    ASSERT_TRUE(waitFor([&] { return s.app.st.telnet.labelCaption == kTelnetClosed; }));
    ASSERT_TRUE(waitFor([&] { return s.tmp.read("quorvel.err").find("line began") != std::string::npos; }));
    EXPECT_EQ(lines(s.tmp.read("quorvel.mxf")), 1);
    std::string err = s.tmp.read("quorvel.err");
    EXPECT_NE(err.find(" in SUB WINSOCK1_CLOSE "), std::string::npos) << err;
    EXPECT_NE(err.find(" line began: W7TRK-9>APRS,TCPIP*,qAC,T2TEST:!4531.44N/122"), std::string::npos) << err;

    // Nobody listens any more: the attempt fails, is logged, and the next
    // server to listen there is reached again.
    server.close();
    fs::remove(s.tmp.path() / "quorvel.err");
    s.app.telnet.TelnetActivate_Click();
    ASSERT_TRUE(waitFor([&] { return s.app.st.telnet.labelCaption == kTelnetClosed; }));
    err = s.tmp.read("quorvel.err");
    EXPECT_NE(err.find(" in SUB WINSOCK1_ERROR "), std::string::npos) << err;
    EXPECT_EQ(err.find(s.app.st.telnet.password.empty() ? "\x01" : s.app.st.telnet.password), std::string::npos);

    ASSERT_TRUE(server.listen(QHostAddress::LocalHost, port));
    peer = nullptr;
    s.app.telnet.TelnetActivate_Click();
    ASSERT_TRUE(waitFor([&] { return peer && s.app.telnet.connected(); }));
    peer->write("W7TRK-9>APRS,TCPIP*,qAC,T2TEST:!4531.50N/12240.10W>again\r\n");
    ASSERT_TRUE(waitFor([&] { return lines(s.tmp.read("quorvel.mxf")) == 2; }));
    s.app.telnet.TelnetActiveLabel_DblClick();
    s.app.telnet.detach();
}
