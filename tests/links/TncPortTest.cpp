// The TNC port with a KISS or AGWPE TNC behind it, through the real receive
// path into the debug log and the classifier: one line per frame, held while
// the receive path is paused, a burst spread over turns; the AGWPE greeting,
// the reply as a UI frame byte for byte, and a TNC that goes away and comes
// back. The byte port under it is fed by hand.
#include "links/TncPort.h"
#include "core/Failure.h"
#include "intake/MessageReply.h"
#include "links/Agw.h"
#include "links/Ax25.h"
#include "links/Kiss.h"
#include "links/LinkBytes.h"
#include "shell/App.h"
#include "support/FakeTimer.h"
#include "support/Fakes.h"

#include <gtest/gtest.h>

#include <deque>
#include <memory>

namespace qv::test {
namespace {

// The serial device or TCP stream under the TNC port.
class FakeBytePort final : public SerialPort {
public:
    bool tcp = false;
    std::string target, settingsText;
    bool opened = false, up = false;
    int openFailure = 0;
    std::deque<char> in;
    std::string written;
    Event event = Event::None;
    std::string reason;

    void feed(const std::string& bytes) {
        in.insert(in.end(), bytes.begin(), bytes.end());
        event = Event::Receive;
        if (onEvent) onEvent();
    }
    // A network TNC answers.
    void answer() {
        up = true;
        if (onStatus) onStatus();
    }
    // The device or connection goes away.
    void drop(const std::string& why) {
        opened = up = false;
        in.clear();
        reason = why;
        event = Event::Error;
        if (onEvent) onEvent();
    }

    void setPort(const std::string& p) override { target = p; }
    std::string port() const override { return target; }
    void setSettings(const std::string& s) override { settingsText = s; }
    std::string settings() const override { return settingsText; }
    void open() override {
        if (openFailure) throw Failure(openFailure);
        opened = true;
        up = !tcp;
    }
    void close() override { opened = up = false; }
    bool isOpen() const override { return opened; }
    bool connected() const override { return opened && up; }
    int inBufferCount() const override { return static_cast<int>(in.size()); }
    char readChar() override {
        if (in.empty()) throw Failure(err::InputPastEnd);
        const char c = in.front();
        in.pop_front();
        return c;
    }
    void write(const std::string& bytes) override {
        if (!connected()) throw Failure(8018);
        written += bytes;
    }
    Event lastEvent() const override { return event; }
    std::string lostReason() const override { return reason; }
};

struct Rig {
    explicit Rig(const std::string& tnc) {
        app.st.marks.windowVisible = false;
        app.st.marks.debugLog = true;
        app.st.telnet.loginName = "n0qrv-5";
        app.st.link.comport = tnc;
        app.attachSerial(&port, &reopen);
    }
    ~Rig() { app.attachSerial(nullptr); }

    // Lines as the receive path completed them.
    std::vector<std::string> lines() const {
        std::vector<std::string> out;
        std::string all = tmp.read("quorvel.log");
        for (std::size_t at = 0, end; (end = all.find("\r\n", at)) != std::string::npos; at = end + 2)
            out.push_back(all.substr(at, end - at));
        return out;
    }
    int errors(const std::string& what) const {
        const std::string err = tmp.read("quorvel.err");
        int n = 0;
        for (auto at = err.find(what); at != std::string::npos; at = err.find(what, at + 1))
            ++n;
        return n;
    }

    TempDir tmp;
    FakeClock clock;
    FakeUi ui;
    FakeTimer later, reopen;
    FakeBytePort* raw = nullptr; // the byte port the TNC port made last
    int made = 0;
    TncPort port{[this](bool tcp) {
                     auto p = std::make_unique<FakeBytePort>();
                     p->tcp = tcp;
                     raw = p.get();
                     ++made;
                     return p;
                 },
                 later};
    App app{tmp.path(), ui, clock};
};

const std::string kLineN0call = "N0CALL>APRS,WIDE1-1,WIDE2-1:!4903.50N/07201.75W-Test 1";
const std::string kLineW1aw = "W1AW-9>APRS,K1ABC-3*,WIDE2-1:=4145.00N/07230.00W>mobile";

TEST(TncPort, EveryFrameIsOneLineOfTheReceivePathWhateverTheChunks) {
    Rig r("kiss-tcp:127.0.0.1:8001");
    r.app.link.openportcmd_Click();
    ASSERT_TRUE(r.raw && r.raw->tcp);
    EXPECT_EQ(r.raw->target, "127.0.0.1:8001");
    EXPECT_EQ(r.app.st.link.tncStatus, "connecting; 0 frames, 0 other, 0 broken");
    r.raw->answer();
    EXPECT_EQ(r.app.st.link.tncStatus, "connected; 0 frames, 0 other, 0 broken");

    // Two frames in one chunk, a broken one, then one split over three chunks.
    r.raw->feed(kKissN0call + kKissW1aw);
    r.raw->feed(hex("c0 00 db 41 c0"));
    r.raw->feed(kKissN0call.substr(0, 5));
    r.raw->feed(kKissN0call.substr(5, 20));
    EXPECT_EQ(r.lines().size(), 2u);
    r.raw->feed(kKissN0call.substr(25));
    EXPECT_EQ(r.lines(), (std::vector<std::string>{kLineN0call, kLineW1aw, kLineN0call}));
    // The line the classifier read last, and no greeting for a KISS TNC.
    EXPECT_EQ(r.app.st.report.callsign, "N0CALL");
    EXPECT_EQ(r.raw->written, "");
    EXPECT_EQ(r.app.st.link.tncStatus, "connected; 3 frames, 0 other, 1 broken");
    EXPECT_EQ(r.app.st.link.INcomport, "IN com port kiss-tcp:127.0.0.1:8001");
}

TEST(TncPort, FramesWaitWhileTheReceivePathIsPausedAndABurstIsSpreadOverTurns) {
    Rig r("kiss:/dev/ttyUSB7");
    r.app.openport();
    ASSERT_TRUE(r.raw && !r.raw->tcp);
    EXPECT_EQ(r.raw->target, "/dev/ttyUSB7");
    EXPECT_EQ(r.raw->settingsText, "9600,n,8,1");

    r.app.st.marks.commTag = kStopComm;
    r.raw->feed(kKissW1aw);
    EXPECT_TRUE(r.lines().empty());
    EXPECT_TRUE(r.later.isEnabled());
    EXPECT_EQ(r.later.interval(), TncPort::kRetryMs);
    r.later.fire(); // still paused
    EXPECT_TRUE(r.lines().empty());
    r.app.st.marks.commTag.clear();
    r.later.fire();
    EXPECT_EQ(r.lines(), std::vector<std::string>{kLineW1aw});

    std::string burst;
    for (int i = 0; i < 20; ++i)
        burst += kKissN0call;
    r.raw->feed(burst);
    EXPECT_EQ(r.lines().size(), 1u + TncPort::kLinesPerTurn);
    EXPECT_EQ(r.later.interval(), 0);
    while (r.later.isEnabled())
        r.later.fire();
    EXPECT_EQ(r.lines().size(), 21u);
}

TEST(TncPort, AgwpeIsGreetedOnceConnectedAndTakesFramesOfEveryPort) {
    Rig r("agw:127.0.0.1:8000");
    r.app.openport();
    ASSERT_TRUE(r.raw && r.raw->tcp);
    EXPECT_EQ(r.raw->written, "");
    r.raw->answer();
    EXPECT_EQ(r.raw->written, agw::registerCall("N0QRV-5") + agw::versionRequest());
    // Connected once the TNC shows that it reads this connection.
    EXPECT_EQ(r.app.st.link.tncStatus, "connecting; 0 frames, 0 other, 0 broken");
    r.raw->feed(kAgwVersion);
    EXPECT_EQ(r.raw->written, agw::registerCall("N0QRV-5") + agw::versionRequest() + agw::rawMonitoring());
    EXPECT_EQ(r.app.st.link.tncStatus, "connected; 0 frames, 0 other, 0 broken");
    std::string onPort2 = kAgwN0call;
    onPort2[0] = 2;
    r.raw->feed(kAgwN0call.substr(0, 40));
    r.raw->feed(kAgwN0call.substr(40) + onPort2);
    EXPECT_EQ(r.lines(), (std::vector<std::string>{kLineN0call, kLineN0call}));
    // A typed command would be text in the AGWPE stream: it stays in the box.
    r.app.st.link.sendtext = "MYCALL N0QRV";
    r.app.link.Sendkey_Click();
    EXPECT_EQ(r.app.st.link.sendtext, "MYCALL N0QRV");
    EXPECT_EQ(r.raw->written, agw::registerCall("N0QRV-5") + agw::versionRequest() + agw::rawMonitoring());
}

TEST(TncPort, TheReplyGoesOutAsAUiFrameFromTheStationByteForByte) {
    for (const char* tnc : {"kiss-tcp:127.0.0.1:8001", "agw:127.0.0.1:8000"}) {
        SCOPED_TRACE(tnc);
        Rig r(tnc);
        r.app.openport();
        r.app.messageReply.setFields("QUORVEL", "on my way");
        r.app.messageReply.CommandMsgSEND_Click();
        EXPECT_EQ(r.app.st.marks.PGMmessage, "Reply NOT sent - the TNC is not connected");

        r.raw->answer();
        if (r.port.port().rfind("agw", 0) == 0) r.raw->feed(kAgwVersion);
        r.raw->written.clear();
        r.app.messageReply.CommandMsgSEND_Click();
        const std::string sentence = "$GPWMS,QUORVEL,on my way,00097E,01,01,0F,261207,090542,000000*" +
                                     MessageReply::nmeaChecksum("$GPWMS,QUORVEL,on my way,00097E,01,01,0F,261207,"
                                                                "090542,000000");
        // APRS (command bit set), N0QRV-5 (last address), UI, no layer 3.
        const std::string frame = hex("82a0a4a64040e0 9c60a2a4ac406b 03f0") + sentence;
        const std::string expected =
            std::string(tnc).rfind("agw", 0) == 0
                ? hex("00000000 4b000000") + std::string("N0QRV-5\0\0\0", 10) + std::string("APRS\0\0\0\0\0\0", 10) +
                      hex("00000000 00000000").replace(0, 1, 1, char(1 + frame.size())) + std::string(1, '\0') + frame
                : std::string("\xc0\x00", 2) + frame + "\xc0";
        EXPECT_EQ(r.raw->written, expected);
        EXPECT_EQ(r.app.st.Form5Message.LabelReplySentString, "Reply SENT>> N0QRV-5>APRS:" + sentence);

        // "My callsign" goes before the login name; one that is no callsign sends nothing.
        r.app.st.link.myCallsign = "N0QRV-99";
        r.raw->written.clear();
        r.app.messageReply.CommandMsgSEND_Click();
        EXPECT_EQ(r.raw->written, "");
        EXPECT_EQ(r.app.st.marks.PGMmessage,
                  "Reply NOT sent - Invalid property value: \"N0QRV-99\" is no AX.25 callsign");
        // Neither set: nothing goes on the air under the placeholder "none".
        r.app.st.link.myCallsign.clear();
        r.app.st.telnet.loginName = "none";
        r.app.messageReply.CommandMsgSEND_Click();
        EXPECT_EQ(r.raw->written, "");
        EXPECT_EQ(r.app.st.marks.PGMmessage,
                  "Reply NOT sent - no callsign to send from: set My callsign in the Ports menu");
    }
}

TEST(TncPort, AUsbTncThatGoesAwayIsReportedOnceAndReopenedWhenItIsBack) {
    Rig r("kiss:/dev/ttyUSB7");
    r.app.openport();
    r.raw->feed(kKissN0call.substr(0, 20)); // half a frame when it goes
    r.raw->drop("");
    EXPECT_FALSE(r.port.isOpen());
    EXPECT_TRUE(r.app.st.link.reopening);
    EXPECT_TRUE(r.reopen.isEnabled());
    EXPECT_EQ(r.reopen.interval(), SerialLink::kReopenMs);
    EXPECT_TRUE(r.app.st.link.closeportcmdEnabled); // Close Port stops the attempts
    EXPECT_EQ(r.errors("ERROR  8020Error reading comm device: the device went away in SUB MSCOMM1_ONCOMM"), 1);
    EXPECT_EQ(r.app.st.link.tncStatus, "gone, trying again every 5 s; 0 frames, 0 other, 0 broken");

    r.raw->openFailure = err::NoSuchPort; // still unplugged
    r.reopen.fire();
    r.reopen.fire();
    EXPECT_TRUE(r.app.st.link.reopening);
    EXPECT_EQ(r.errors("ERROR  8020"), 1);
    EXPECT_TRUE(r.ui.messages.empty()); // nobody has to answer anything

    r.raw->openFailure = 0; // plugged in again
    r.reopen.fire();
    EXPECT_TRUE(r.port.isOpen());
    EXPECT_FALSE(r.app.st.link.reopening);
    EXPECT_FALSE(r.reopen.isEnabled());
    EXPECT_EQ(r.app.st.marks.PGMmessage, "TNC back: Waiting to confirm com activity on port kiss:/dev/ttyUSB7 at "
                                         "speed 9600,n,8,1");
    EXPECT_EQ(r.made, 1); // the same device port, opened again
    r.raw->feed(kKissW1aw);
    EXPECT_EQ(r.lines(), std::vector<std::string>{kLineW1aw});

    // Close Port while it is away: no more attempts.
    r.raw->drop("");
    r.app.link.closeportcmd_Click();
    EXPECT_FALSE(r.app.st.link.reopening);
    EXPECT_FALSE(r.reopen.isEnabled());
}

TEST(TncPort, ANetworkTncRefusingOrNotAnsweringIsTriedAgainAndLoggedOnce) {
    Rig r("kiss-tcp:127.0.0.1:8001");
    r.app.openport();
    EXPECT_TRUE(r.reopen.isEnabled()); // watching the connect
    r.raw->drop("127.0.0.1:8001: Connection refused");
    EXPECT_EQ(r.errors("Error reading comm device: 127.0.0.1:8001: Connection refused"), 1);
    for (int i = 0; i < 3; ++i) {
        r.reopen.fire(); // connecting again
        EXPECT_TRUE(r.port.isOpen());
        r.raw->drop("127.0.0.1:8001: Connection refused");
    }
    EXPECT_EQ(r.errors("ERROR  8020"), 1);
    EXPECT_EQ(r.app.st.link.tncStatus,
              "gone (127.0.0.1:8001: Connection refused), trying again every 5 s; 0 frames, 0 other, 0 broken");

    // The next attempt hangs: dropped after a few ticks and made again.
    r.reopen.fire();
    for (int i = 0; i < SerialLink::kConnectTicks; ++i)
        r.reopen.fire();
    EXPECT_FALSE(r.port.isOpen());
    r.reopen.fire();
    r.raw->answer();
    EXPECT_FALSE(r.app.st.link.reopening);
    EXPECT_FALSE(r.reopen.isEnabled());
    EXPECT_EQ(r.errors("ERROR  8020"), 1);
    r.raw->feed(kKissN0call);
    EXPECT_EQ(r.lines(), std::vector<std::string>{kLineN0call});
}

TEST(TncPort, ALossWhileTheReceivePathIsPausedIsActedOnAfterwards) {
    Rig r("kiss:/dev/ttyUSB7");
    r.app.openport();
    r.app.st.marks.commTag = kStopComm;
    r.raw->drop("");
    EXPECT_FALSE(r.app.st.link.reopening);
    EXPECT_TRUE(r.later.isEnabled());
    r.app.st.marks.commTag.clear();
    r.later.fire();
    EXPECT_TRUE(r.app.st.link.reopening);
    EXPECT_EQ(r.errors("ERROR  8020"), 1);
}

TEST(TncPort, AMissingDeviceAtStartUpIsTakenUpWhenItComes) {
    Rig r("kiss:/dev/ttyUSB7");
    r.port.open(); // makes the byte port, which then fails
    r.port.close();
    r.raw->openFailure = err::NoSuchPort;
    r.app.openport();
    ASSERT_EQ(r.ui.messages.size(), 1u);
    EXPECT_EQ(r.ui.messages[0].title, "COM PORT ERROR");
    EXPECT_TRUE(r.app.st.link.reopening);
    r.raw->openFailure = 0;
    r.reopen.fire();
    EXPECT_TRUE(r.port.isOpen());
    EXPECT_FALSE(r.app.st.link.reopening);

    // A setting that names no TNC is never tried again.
    Rig bad("kiss-tcp:host:99999");
    bad.app.openport();
    EXPECT_FALSE(bad.app.st.link.reopening);
    EXPECT_NE(bad.tmp.read("quorvel.err").find("the port is no number from 1 to 65535"), std::string::npos);
}

TEST(TncPort, ATextModeTncPassesThroughUnchanged) {
    Rig r("/dev/ttyUSB3");
    r.app.openport();
    EXPECT_EQ(r.raw->written, "QUORVEL is ONLINE\r");
    r.raw->feed("W1AW-9>APRS:first\r\nW1AW-9>APRS:second\r");
    EXPECT_EQ(r.lines(), (std::vector<std::string>{"W1AW-9>APRS:first", "W1AW-9>APRS:second"}));
    EXPECT_FALSE(r.port.carriesFrames());
    EXPECT_EQ(r.app.st.link.tncStatus, "");
}

} // namespace
} // namespace qv::test
