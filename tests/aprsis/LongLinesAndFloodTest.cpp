// Received lines past every limit: an endless line is cut, classified and
// logged alike whether it came from the TNC, the replay file or APRS-IS, and
// an APRS-IS server sending as fast as it can is held back by TCP instead of
// filling the memory.
#include "core/Station.h"
#include "intake/ImportReplay.h"
#include "platform/QtTcpSocket.h"
#include "shell/App.h"
#include "support/FakeSerialPort.h"
#include "support/FakeTimer.h"
#include "support/Fakes.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QTcpServer>
#include <QTcpSocket>
// Qt's "slots" keyword would swallow the station state's slot table.
#undef slots

#include <gtest/gtest.h>

#include <csignal>
#include <fstream>

namespace qv::test {
namespace {

QCoreApplication& qtApp() {
    static int argc = 1;
    static char name[] = "test_aprsis";
    static char* argv[] = {name, nullptr};
    if (!QCoreApplication::instance()) new QCoreApplication(argc, argv);
    return *QCoreApplication::instance();
}

bool runUntil(const std::function<bool()>& done, int limitMs = 10000) {
    QElapsedTimer t;
    t.start();
    while (!done() && t.elapsed() < limitMs)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    return done();
}

int count(const std::string& text, const std::string& what) {
    int n = 0;
    for (auto at = text.find(what); at != std::string::npos; at = text.find(what, at + 1))
        ++n;
    return n;
}

// Kilobytes of a process's resident memory now and at its peak.
std::pair<long, long> residentKb(qint64 pid) {
    std::ifstream in("/proc/" + std::to_string(pid) + "/status");
    long rss = 0, hwm = 0;
    for (std::string line; std::getline(in, line);) {
        if (line.rfind("VmRSS:", 0) == 0) rss = std::stol(line.substr(6));
        if (line.rfind("VmHWM:", 0) == 0) hwm = std::stol(line.substr(6));
    }
    return {rss, hwm};
}

} // namespace

TEST(LongLines, AreCutClassifiedAndLoggedAlikeOnEveryPath) {
    qtApp();
    // A tracked position whose comment runs past 4 KiB, then an ordinary line.
    const std::string head = "W7TRK-9>APRS,TCPIP*,qAC,T2TEST:!4531.39N/12240.59W>";
    const std::string longLine = head + std::string(5000 - head.size(), 'x');
    const std::string feed = longLine + "\r\nK1ABC>APRS:>ok\r\n";
    const std::function<void(App&, TempDir&)> paths[] = {
        [&](App& app, TempDir&) {
            FakeSerialPort port;
            app.attachSerial(&port);
            // Two receive events: one event with two lines is one line with an embedded CR.
            port.feedReceived(longLine + "\r\n");
            port.feedReceived("K1ABC>APRS:>ok\r\n");
            app.attachSerial(nullptr);
        },
        [&](App& app, TempDir& tmp) {
            tmp.write("quorvel.imp", feed);
            ImportReplay(app.ctx, app.receive).run();
        },
        [&](App& app, TempDir&) {
            QTcpServer server;
            ASSERT_TRUE(server.listen(QHostAddress::LocalHost, 0));
            QTcpSocket* peer = nullptr;
            QObject::connect(&server, &QTcpServer::newConnection, [&] { peer = server.nextPendingConnection(); });
            QtTcpSocket socket;
            FakeTimer timer3;
            app.ctx.socket = &socket;
            app.ctx.timer3 = &timer3;
            app.telnet.attach();
            app.st.telnet.address = "127.0.0.1";
            app.st.telnet.port = server.serverPort();
            app.telnet.TelnetActivate_Click();
            ASSERT_TRUE(runUntil([&] { return peer != nullptr; }));
            peer->write(feed.data(), static_cast<qint64>(feed.size()));
            EXPECT_TRUE(runUntil([&] { return app.st.report.incomingdata.starts_with("K1ABC>APRS:>ok"); }));
            app.telnet.detach();
            app.ctx.socket = nullptr;
            app.ctx.timer3 = nullptr;
        },
    };
    const char* names[] = {"serial TNC", "replay", "APRS-IS"};
    for (int i = 0; i < 3; ++i) {
        SCOPED_TRACE(names[i]);
        TempDir tmp;
        FakeClock clock;
        FakeUi ui;
        App app(tmp.path(), ui, clock);
        app.st.link.comport = "0";
        app.st.tracking.autoassigncheckbox = false;
        app.st.slots[1].CallsignID = "W7TRK-9";
        app.st.slots[1].track = true;
        app.st.map.menucreatemaptechfiles = true;
        paths[i](app, tmp);
        // The position before the cut is tracked; the rest of the line is a
        // line of its own, and the next line comes through as ever.
        EXPECT_EQ(count(tmp.read("quorvel.mxf"), "45.5232, -122.676"), 1) << tmp.read("quorvel.mxf");
        const std::string err = tmp.read("quorvel.err");
        EXPECT_EQ(count(err, "ERROR  14Received line longer than 4096 characters cut there in SUB MSCOMM1_ONCOMM "), 1)
            << err;
        EXPECT_EQ(count(err, " line began: " + longLine.substr(0, 80) + "\r\n"), 1) << err;
        EXPECT_EQ(app.st.report.incomingdata.substr(0, 14), "K1ABC>APRS:>ok");
    }
}

// The quorvel executable against a server that sends as fast as the network
// takes it: its memory stays where it was while it keeps taking lines.
TEST(AprsIsFlood, MemoryStaysFlatWhileTcpHoldsTheServerBack) {
    qtApp();
    QTcpServer server;
    ASSERT_TRUE(server.listen(QHostAddress::LocalHost, 0));
    QTcpSocket* peer = nullptr;
    std::string login;
    QObject::connect(&server, &QTcpServer::newConnection, [&] {
        peer = server.nextPendingConnection();
        QObject::connect(peer, &QTcpSocket::readyRead, [&] { login += peer->readAll().toStdString(); });
    });
    TempDir tmp;
    {
        FakeClock clock;
        FakeUi ui;
        App app(tmp.path(), ui, clock);
        app.st.telnet.address = "127.0.0.1";
        app.st.telnet.port = server.serverPort();
        app.st.link.comport = "0";
        app.st.tracking.autoassigncheckbox = false;
        app.savesettings();
    }
    QProcess proc;
    proc.start(QString::fromUtf8(QUORVEL_BINARY),
               {"--headless", "--telnet", "--workdir", QString::fromStdString(tmp.path().string())});
    ASSERT_TRUE(proc.waitForStarted(10000));
    struct Stop {
        QProcess& p;
        ~Stop() {
            if (p.state() != QProcess::NotRunning) {
                p.kill();
                p.waitForFinished(5000);
            }
        }
    } stop{proc};
    ASSERT_TRUE(runUntil([&] { return login.find('\n') != std::string::npos; }, 20000));
    // Let start-up settle before taking the measure to compare with.
    runUntil([] { return false; }, 300);
    const long before = residentKb(proc.processId()).first;

    std::string block;
    while (block.size() < (1 << 20))
        block += "N0CALL>APRS,TCPIP*,qAC,T2TEST:>a status line of an ordinary length, sent again and again\r\n";
    qint64 queued = 0;
    long peak = before;
    QElapsedTimer t;
    t.start();
    constexpr long kGrowthLimitKb = 40 * 1024;
    while (t.elapsed() < 3000 && peak - before < kGrowthLimitKb) {
        // Keep a few megabytes waiting in the server's socket at all times.
        while (peer->bytesToWrite() < 4 * static_cast<qint64>(block.size())) {
            peer->write(block.data(), static_cast<qint64>(block.size()));
            queued += static_cast<qint64>(block.size());
        }
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        peak = std::max(peak, residentKb(proc.processId()).first);
    }
    const qint64 taken = queued - peer->bytesToWrite();
    RecordProperty("rss_before_kb", static_cast<int>(before));
    RecordProperty("rss_peak_kb", static_cast<int>(peak));
    RecordProperty("bytes_taken", static_cast<int>(std::min<qint64>(taken, INT32_MAX)));
#if defined(__SANITIZE_ADDRESS__)
    // AddressSanitizer holds freed blocks in its quarantine, so resident size
    // grows with every line handled; only the plain build measures our own use.
#else
    EXPECT_LT(peak - before, kGrowthLimitKb) << "before " << before << " kB, peak " << peak << " kB";
#endif
    // It went on taking lines all the while.
    EXPECT_GT(taken, 256 * 1024) << taken;
    EXPECT_EQ(proc.state(), QProcess::Running);
    proc.terminate();
    EXPECT_TRUE(runUntil([&] { return proc.state() == QProcess::NotRunning; }, 20000));
}

} // namespace qv::test
