// The quorvel executable headless with --telnet against an APRS-IS server on
// 127.0.0.1: logs in, tracks from the server's lines, and on SIGTERM closes
// the connection and ends cleanly.
#include "shell/App.h"
#include "support/Fakes.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QTcpServer>
#include <QTcpSocket>
// Qt's "slots" keyword would swallow the station state's slot table.
#undef slots

#include <gtest/gtest.h>

namespace qv::test {
namespace {

TEST(HeadlessTelnet, TracksFromTheServerAndClosesOnSigterm) {
    static int argc = 1;
    static char name[] = "test_aprsis";
    static char* argv[] = {name, nullptr};
    if (!QCoreApplication::instance()) new QCoreApplication(argc, argv);

    QTcpServer server;
    ASSERT_TRUE(server.listen(QHostAddress::LocalHost, 0));
    QTcpSocket* peer = nullptr;
    std::string login;
    bool gone = false;
    QObject::connect(&server, &QTcpServer::newConnection, [&] {
        peer = server.nextPendingConnection();
        QObject::connect(peer, &QTcpSocket::readyRead, [&] { login += peer->readAll().toStdString(); });
        QObject::connect(peer, &QTcpSocket::disconnected, [&] { gone = true; });
    });

    TempDir tmp;
    {
        // The configuration as the program itself writes it.
        FakeClock clock;
        FakeUi ui;
        App app(tmp.path(), ui, clock);
        app.st.telnet.address = "127.0.0.1";
        app.st.telnet.port = server.serverPort();
        app.st.telnet.loginName = "W7TRK";
        app.st.telnet.password = "s3cr3tpass";
        app.st.telnet.serverCommand = "filter b/W7TRK-9";
        app.st.link.comport = "0";
        app.st.slots[1].CallsignID = "W7TRK-9";
        app.st.slots[1].track = true;
        app.st.map.menucreatemaptechfiles = true;
        app.savesettings();
    }
    ASSERT_TRUE(tmp.read("quorvel.cfg").find("s3cr3tpass") != std::string::npos);

    QProcess proc;
    proc.start(QString::fromUtf8(QUORVEL_BINARY),
               {"--headless", "--telnet", "--workdir", QString::fromStdString(tmp.path().string())});
    ASSERT_TRUE(proc.waitForStarted(10000));
    auto runUntil = [](const std::function<bool()>& done) {
        QElapsedTimer t;
        t.start();
        while (!done() && t.elapsed() < 20000)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        return done();
    };
    ASSERT_TRUE(runUntil([&] { return login.find('\n') != std::string::npos; }))
        << proc.readAllStandardOutput().toStdString() << proc.readAllStandardError().toStdString();
    EXPECT_EQ(login.substr(0, 32), "user W7TRK pass s3cr3tpass vers ");
    EXPECT_TRUE(login.ends_with(" filter b/W7TRK-9\n")) << login;

    const std::string feed = "# aprsc 2.1.14\r\n"
                             "W7TRK-9>APRS,TCPIP*,qAC,T2TEST:!4530.00N/12236.00W>on the road\r\n";
    peer->write(feed.data(), static_cast<qint64>(feed.size()));
    ASSERT_TRUE(runUntil([&] { return tmp.read("quorvel.mxf").find("45.5000, -122.6, ") != std::string::npos; }));

    proc.terminate(); // SIGTERM
    ASSERT_TRUE(runUntil([&] { return proc.state() == QProcess::NotRunning; }));
    EXPECT_EQ(proc.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(proc.exitCode(), 0);
    EXPECT_TRUE(runUntil([&] { return gone; }));

    const std::string out = proc.readAllStandardOutput().toStdString();
    const std::string err = proc.readAllStandardError().toStdString();
    EXPECT_NE(out.find("Telnet: Telnet ON @ 127.0.0.1 as W7TRK <DblClick to stop>"), std::string::npos) << out;
    EXPECT_NE(out.find("quorvel.mxf"), std::string::npos) << out;
    for (const std::string& where : {out, err, tmp.read("quorvel.err"), tmp.read("quorvel.log")})
        EXPECT_EQ(where.find("s3cr3tpass"), std::string::npos) << where;
}

TEST(HeadlessTelnet, ConnectsAgainAfterTheServerClosesTheConnection) {
    static int argc = 1;
    static char name[] = "test_aprsis";
    static char* argv[] = {name, nullptr};
    if (!QCoreApplication::instance()) new QCoreApplication(argc, argv);

    QTcpServer server;
    ASSERT_TRUE(server.listen(QHostAddress::LocalHost, 0));
    std::vector<QTcpSocket*> peers;
    std::vector<std::string> logins;
    QObject::connect(&server, &QTcpServer::newConnection, [&] {
        QTcpSocket* peer = server.nextPendingConnection();
        const std::size_t n = logins.size();
        peers.push_back(peer);
        logins.emplace_back();
        QObject::connect(peer, &QTcpSocket::readyRead, [&, peer, n] { logins[n] += peer->readAll().toStdString(); });
    });

    TempDir tmp;
    {
        FakeClock clock;
        FakeUi ui;
        App app(tmp.path(), ui, clock);
        app.st.telnet.address = "127.0.0.1";
        app.st.telnet.port = server.serverPort();
        app.st.telnet.loginName = "W7TRK";
        app.st.link.comport = "0";
        app.st.slots[1].CallsignID = "W7TRK-9";
        app.st.slots[1].track = true;
        app.st.map.menucreatemaptechfiles = true;
        app.savesettings();
    }
    QProcess proc;
    proc.start(QString::fromUtf8(QUORVEL_BINARY),
               {"--headless", "--telnet", "--workdir", QString::fromStdString(tmp.path().string())});
    ASSERT_TRUE(proc.waitForStarted(10000));
    auto runUntil = [](const std::function<bool()>& done) {
        QElapsedTimer t;
        t.start();
        while (!done() && t.elapsed() < 30000)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        return done();
    };
    auto loggedIn = [&](std::size_t n) { return logins.size() > n && logins[n].find('\n') != std::string::npos; };
    ASSERT_TRUE(runUntil([&] { return loggedIn(0); })) << proc.readAllStandardOutput().toStdString();
    // The server goes away; a station left alone must come back by itself.
    peers[0]->disconnectFromHost();
    ASSERT_TRUE(runUntil([&] { return loggedIn(1); })) << proc.readAllStandardOutput().toStdString();
    EXPECT_EQ(logins[1].substr(0, 11), "user W7TRK ");

    const std::string feed = "W7TRK-9>APRS,TCPIP*,qAC,T2TEST:!4530.00N/12236.00W>back again\r\n";
    peers[1]->write(feed.data(), static_cast<qint64>(feed.size()));
    ASSERT_TRUE(runUntil([&] { return tmp.read("quorvel.mxf").find("45.5000, -122.6, ") != std::string::npos; }));

    proc.terminate();
    ASSERT_TRUE(runUntil([&] { return proc.state() == QProcess::NotRunning; }));
    EXPECT_EQ(proc.exitCode(), 0);
    const std::string out = proc.readAllStandardOutput().toStdString();
    EXPECT_NE(out.find("Telnet: trying again in 5 s"), std::string::npos) << out;
    EXPECT_EQ(logins.size(), 2U) << out;
    // Stopping closes the connection without a last try.
    EXPECT_EQ(out.find("trying again", out.find("Stopped")), std::string::npos) << out;
}

} // namespace
} // namespace qv::test
