// The APRS message reply: the window shown for a received message, the
// $GPWMS sentence and its checksum, and what reaches the TNC.
#include "intake/MessageReply.h"
#include "core/MessageState.h"
#include "platform/MessageWindow.h"
#include "platform/QtSerialPort.h"
#include "shell/App.h"
#include "support/FakeSerialPort.h"
#include "support/Fakes.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QElapsedTimer>

#include <fcntl.h>
#include <string>
#include <unistd.h>
#include <vector>

using namespace qv;
using namespace qv::test;

namespace {

class RecordingMessageWindow final : public MessageWindow {
public:
    std::vector<std::string> shown; // captions
    std::vector<std::string> drawn; // echoes
    void show(const MessageWindowState& form) override { shown.push_back(form.caption); }
    void draw(const MessageWindowState& form) override { drawn.push_back(form.LabelReplySentString); }
};

// The checksum worked out by hand: exclusive or of every character between
// "$" and the first "*".
unsigned xorOf(const std::string& s) {
    unsigned x = 0;
    for (char c : s)
        x ^= static_cast<unsigned char>(c);
    return x;
}

struct ReplyRig {
    TempDir tmp;
    FakeClock clock;
    FakeUi ui;
    App app{tmp.path(), ui, clock};
    FakeSerialPort port;
    RecordingMessageWindow window;

    ReplyRig() {
        clock.t = {2026, 3, 4, 7, 8, 9};
        port.opened = true;
        app.ctx.serial = &port;
        app.ctx.messageWindow = &window;
        app.messageReply.attach();
    }
    void type(const std::string& from, const std::string& text) { window.onEdited(from, text); }
};

} // namespace

TEST(MessageReply, SentenceBodyAndChecksum) {
    struct Case {
        const char* from;
        const char* text;
        const char* body;    // without date and time
        unsigned checksumOf; // the xor the checksum must show
    };
    const std::string stamp = ",260304,070809,000000";
    const std::string designBody = std::string("$GPWMS,QUORVEL,,00097E,01,01,0F") + stamp;
    const Case cases[] = {
        {"QUORVEL", "", "$GPWMS,QUORVEL,,00097E,01,01,0F", xorOf(designBody.substr(1))},
        // The checksum ends at the "*", the text still goes out whole.
        {"QUORVEL", "HI*THERE", "$GPWMS,QUORVEL,HI*THERE,00097E,01,01,0F", xorOf("GPWMS,QUORVEL,HI")},
        // Commas typed into a field are sent as typed.
        {"N0CALL", "A,B", "$GPWMS,N0CALL,A,B,00097E,01,01,0F", xorOf("GPWMS,N0CALL,A,B,00097E,01,01,0F" + stamp)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        ReplyRig rig;
        rig.type(c.from, c.text);
        rig.app.messageReply.CommandMsgSEND_Click();
        char hex[3];
        std::snprintf(hex, sizeof hex, "%02X", c.checksumOf);
        const std::string sentence = std::string(c.body) + stamp + "*" + hex;
        EXPECT_EQ(rig.port.written, sentence + "\r\n");
        EXPECT_EQ(rig.app.st.Form5Message.LabelReplySentString, "Reply SENT>> " + sentence + " <CR> <LF>");
        EXPECT_EQ(rig.window.drawn.back(), rig.app.st.Form5Message.LabelReplySentString);
    }
}

TEST(MessageReply, ChecksumIsTwoUpperCaseHexDigits) {
    struct Case {
        const char* body;
        const char* sum;
    };
    const Case cases[] = {
        {"$", "00"},       {"$A", "41"}, {"$AK", "0A"}, // 0x41 ^ 0x4B, below 16
        {"$zz", "00"},                                  // equal characters cancel out
        {"$GPWMS", "5E"},  {"$z", "7A"},                // hex letters upper case
        {"$\xFF", "FF"},                                // a byte above 127 counts as its unsigned code
        {"$AK*ZZZ", "0A"},                              // stops at the first "*"
        {"AK", "0A"},                                   // no "$" to drop
        {"$*AK", "00"},                                 // nothing before the "*"
    };
    for (const Case& c : cases)
        EXPECT_EQ(MessageReply::nmeaChecksum(c.body), c.sum) << c.body;
}

TEST(MessageReply, ClosedPortStillEchoesAndSaysNotSent) {
    ReplyRig rig;
    rig.port.opened = false;
    rig.app.st.marks.PGMmessage = "Idle";
    rig.app.messageReply.CommandMsgSEND_Click();
    EXPECT_EQ(rig.port.written, "");
    EXPECT_EQ(rig.app.st.marks.PGMmessage, kReplyNotSentClosed);
    EXPECT_EQ(rig.app.st.Form5Message.LabelReplySentString.rfind("Reply SENT>> $GPWMS,QUORVEL,,", 0), 0u);

    // And with no serial port at all.
    rig.app.ctx.serial = nullptr;
    rig.app.st.marks.PGMmessage.clear();
    rig.app.messageReply.CommandMsgSEND_Click();
    EXPECT_EQ(rig.app.st.marks.PGMmessage, kReplyNotSentClosed);

    // An open port leaves the status field alone.
    rig.app.ctx.serial = &rig.port;
    rig.port.opened = true;
    rig.app.st.marks.PGMmessage = "Idle";
    rig.app.messageReply.CommandMsgSEND_Click();
    EXPECT_EQ(rig.app.st.marks.PGMmessage, "Idle");
    EXPECT_FALSE(rig.port.written.empty());
}

TEST(MessageReply, FieldsAreCutToTheirLengths) {
    ReplyRig rig;
    rig.type("ABCDEFGHIJKLMNOP", std::string(50, 'x'));
    EXPECT_EQ(rig.app.st.Form5Message.TextMsgFrom, "ABCDEFGHIJ");
    EXPECT_EQ(rig.app.st.Form5Message.TextMsgSend, std::string(39, 'x'));
    // A cut never leaves half a character: "é" is two bytes at 9..10.
    rig.type("ABCDEFGHI\xC3\xA9", "");
    EXPECT_EQ(rig.app.st.Form5Message.TextMsgFrom, "ABCDEFGHI");
}

TEST(MessageReply, ReceivedMessageOpensTheWindowAndKeepsItsFields) {
    ReplyRig rig;
    EXPECT_FALSE(rig.app.st.Form5Message.created);
    rig.app.receive.replayLine("KB7XYZ>APRS,WIDE2-1::QUORVEL  :Need water at camp 3{12");
    ASSERT_EQ(rig.window.shown.size(), 1u);
    EXPECT_TRUE(rig.app.st.Form5Message.created);
    EXPECT_TRUE(rig.app.st.Form5Message.visible);
    const std::string& caption = rig.window.shown[0];
    const std::string tail = " Message from :QUORVEL  :Need water at camp 3{12";
    ASSERT_GE(caption.size(), tail.size());
    EXPECT_EQ(caption.substr(caption.size() - tail.size()), tail);
    EXPECT_NE(rig.tmp.read("quorvelmessages.txt").find("Need water"), std::string::npos);

    rig.type("W7OPS", "ON THE WAY");
    rig.app.receive.replayLine("KB7XYZ>APRS::QUORVEL  :Thanks{13");
    ASSERT_EQ(rig.window.shown.size(), 2u);
    EXPECT_NE(rig.window.shown[1].find(":Thanks{13"), std::string::npos);
    EXPECT_EQ(rig.app.st.Form5Message.TextMsgFrom, "W7OPS");
    EXPECT_EQ(rig.app.st.Form5Message.TextMsgSend, "ON THE WAY");

    rig.window.onSend();
    EXPECT_EQ(rig.port.written.rfind("$GPWMS,W7OPS,ON THE WAY,00097E,01,01,0F,260304,070809,000000*", 0), 0u);
}

namespace {

// The TNC's end of a pseudo-terminal; the program opens the other end as its
// serial port.
struct TncEnd {
    int master = -1;
    std::string device;

    TncEnd() {
        master = ::posix_openpt(O_RDWR | O_NOCTTY);
        if (master < 0 || ::grantpt(master) != 0 || ::unlockpt(master) != 0) return;
        device = ::ptsname(master);
        ::fcntl(master, F_SETFL, ::fcntl(master, F_GETFL) | O_NONBLOCK);
    }
    ~TncEnd() {
        if (master >= 0) ::close(master);
    }
    // Everything received until a line feed arrives or five seconds pass.
    std::string line() const {
        std::string got;
        QElapsedTimer t;
        t.start();
        while (got.find('\n') == std::string::npos && t.elapsed() < 5000) {
            QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
            char buf[256];
            ssize_t n;
            while ((n = ::read(master, buf, sizeof buf)) > 0)
                got.append(buf, static_cast<std::size_t>(n));
            ::usleep(1000);
        }
        return got;
    }
};

} // namespace

TEST(MessageReply, ReplyReachesTheTncOverARealSerialLine) {
    static int argc = 1;
    static char name[] = "test_intake";
    static char* argv[] = {name, nullptr};
    if (!QCoreApplication::instance()) new QCoreApplication(argc, argv);

    TncEnd tnc;
    ASSERT_FALSE(tnc.device.empty());
    ReplyRig rig;
    QtSerialPort port;
    port.setPort(tnc.device);
    port.setSettings("9600,N,8,1");
    ASSERT_NO_THROW(port.open());
    rig.app.ctx.serial = &port;

    const std::string stamp = ",00097E,01,01,0F,260304,070809,000000";
    for (const auto& [from, text] : std::vector<std::pair<std::string, std::string>>{
             {"QUORVEL", ""}, {"QUORVEL", "CAMP*3"}, {"QUORVEL", "6"}, {"W7OPS", "ON THE WAY"}}) {
        SCOPED_TRACE(text);
        rig.type(from, text);
        rig.app.messageReply.CommandMsgSEND_Click();
        const std::string got = tnc.line();
        const std::string body = "$GPWMS," + from + "," + text + stamp;
        const std::string covered =
            body.substr(1, body.find('*') == std::string::npos ? std::string::npos : body.find('*') - 1);
        char hex[3];
        std::snprintf(hex, sizeof hex, "%02X", xorOf(covered));
        EXPECT_EQ(got, body + "*" + hex + "\r\n");
        if (text == "6") {
            EXPECT_EQ(std::string(hex), "0A") << "the case below 16 this date gives";
        }
    }
    rig.app.ctx.serial = nullptr;
    port.close();
}
