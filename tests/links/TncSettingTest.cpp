// The TNC setting as the operator handles it: saved so that older versions
// still read the file, overridden for one run by --tnc, chosen in the Port
// menu from the serial devices present, and the station's own callsign.
#include "links/TncPort.h"
#include "platform/SerialDevices.h"
#include "platform/SpeedDialog.h"
#include "shell/App.h"
#include "shell/Headless.h"
#include "support/FakeSerialPort.h"
#include "support/Fakes.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace qv::test {
namespace {

std::vector<std::string> crlfLines(const std::string& text) {
    std::vector<std::string> out;
    for (std::size_t at = 0, end; (end = text.find("\r\n", at)) != std::string::npos; at = end + 2)
        out.push_back(text.substr(at, end - at));
    return out;
}

struct Rig {
    explicit Rig(const TempDir& tmp) : app(tmp.path(), ui, clock) { app.attachSerial(&port); }
    ~Rig() { app.attachSerial(nullptr); }
    FakeClock clock;
    FakeUi ui;
    FakeSerialPort port;
    App app;
};

TEST(TncSetting, ANetworkTncIsSavedBesideANumberOlderVersionsRead) {
    struct Case {
        std::string tnc, myCall;
        std::string line3, comport; // as written
        std::vector<std::string> extra;
    };
    const std::vector<Case> cases = {
        {"kiss-tcp:127.0.0.1:8001",
         "N0QRV-5",
         "0",
         "\"COMPORT\",0",
         {"\"TNC\",\"kiss-tcp:127.0.0.1:8001\"", "\"MYCALL\",\"N0QRV-5\""}},
        {"kiss:/dev/rfcomm0", "", "0", "\"COMPORT\",0", {"\"TNC\",\"kiss:/dev/rfcomm0\""}},
        {"agw:radio:8000", "", "0", "\"COMPORT\",0", {"\"TNC\",\"agw:radio:8000\""}},
        {"3", "", "3", "\"COMPORT\",3", {}},
        {"/dev/ttyUSB0", "", "/dev/ttyUSB0", "\"COMPORT\",\"/dev/ttyUSB0\"", {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.tnc);
        TempDir tmp;
        std::string written;
        {
            Rig s(tmp);
            s.app.st.link.comport = c.tnc;
            s.app.st.link.myCallsign = c.myCall;
            s.app.savesettings();
            written = tmp.read("quorvel.cfg");
        }
        const auto lines = crlfLines(written);
        ASSERT_GT(lines.size(), 20u);
        EXPECT_EQ(lines[2], c.line3);
        EXPECT_NE(std::find(lines.begin(), lines.end(), c.comport), lines.end());
        // The new records come last, after every record older versions know.
        const std::vector<std::string> tail(lines.end() - static_cast<std::ptrdiff_t>(c.extra.size()), lines.end());
        EXPECT_EQ(tail, c.extra);

        Rig back(tmp);
        back.app.settings.getsettings();
        EXPECT_EQ(back.app.st.link.comport, c.tnc);
        EXPECT_EQ(back.app.st.link.myCallsign, c.myCall);
        EXPECT_TRUE(back.app.st.link.portButtonsVisible);
        EXPECT_EQ(configText(back.app.st), written);
    }
}

TEST(TncSetting, TncOfTheCommandLineIsUsedForTheRunAndNeverSaved) {
    TempDir tmp;
    {
        Rig s(tmp);
        s.app.st.link.comport = "kiss:/dev/ttyUSB0";
        s.app.savesettings();
    }
    Rig s(tmp);
    s.app.st.link.tncOverride = "agw:127.0.0.1:8000";
    s.app.startup.Form_Load();
    EXPECT_EQ(s.app.st.link.comport, "agw:127.0.0.1:8000");
    EXPECT_EQ(s.port.portName, "agw:127.0.0.1:8000");
    s.app.st.slots[1].CallsignID = "W1AW";
    s.app.savesettings();
    const std::string after = tmp.read("quorvel.cfg");
    EXPECT_NE(after.find("\"TNC\",\"kiss:/dev/ttyUSB0\""), std::string::npos) << after;
    EXPECT_EQ(after.find("agw:"), std::string::npos) << after;
    // Start-up again (a telnet connect runs it) reads the file and keeps the override.
    s.app.startup.Form_Load();
    EXPECT_EQ(s.app.st.link.comport, "agw:127.0.0.1:8000");
    s.app.savesettings();
    EXPECT_EQ(tmp.read("quorvel.cfg"), after);

    // Choosing a TNC in the Port menu makes it the station's.
    s.ui.inputs = {"kiss-tcp:127.0.0.1:8001"};
    s.app.link.comportmenu_Click();
    EXPECT_EQ(s.app.st.link.tncOverride, "");
    EXPECT_NE(tmp.read("quorvel.cfg").find("\"TNC\",\"kiss-tcp:127.0.0.1:8001\""), std::string::npos);
}

TEST(TncSetting, CommandLineTakesTncInEitherFormAndRefusesWhatNamesNone) {
    struct Case {
        std::vector<std::string> args;
        std::string tnc;
        bool refused;
    };
    const std::vector<Case> cases = {
        {{"--headless", "--tnc", "kiss-tcp:127.0.0.1:8001"}, "kiss-tcp:127.0.0.1:8001", false},
        {{"--tnc=agw:localhost"}, "agw:localhost", false},
        {{"--tnc", "/dev/ttyUSB0", "import"}, "/dev/ttyUSB0", false},
        {{"--tnc", "0"}, "0", false},
        {{"--tnc"}, "", true},
        {{"--tnc", "bogus"}, "bogus", true},
        {{"--tnc=kiss-tcp:host:99999"}, "kiss-tcp:host:99999", true},
    };
    for (const auto& c : cases) {
        const CommandLine cl = parseCommandLine(c.args);
        EXPECT_EQ(!cl.error.empty(), c.refused) << c.args.back() << ": " << cl.error;
        if (!c.refused) {
            EXPECT_EQ(cl.tnc, c.tnc);
        }
    }
}

struct NoSpeed : SpeedDialog {
    int shown = 0;
    int showModal(int) override {
        ++shown;
        return kCancelled;
    }
};

TEST(TncSetting, PortMenuOffersTheDevicesPresentAndAsksNoSpeedOfANetworkTnc) {
    TempDir tmp;
    Rig s(tmp);
    NoSpeed speed;
    s.app.link.form3 = &speed;
    s.app.link.devicesPresent = [] {
        return std::vector<std::string>{"/dev/serial/by-id/usb-TNC-if00", "/dev/rfcomm0"};
    };
    s.app.st.link.comport = "3";
    s.ui.inputs = {"agw:127.0.0.1:8000"};
    s.app.link.comportmenu_Click();
    ASSERT_EQ(s.ui.offered.size(), 1u);
    EXPECT_EQ(s.ui.offered[0], (std::vector<std::string>{"/dev/serial/by-id/usb-TNC-if00", "/dev/rfcomm0",
                                                         "kiss:/dev/serial/by-id/usb-TNC-if00", "kiss:/dev/rfcomm0",
                                                         "kiss-tcp:127.0.0.1:8001", "agw:127.0.0.1:8000"}));
    EXPECT_NE(s.ui.prompts[0].find("kiss-tcp:HOST:PORT"), std::string::npos);
    EXPECT_EQ(speed.shown, 0);
    EXPECT_EQ(s.port.portName, "agw:127.0.0.1:8000");
    EXPECT_TRUE(s.port.opened);

    s.ui.inputs = {"kiss:/dev/rfcomm0"};
    s.app.link.comportmenu_Click();
    EXPECT_EQ(speed.shown, 1); // KISS over a serial device has a speed
}

TEST(TncSetting, SerialDevicesByIdFirstAndEachDeviceOnce) {
    TempDir tmp;
    namespace fs = std::filesystem;
    const fs::path dev = tmp.path() / "dev";
    for (const char* d : {"ttyUSB0", "ttyUSB1", "rfcomm0", "ttyACM0", "ttyS0", "tty1", "null"})
        tmp.write(std::string("dev/") + d, "");
    fs::create_directories(dev / "serial" / "by-id");
    fs::create_symlink("../../ttyUSB0", dev / "serial" / "by-id" / "usb-Argent_TNC-if00-port0");
    fs::create_symlink("../../ttyACM0", dev / "serial" / "by-id" / "usb-Kenwood_TH-D74-if00");
    const auto got = serialDevicesPresent(dev);
    EXPECT_EQ(got, (std::vector<std::string>{(dev / "serial/by-id/usb-Argent_TNC-if00-port0").string(),
                                             (dev / "serial/by-id/usb-Kenwood_TH-D74-if00").string(),
                                             (dev / "rfcomm0").string(), (dev / "ttyUSB1").string()}));
    EXPECT_TRUE(serialDevicesPresent(tmp.path() / "nothing").empty());
}

TEST(TncSetting, MyCallsignIsCheckedAndFollowsTheLoginNameUntilSet) {
    TempDir tmp;
    Rig s(tmp);
    EXPECT_EQ(stationCallsign(s.app.st), ""); // the login name's placeholder "none"
    s.app.st.telnet.loginName = "w1aw";
    EXPECT_EQ(stationCallsign(s.app.st), "W1AW");
    s.ui.inputs = {"n0qrv-7"};
    s.app.link.mycallmenu_Click();
    EXPECT_EQ(s.app.st.link.myCallsign, "N0QRV-7");
    EXPECT_EQ(stationCallsign(s.app.st), "N0QRV-7");
    EXPECT_NE(tmp.read("quorvel.cfg").find("\"MYCALL\",\"N0QRV-7\""), std::string::npos);

    s.ui.inputs = {"N0QRV-77"};
    s.app.link.mycallmenu_Click();
    ASSERT_EQ(s.ui.messages.size(), 1u);
    EXPECT_EQ(s.app.st.link.myCallsign, "N0QRV-7");

    s.ui.inputs = {""}; // cancelled
    s.app.link.mycallmenu_Click();
    EXPECT_EQ(s.app.st.link.myCallsign, "N0QRV-7");

    s.ui.inputs = {"W1AW"}; // the login name: follow it again
    s.app.link.mycallmenu_Click();
    EXPECT_EQ(s.app.st.link.myCallsign, "");
    EXPECT_EQ(tmp.read("quorvel.cfg").find("MYCALL"), std::string::npos);
}

} // namespace
} // namespace qv::test
