// The serial link: port handling against a hand-fed port, and the real port
// code against a pseudo-terminal standing in for the TNC.
#include "intake/SerialLink.h"
#include "core/Context.h"
#include "core/ErrorLog.h"
#include "core/Failure.h"
#include "core/Station.h"
#include "core/WorkDir.h"
#include "intake/ReceiveHandler.h"
#include "platform/QtSerialPort.h"
#include "platform/SerialSettings.h"
#include "platform/SpeedDialog.h"
#include "support/FakeSerialPort.h"
#include "support/Fakes.h"
#include "support/RecordingSteps.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QElapsedTimer>

#include <cerrno>
#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

namespace qv::test {
namespace {

struct LinkSteps : RecordingSteps {
    int saves = 0, ends = 0;
    std::vector<std::string> lines; // dataline as the classifier saw it
    void savesettings() override { ++saves; }
    void endProgram() override { ++ends; }
    void inspectdataline() override {
        RecordingSteps::inspectdataline();
        lines.push_back(dataline ? *dataline : "");
    }
    const std::string* dataline = nullptr;
};

struct Rig {
    explicit Rig(SerialPort* port = nullptr) : dir(tmp.path()), log(dir, clock), ctx{st, dir, log, ui, clock, steps} {
        ctx.serial = port ? port : &fake;
        steps.dataline = &st.report.dataline;
    }
    TempDir tmp;
    Station st;
    WorkDir dir;
    FakeClock clock;
    FakeUi ui;
    LinkSteps steps;
    ErrorLog log;
    FakeSerialPort fake;
    Context ctx;
    SerialLink link{ctx};
};

struct ScriptedSpeedDialog : SpeedDialog {
    int shownWith = -99, answer = kCancelled;
    int showModal(int preselected) override {
        shownWith = preselected;
        return answer;
    }
};

TEST(SerialLink, OpenportAsksOnlyForPortOneOrNoneAndGreetsTheTnc) {
    struct Case {
        std::string comport, answer;
        bool asks;
        std::string port; // opened, "" when not
        int ends;
    };
    const std::vector<Case> cases = {
        {"1", "3", true, "3", 0}, {"", "/dev/ttyUSB0", true, "/dev/ttyUSB0", 0},  {"1", "", true, "", 1},
        {"2", "", false, "2", 0}, {"/dev/ttyACM0", "", false, "/dev/ttyACM0", 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.comport + " -> " + c.answer);
        Rig r;
        r.st.link.comport = c.comport;
        r.ui.inputs.push_back(c.answer);
        r.link.openport();
        EXPECT_EQ(r.ui.prompts.size(), c.asks ? 1u : 0u);
        EXPECT_EQ(r.steps.ends, c.ends);
        if (c.ends) {
            EXPECT_FALSE(r.fake.opened);
            continue;
        }
        EXPECT_EQ(r.steps.saves, c.asks ? 1 : 0);
        EXPECT_TRUE(r.fake.opened);
        EXPECT_EQ(r.fake.portName, c.port);
        EXPECT_EQ(r.fake.written, "QUORVEL is ONLINE\r");
        EXPECT_EQ(r.st.link.INcomport, "IN com port " + c.port);
        EXPECT_EQ(r.st.marks.PGMmessage,
                  "Waiting to confirm com activity on port " + c.port + " at speed " + r.st.link.comSettings);
    }
}

TEST(SerialLink, OpenFailuresAreExplainedAndLogged) {
    struct Case {
        int failure;
        std::string text;
        bool closed;
    };
    const std::vector<Case> cases = {
        {8002, "COM PORT SPECIFIED DOES NOT EXIST OR HAS FAILED.\rPlease specify a valid com port to continue.", false},
        {8005,
         "Port already open\r(Another application may be using it.)\rResolve the problem and re-Open the Port in "
         "Quorvel.",
         true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.failure);
        {
            Rig r;
            r.st.link.comport = "4";
            r.fake.openFailure = c.failure;
            r.link.openport();
            ASSERT_EQ(r.ui.messages.size(), 1u);
            EXPECT_EQ(r.ui.messages[0].text, c.text);
            EXPECT_EQ(r.ui.messages[0].title, "COM PORT ERROR");
            EXPECT_EQ(r.ui.messages[0].icon, Icon::Critical);
            EXPECT_EQ(r.st.link.openportcmdEnabled, c.closed);
            EXPECT_NE(r.tmp.read("quorvel.err").find(std::to_string(c.failure)), std::string::npos);
            EXPECT_NE(r.tmp.read("quorvel.err").find(" in SUB OPENPORT "), std::string::npos);
            EXPECT_EQ(r.st.link.INcomport, "IN com port 4"); // start-up goes on
            EXPECT_EQ(r.fake.written, "");
        }
        {
            Rig r;
            r.st.link.comport = "4";
            r.fake.openFailure = c.failure;
            r.st.link.openportcmdEnabled = true;
            r.st.link.closeportcmdEnabled = false;
            r.link.openportcmd_Click();
            ASSERT_EQ(r.ui.messages.size(), 1u);
            EXPECT_EQ(r.ui.messages[0].text, c.text);
            EXPECT_FALSE(r.st.link.closeportcmdEnabled); // the button's work ended
            EXPECT_EQ(r.tmp.read("quorvel.err"), "");
        }
    }
}

TEST(SerialLink, OpenAndCloseButtonsToggle) {
    Rig r;
    r.st.link.comport = "2";
    r.st.report.incomingdata = "old";
    r.link.openportcmd_Click();
    EXPECT_TRUE(r.fake.opened);
    EXPECT_TRUE(r.st.link.closeportcmdEnabled);
    EXPECT_FALSE(r.st.link.openportcmdEnabled);
    EXPECT_EQ(r.st.report.incomingdata, "");
    EXPECT_EQ(r.st.report.incomingdataBack, fromRgb(0xFFFF00));
    r.link.closeportcmd_Click();
    EXPECT_FALSE(r.fake.opened);
    EXPECT_FALSE(r.st.link.closeportcmdEnabled);
    EXPECT_TRUE(r.st.link.openportcmdEnabled);
    EXPECT_EQ(r.st.marks.PGMmessage, "<<< NOTICE >>> COM PORT CLOSED!!!");
    EXPECT_EQ(r.st.display.PGMmessageBack, fromRgb(0xFFFF00));

    // Port 0 is no port: nothing is opened and the user is told why.
    Rig z;
    z.st.link.comport = "0";
    z.link.openportcmd_Click();
    EXPECT_FALSE(z.fake.opened);
    ASSERT_EQ(z.ui.messages.size(), 1u);
    EXPECT_EQ(z.ui.messages[0].text,
              "THE COM PORT IS DISABLED (Set for com 0). Use the <Port> menu to designate a valid com port.");
    EXPECT_TRUE(z.st.link.openportcmdEnabled);
}

TEST(SerialLink, PortMenuChoosesPortAndSpeed) {
    struct Case {
        std::string answer, settingsBefore;
        int preselected, chosen;
        std::string settingsAfter;
        bool dialog, opened, buttons;
    };
    const std::vector<Case> cases = {
        {"5", "4800,n,8,1", 2, 0, "1200,N,8,1", true, true, true},
        {"5", "9600,N,8,1", 3, SpeedDialog::kCancelled, "9600,N,8,1", true, true, true},
        {"5", "19200,n,8,1", -1, 3, "9600,N,8,1", true, true, true},
        {"0", "4800,n,8,1", -99, 0, "4800,n,8,1", false, false, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.answer + " " + c.settingsBefore);
        Rig r;
        ScriptedSpeedDialog dialog;
        dialog.answer = c.chosen;
        r.link.form3 = &dialog;
        r.st.link.comSettings = c.settingsBefore;
        r.fake.opened = true;
        r.ui.inputs.push_back(c.answer);
        r.link.comportmenu_Click();
        EXPECT_EQ(r.st.link.comport, c.answer);
        EXPECT_EQ(dialog.shownWith, c.dialog ? c.preselected : -99);
        EXPECT_EQ(r.st.link.comSettings, c.settingsAfter);
        EXPECT_EQ(r.fake.opened, c.opened);
        EXPECT_EQ(r.st.link.portButtonsVisible, c.buttons);
        EXPECT_EQ(r.steps.saves, 1);
        if (c.dialog && c.chosen >= 0) {
            EXPECT_EQ(r.fake.settingsText, c.settingsAfter);
        }
    }
    // Cancel leaves the port as it was and the number empty.
    Rig r;
    r.fake.opened = true;
    r.ui.inputs.push_back("");
    r.link.comportmenu_Click();
    EXPECT_EQ(r.st.link.comport, "");
    EXPECT_TRUE(r.fake.opened);
    EXPECT_EQ(r.steps.saves, 0);
}

TEST(SerialLink, SendBoxSendsWithCrLfAndKeepsWhatCouldNotBeSent) {
    Rig r;
    r.link.DisplaySend_Click();
    EXPECT_TRUE(r.st.link.sendBoxVisible);
    EXPECT_FALSE(r.st.link.DisplaySendEnabled);
    EXPECT_TRUE(r.st.link.hidesendEnabled);
    r.fake.opened = true;
    r.st.link.sendtext = "MYCALL N0CALL";
    r.link.Sendkey_Click();
    EXPECT_EQ(r.fake.written, "MYCALL N0CALL\r\n");
    EXPECT_EQ(r.st.link.sendtext, "");
    EXPECT_TRUE(r.st.link.sendtextFocus);

    r.fake.opened = false;
    r.st.link.sendtextFocus = false;
    r.st.link.sendtext = "MONITOR ON";
    r.link.Sendkey_Click();
    EXPECT_EQ(r.st.link.sendtext, "MONITOR ON");
    EXPECT_FALSE(r.st.link.sendtextFocus);
    EXPECT_NE(r.tmp.read("quorvel.err").find(" in SUB SENDKEY_CLICK "), std::string::npos);

    r.link.hidesend_Click();
    EXPECT_FALSE(r.st.link.sendBoxVisible);
    EXPECT_TRUE(r.st.link.DisplaySendEnabled);
}

TEST(SerialLink, DoubleClickReinspectsTheIncomingDataField) {
    Rig r;
    r.st.report.incomingdata = "N0CALL>APRS:!4903.50N/07201.75W-typed";
    r.link.incomingdata_DblClick();
    ASSERT_EQ(r.steps.lines.size(), 1u);
    EXPECT_EQ(r.steps.lines[0], "N0CALL>APRS:!4903.50N/07201.75W-typed");
    EXPECT_EQ(r.st.report.dataline, "");
}

// ---- The real port against a pseudo-terminal -------------------------------

void ensureQtApp() {
    static int argc = 1;
    static char name[] = "test_intake";
    static char* argv[] = {name, nullptr};
    if (!QCoreApplication::instance()) new QCoreApplication(argc, argv);
}

// Runs Qt's events until `done` holds or a generous limit passes.
template <class Pred> bool waitFor(Pred done, int limitMs = 5000) {
    QElapsedTimer t;
    t.start();
    while (!done()) {
        if (t.elapsed() > limitMs) return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        ::usleep(1000);
    }
    return true;
}

void pumpFor(int ms) {
    QElapsedTimer t;
    t.start();
    while (t.elapsed() < ms) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        ::usleep(1000);
    }
}

// The TNC's end of the line.
struct Pty {
    Pty() {
        master = ::posix_openpt(O_RDWR | O_NOCTTY);
        if (master < 0 || ::grantpt(master) != 0 || ::unlockpt(master) != 0) return;
        slave = ::ptsname(master);
        ::fcntl(master, F_SETFL, ::fcntl(master, F_GETFL) | O_NONBLOCK);
    }
    ~Pty() {
        if (master >= 0) ::close(master);
    }
    void send(const std::string& s) const { ASSERT_EQ(::write(master, s.data(), s.size()), ssize_t(s.size())); }
    // What Quorvel wrote, once it contains `until`.
    std::string receive(const std::string& until) {
        waitFor([&] {
            char buf[256];
            ssize_t n;
            while ((n = ::read(master, buf, sizeof buf)) > 0)
                got.append(buf, static_cast<std::size_t>(n));
            return got.find(until) != std::string::npos;
        });
        return got;
    }
    int master = -1;
    std::string slave;
    std::string got;
};

struct PtyRig : Rig {
    PtyRig() : Rig(&port) {
        ensureQtApp();
        port.onEvent = [this] { receive.MSComm1_OnComm(); };
        st.link.comport = pty.slave;
    }
    ~PtyRig() { port.onEvent = nullptr; }
    Pty pty;
    QtSerialPort port;
    ReceiveHandler receive{ctx};
};

TEST(SerialPty, ReceivesLinesAsTheTncSendsThem) {
    PtyRig r;
    ASSERT_FALSE(r.pty.slave.empty());
    r.link.openport();
    ASSERT_TRUE(r.port.isOpen()) << r.tmp.read("quorvel.err");
    EXPECT_EQ(r.pty.receive("\r"), "QUORVEL is ONLINE\r");

    // Half a line is shown but not classified.
    r.pty.send("N0CALL>APRS:!4903.50N/0720");
    ASSERT_TRUE(waitFor([&] { return r.st.report.incomingdata == "N0CALL>APRS:!4903.50N/0720"; }));
    EXPECT_TRUE(r.steps.lines.empty());
    // Its CR completes it; the line feed after it never enters a line.
    r.pty.send("1.75W-Test\r\n");
    ASSERT_TRUE(waitFor([&] { return r.steps.lines.size() == 1; }));
    EXPECT_EQ(r.steps.lines[0], "N0CALL>APRS:!4903.50N/07201.75W-Test\r");

    // A line ending in CR only, and one whose ending arrives as a lone LF then CR.
    r.pty.send("W1AW>APRS:>status\r");
    ASSERT_TRUE(waitFor([&] { return r.steps.lines.size() == 2; }));
    EXPECT_EQ(r.steps.lines[1], "W1AW>APRS:>status\r");
    r.pty.send("K7ABC>APRS:>lf first\n");
    pumpFor(100);
    EXPECT_EQ(r.steps.lines.size(), 2u);
    r.pty.send("\r");
    ASSERT_TRUE(waitFor([&] { return r.steps.lines.size() == 3; }));
    EXPECT_EQ(r.steps.lines[2], "K7ABC>APRS:>lf first\r");
}

TEST(SerialPty, CharactersHeldBackByThePauseMarkAreReadWhenItEnds) {
    PtyRig r;
    r.link.openport();
    ASSERT_TRUE(r.port.isOpen());
    r.st.marks.commTag = kStopComm;
    r.pty.send("N0CALL>APRS:>held back\r");
    ASSERT_TRUE(waitFor([&] { return r.port.inBufferCount() > 0; }));
    pumpFor(200);
    EXPECT_TRUE(r.steps.lines.empty());
    EXPECT_EQ(r.st.report.incomingdata, "");
    // No new character arrives: what waits in the port is read all the same.
    r.st.marks.commTag = kStartComm;
    ASSERT_TRUE(waitFor([&] { return r.steps.lines.size() == 1; }));
    EXPECT_EQ(r.steps.lines[0], "N0CALL>APRS:>held back\r");
}

TEST(SerialPty, SendBoxTextReachesTheTnc) {
    PtyRig r;
    r.link.openport();
    ASSERT_TRUE(r.port.isOpen());
    r.pty.receive("\r");
    r.pty.got.clear();
    r.st.link.sendtext = "MYCALL N0CALL-1";
    r.link.Sendkey_Click();
    EXPECT_EQ(r.pty.receive("\n"), "MYCALL N0CALL-1\r\n");
}

TEST(SerialPty, MissingDeviceAndDeviceInUse) {
    ensureQtApp();
    for (const std::string port : {"/dev/quorvel-no-such-tty", "0", "", "abc"}) {
        SCOPED_TRACE(port);
        QtSerialPort p;
        p.setPort(port);
        try {
            p.open();
            ADD_FAILURE() << "opened";
        } catch (const Failure& f) {
            EXPECT_EQ(f.number(), 8002);
        }
    }
    Pty pty;
    QtSerialPort first, second;
    first.setPort(pty.slave);
    first.open();
    ASSERT_TRUE(first.isOpen());
    second.setPort(pty.slave);
    try {
        second.open();
        ADD_FAILURE() << "opened twice";
    } catch (const Failure& f) {
        EXPECT_EQ(f.number(), 8005);
        EXPECT_EQ(f.description(), "Port already open");
    }
    // Once closed, the device is free again.
    first.close();
    second.open();
    EXPECT_TRUE(second.isOpen());
}

TEST(SerialPty, PortNamesAndSettings) {
    EXPECT_EQ(serialDevice("1"), "/dev/ttyS0");
    EXPECT_EQ(serialDevice(" 12 "), "/dev/ttyS11");
    EXPECT_EQ(serialDevice("COM3"), "/dev/ttyS2");
    EXPECT_EQ(serialDevice("/dev/ttyUSB0"), "/dev/ttyUSB0");
    EXPECT_EQ(serialDevice("0"), "");
    EXPECT_EQ(serialDevice("-2"), "");
    const auto s = parseSerialSettings("4800,e,7,2");
    EXPECT_EQ(s.baud, 4800);
    EXPECT_EQ(s.parity, 'E');
    EXPECT_EQ(s.dataBits, 7);
    EXPECT_EQ(s.stopBits, 2);
    for (const char* bad : {"", "9600", "9600,N,8", "fast,N,8,1", "9600,X,8,1", "9600,N,9,1", "9600,N,8,3"}) {
        SCOPED_TRACE(bad);
        EXPECT_THROW(parseSerialSettings(bad), Failure);
    }
}

} // namespace
} // namespace qv::test
