// APRS-IS lines through the whole application: receive handler, classifier
// and map files, from a server on 127.0.0.1.
#include "core/Station.h"
#include "platform/QtTcpSocket.h"
#include "shell/App.h"
#include "support/FakeTimer.h"
#include "support/Fakes.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTcpServer>
#include <QTcpSocket>
// Qt's "slots" keyword would swallow the station state's slot table.
#undef slots

#include <gtest/gtest.h>

namespace qv::test {
namespace {

TEST(TelnetFeed, ServerLinesReachTheMapFilesInOrder) {
    static int argc = 1;
    static char name[] = "test_aprsis";
    static char* argv[] = {name, nullptr};
    if (!QCoreApplication::instance()) new QCoreApplication(argc, argv);

    QTcpServer server;
    ASSERT_TRUE(server.listen(QHostAddress::LocalHost, 0));
    QTcpSocket* peer = nullptr;
    std::string login;
    QObject::connect(&server, &QTcpServer::newConnection, [&] {
        peer = server.nextPendingConnection();
        QObject::connect(peer, &QTcpSocket::readyRead, [&] { login += peer->readAll().toStdString(); });
    });

    TempDir tmp;
    FakeClock clock;
    FakeUi ui;
    App app(tmp.path(), ui, clock);
    QtTcpSocket socket;
    FakeTimer timer3;
    app.ctx.socket = &socket;
    app.ctx.timer3 = &timer3;
    app.telnet.attach();
    app.st.telnet.address = "127.0.0.1";
    app.st.telnet.port = server.serverPort();
    app.st.slots[1].CallsignID = "W7TRK-9";
    app.st.slots[1].track = true;
    app.st.map.menucreatemaptechfiles = true;
    app.st.map.preventdupes = false; // the clock stands still here

    auto runUntil = [](const std::function<bool()>& done) {
        QElapsedTimer t;
        t.start();
        while (!done() && t.elapsed() < 5000)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        return done();
    };

    app.telnet.TelnetActivate_Click();
    ASSERT_TRUE(runUntil([&] { return login.find('\n') != std::string::npos; }));
    // Three positions in one packet, a server comment and one line that the
    // server cuts off by leaving.
    const std::string feed = "# aprsc 2.1.14 8 Dec 2026 12:00:00 GMT T2TEST 127.0.0.1:14580\r\n"
                             "W7TRK-9>APRS,TCPIP*,qAC,T2TEST:!4530.00N/12236.00W>first\r\n"
                             "K1ABC>APRS,TCPIP*,qAC,T2TEST:!4200.00N/07100.00W-other\r\n"
                             "W7TRK-9>APRS,TCPIP*,qAC,T2TEST:!4531.00N/12237.00W>second\r\n"
                             "W7TRK-9>APRS,TCPIP*,qAC,T2TEST:!4532.00N/122";
    peer->write(feed.data(), static_cast<qint64>(feed.size()));
    peer->disconnectFromHost();
    ASSERT_TRUE(runUntil([&] { return app.st.report.incomingdata.find("!4532.00N/122") != std::string::npos; }));

    EXPECT_EQ(app.st.telnet.labelCaption, kTelnetClosed);
    EXPECT_EQ(app.st.marks.telnetBusy, "0");
    EXPECT_EQ(app.st.slots[1].CallsignID, "W7TRK-9");
    // Both complete reports of the tracked station are in the marker file, in
    // order; the one cut off is shown but never classified.
    const std::string mxf = tmp.read("quorvel.mxf");
    const auto first = mxf.find("45.5000, -122.6, ");
    const auto second = mxf.find("45.5167, -122.616666666667, ");
    EXPECT_NE(first, std::string::npos) << mxf;
    EXPECT_NE(second, std::string::npos) << mxf;
    EXPECT_LT(first, second);
    EXPECT_EQ(mxf.find("45.5333"), std::string::npos);
    EXPECT_EQ(mxf.find("K1ABC"), std::string::npos);
}

} // namespace
} // namespace qv::test
