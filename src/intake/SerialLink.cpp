// Port handling of the serial link.
#include "intake/SerialLink.h"

#include "core/Context.h"
#include "core/ErrorLog.h"
#include "core/Failure.h"
#include "core/Station.h"
#include "core/Steps.h"
#include "core/Text.h"
#include "links/Ax25.h"
#include "links/TncSpec.h"
#include "platform/SerialDevices.h"
#include "platform/SerialPort.h"
#include "platform/SerialSettings.h"
#include "platform/SpeedDialog.h"
#include "platform/Timer.h"
#include "platform/Ui.h"

#include <array>

namespace qv {

namespace {

constexpr const char* kOpenportMarker = " in SUB OPENPORT ";
constexpr const char* kPortTitle = "QUORVEL - Set COM PORT";
constexpr const char* kErrorTitle = "COM PORT ERROR";
constexpr std::array<const char*, 4> kSpeeds = {"1200,N,8,1", "2400,N,8,1", "4800,N,8,1", "9600,N,8,1"};

} // namespace

std::string stationCallsign(const Station& st) {
    const std::string call =
        text::upper(text::trim(st.link.myCallsign.empty() ? st.telnet.loginName : st.link.myCallsign));
    // The login name of a station that never set one is no callsign to transmit under.
    return call == "NONE" ? std::string() : call;
}

std::string SerialLink::waitingMessage() const {
    const auto& l = ctx_.st.link;
    // A network TNC has no speed.
    if (overTcp(parseTncSpec(l.comport).kind)) return "Waiting to confirm com activity on port " + l.comport;
    return "Waiting to confirm com activity on port " + l.comport + " at speed " + l.comSettings;
}

void SerialLink::openTheTnc(SerialPort& port) {
    port.setPort(ctx_.st.link.comport);
    port.setStationCallsign(stationCallsign(ctx_.st));
    port.open();
    watchConnecting(port);
}

void SerialLink::showOpenFailure(int number, const std::string& description) {
    if (number == err::PortInUse) {
        closeportcmd_Click();
        ctx_.ui.message(description + "\r(Another application may be using it.)\rResolve the problem and re-Open the "
                                      "Port in Quorvel.",
                        kErrorTitle, Buttons::Ok, Icon::Critical);
    } else {
        ctx_.ui.message(
            "COM PORT SPECIFIED DOES NOT EXIST OR HAS FAILED.\rPlease specify a valid com port to continue.",
            kErrorTitle, Buttons::Ok, Icon::Critical);
    }
}

void SerialLink::openport() {
    auto& st = ctx_.st;
    auto& l = st.link;
    SerialPort* port = ctx_.serial;
    if (l.comport == "1" || text::trim(l.comport).empty()) {
        const std::string answer =
            ctx_.ui.input("Enter the COM Port Number\rto used for TNC connection", kPortTitle, "1");
        l.comport = text::trim(answer);
        if (l.comport.empty()) {
            // The user declined to name a port.
            ctx_.steps.endProgram();
            return;
        }
        if (port && !port->isOpen()) ctx_.log.guard(kOpenportMarker, [&] { port->setPort(l.comport); });
        ctx_.steps.savesettings();
    }
    try {
        if (!port) throw Failure(err::NoSuchPort);
        if (!port->isOpen()) {
            ctx_.ui.beep();
            openTheTnc(*port);
        }
    } catch (const Failure& f) {
        if (f.number() == err::NoSuchPort || f.number() == err::PortInUse) showOpenFailure(f.number(), f.description());
        ctx_.log.entry(f, kOpenportMarker);
        // A USB TNC not plugged in yet when the station starts is taken up
        // when it comes; a setting that names no TNC never will be.
        if (f.number() == err::NoSuchPort && port && ctx_.timerTnc && parseTncSpec(l.comport).kind != TncKind::None) {
            lostReason_ = f.description();
            l.reopening = true;
            ctx_.timerTnc->setEnabled(true);
        }
    }
    l.INcomport = "IN com port " + l.comport;
    // A greeting to a port that did not open would only fail a second time;
    // a KISS or AGWPE TNC takes packets, not text.
    if (port && port->isOpen() && !port->carriesFrames())
        ctx_.log.guard(kOpenportMarker, [&] { port->write("QUORVEL is ONLINE\r"); });
    st.marks.PGMmessage = waitingMessage();
    showStatus();
}

void SerialLink::openportcmd_Click() {
    auto& st = ctx_.st;
    auto& l = st.link;
    SerialPort* port = ctx_.serial;
    st.marks.PGMmessage = "OpeningComPort";
    // Port 0 is no port: there is nothing to open, only the notice below to give.
    const bool given = portGiven(l.comport);
    if (given) {
        try {
            if (!port) throw Failure(err::NoSuchPort);
            if (!port->isOpen()) openTheTnc(*port);
        } catch (const Failure& f) {
            showOpenFailure(f.number(), f.description());
            showStatus();
            return;
        }
        if (l.reopening && port->connected()) stopReopening();
    }
    l.closeportcmdEnabled = true;
    l.openportcmdEnabled = false;
    l.INcomport = "IN com port " + l.comport;
    st.report.incomingdata.clear();
    st.report.incomingdataBack = fromRgb(0xFFFF00);
    st.marks.PGMmessage = waitingMessage();
    if (!given) {
        closeportcmd_Click();
        ctx_.ui.message("THE COM PORT IS DISABLED (Set for com 0). Use the <Port> menu to designate a valid com port.",
                        "Quorvel", Buttons::Ok);
    }
    showStatus();
}

void SerialLink::closeportcmd_Click() {
    auto& st = ctx_.st;
    st.marks.PGMmessage = "ClosingComPort";
    stopReopening();
    if (ctx_.serial) {
        // Closed also when the device already went away: the port then lets
        // go of what it kept for the receive handler.
        const bool wasOpen = ctx_.serial->isOpen();
        ctx_.serial->close();
        if (wasOpen) ctx_.ui.refresh();
    }
    st.link.closeportcmdEnabled = false;
    st.link.openportcmdEnabled = true;
    st.display.PGMmessageBack = fromRgb(0xFFFF00);
    st.marks.PGMmessage = "<<< NOTICE >>> COM PORT CLOSED!!!";
    showStatus();
}

void SerialLink::comportmenu_Click() {
    auto& l = ctx_.st.link;
    SerialPort* port = ctx_.serial;
    // The serial devices present, as they are and as KISS TNCs, and the
    // usual addresses of a soundcard modem on this machine.
    const std::vector<std::string> devices = devicesPresent ? devicesPresent() : serialDevicesPresent();
    std::vector<std::string> offers = devices;
    for (const auto& d : devices)
        offers.push_back("kiss:" + d);
    offers.push_back("kiss-tcp:127.0.0.1:" + std::to_string(kKissTcpDefaultPort));
    offers.push_back("agw:127.0.0.1:" + std::to_string(kAgwDefaultPort));
    const std::string answer = ctx_.ui.choose(
        "Enter the COM Port Number\rto used for TNC connection.\r(current port shown)\r[Use 0 for no port]\r"
        "Or a device (/dev/ttyUSB0), kiss:DEVICE for a KISS TNC,\rkiss-tcp:HOST:PORT or agw:HOST:PORT for a network "
        "TNC",
        kPortTitle, l.comport, offers);
    l.comport = text::trim(answer);
    if (l.comport.empty()) return;
    // A TNC chosen here is this station's from now on, whatever --tnc said.
    l.tncOverride.clear();
    stopReopening();
    if (port && port->isOpen()) {
        port->close();
        ctx_.ui.refresh();
    }
    const bool given = portGiven(l.comport);
    // A network TNC has no speed to choose.
    if (given && !overTcp(parseTncSpec(l.comport).kind)) {
        if (port) ctx_.log.guard(" in SUB COMPORTMENU_CLICK ", [&] { port->setPort(l.comport); });
        DefaultSpeedDialog keep;
        SpeedDialog& dialog = form3 ? *form3 : keep;
        const int chosen = dialog.showModal(speedIndex(l.comSettings));
        if (chosen != SpeedDialog::kCancelled) Command_OK_Click(chosen);
    }
    ctx_.steps.savesettings();
    if (given) {
        l.portButtonsVisible = true;
        openportcmd_Click();
    } else {
        closeportcmd_Click();
        l.portButtonsVisible = false;
    }
}

void SerialLink::showPortButtons() { ctx_.st.link.portButtonsVisible = true; }

int SerialLink::speedIndex(const std::string& settings) {
    for (std::size_t i = 0; i < kSpeeds.size(); ++i)
        if (text::iequals(settings, kSpeeds[i])) return static_cast<int>(i);
    return -1;
}

void SerialLink::Command_OK_Click(int index) {
    if (index < 0 || index >= static_cast<int>(kSpeeds.size())) return;
    const std::string settings = kSpeeds[static_cast<std::size_t>(index)];
    if (ctx_.serial) ctx_.serial->setSettings(settings);
    ctx_.st.link.comSettings = settings;
}

void SerialLink::DisplaySend_Click() {
    auto& l = ctx_.st.link;
    l.sendBoxVisible = true;
    l.DisplaySendEnabled = false;
    l.hidesendEnabled = true;
}

void SerialLink::hidesend_Click() {
    auto& l = ctx_.st.link;
    l.sendBoxVisible = false;
    l.DisplaySendEnabled = true;
    l.hidesendEnabled = false;
}

void SerialLink::Sendkey_Click() {
    auto& l = ctx_.st.link;
    // What could not be sent stays in the box (the focus, which clears it, is
    // not taken back), so nothing typed is lost.
    const bool sent = ctx_.log.guard(" in SUB SENDKEY_CLICK ", [&] {
        if (!ctx_.serial || !ctx_.serial->isOpen()) throw Failure(8018);
        ctx_.serial->write(l.sendtext + "\r\n");
    });
    if (!sent) return;
    l.sendtext.clear();
    l.sendtextFocus = true;
}

void SerialLink::sendtext_GotFocus() { ctx_.st.link.sendtext.clear(); }

void SerialLink::incomingdata_DblClick() {
    auto& r = ctx_.st.report;
    r.dataline = r.incomingdata;
    ctx_.steps.inspectdataline();
    r.dataline.clear();
}

void SerialLink::attach() {
    if (ctx_.serial) ctx_.serial->onStatus = [this] { portStatus(); };
    if (Timer* t = ctx_.timerTnc) {
        t->setEnabled(false);
        t->setInterval(kReopenMs);
        t->onTimeout = [this] { TimerTnc_Timer(); };
    }
}

void SerialLink::detach() {
    if (ctx_.serial) ctx_.serial->onStatus = nullptr;
    if (ctx_.timerTnc) {
        ctx_.timerTnc->setEnabled(false);
        ctx_.timerTnc->onTimeout = nullptr;
    }
}

void SerialLink::stopReopening() {
    ctx_.st.link.reopening = false;
    connectTicks_ = 0;
    if (ctx_.timerTnc) ctx_.timerTnc->setEnabled(false);
}

// A network TNC that has not answered yet is looked after by the timer: a
// connect that hangs (an address nobody answers) is dropped and tried again.
void SerialLink::watchConnecting(SerialPort& port) {
    connectTicks_ = 0;
    if (ctx_.timerTnc && port.isOpen() && !port.connected()) ctx_.timerTnc->setEnabled(true);
}

void SerialLink::tncLost() {
    auto& l = ctx_.st.link;
    if (ctx_.serial) lostReason_ = ctx_.serial->lostReason();
    closeportcmd_Click();
    if (!ctx_.timerTnc || !ctx_.serial) return;
    l.reopening = true;
    // Close Port stops the attempts; Open Port makes one at once.
    l.closeportcmdEnabled = true;
    l.openportcmdEnabled = true;
    ctx_.st.marks.PGMmessage = "<<< NOTICE >>> TNC GONE - reopening it as soon as it is back";
    ctx_.timerTnc->setEnabled(true);
    showStatus();
}

void SerialLink::TimerTnc_Timer() {
    auto& l = ctx_.st.link;
    SerialPort* port = ctx_.serial;
    if (!port) return;
    if (port->isOpen()) {
        if (port->connected()) {
            portStatus();
            return;
        }
        if (++connectTicks_ < kConnectTicks) return;
        // No answer: this attempt is given up, the next tick makes another.
        if (!l.reopening)
            ctx_.log.entry(8020, "Error reading comm device: no answer from the TNC at " + l.comport,
                           " in SUB MSCOMM1_ONCOMM ");
        lostReason_ = "no answer";
        port->close();
        l.reopening = true;
        l.closeportcmdEnabled = l.openportcmdEnabled = true;
        connectTicks_ = 0;
        ctx_.timerTnc->setEnabled(true);
        showStatus();
        return;
    }
    if (!l.reopening) {
        ctx_.timerTnc->setEnabled(false);
        return;
    }
    try {
        openTheTnc(*port);
    } catch (const Failure& f) {
        // Still away; the loss was reported when it happened.
        lostReason_ = f.description();
        showStatus();
        return;
    }
    ctx_.timerTnc->setEnabled(true);
    if (port->connected()) reopened();
}

void SerialLink::portStatus() {
    SerialPort* port = ctx_.serial;
    if (port && port->isOpen() && port->connected()) {
        connectTicks_ = 0;
        if (ctx_.st.link.reopening) {
            reopened();
            return;
        }
        if (ctx_.timerTnc) ctx_.timerTnc->setEnabled(false);
    }
    showStatus();
}

void SerialLink::reopened() {
    auto& l = ctx_.st.link;
    stopReopening();
    l.closeportcmdEnabled = true;
    l.openportcmdEnabled = false;
    l.INcomport = "IN com port " + l.comport;
    ctx_.st.marks.PGMmessage = "TNC back: " + waitingMessage();
    showStatus();
}

void SerialLink::showStatus() {
    auto& l = ctx_.st.link;
    const SerialPort* port = ctx_.serial;
    const TncKind kind = parseTncSpec(l.comport).kind;
    std::string state;
    if (l.reopening) {
        state = "gone" + (lostReason_.empty() ? std::string() : " (" + lostReason_ + ")") + ", trying again every " +
                std::to_string(kReopenMs / 1000) + " s";
    } else if (port && port->isOpen()) {
        state = port->connected() ? "connected" : "connecting";
    } else if (carriesFrames(kind)) {
        state = "closed";
    }
    std::string shown = state;
    if (port && port->carriesFrames()) {
        const auto c = port->frameCounts();
        shown += (shown.empty() ? "" : "; ") + std::to_string(c.frames) + " frames, " + std::to_string(c.other) +
                 " other, " + std::to_string(c.broken) + " broken";
    }
    // A text-mode TNC on its serial port says no more than the port buttons do.
    if (kind == TncKind::Text && !l.reopening) shown.clear();
    l.tncStatus = shown;
    if (state != shownState_) {
        shownState_ = state;
        if (statusChanged && !state.empty()) statusChanged(l.comport + " " + state);
    }
}

void SerialLink::mycallmenu_Click() {
    auto& l = ctx_.st.link;
    const std::string answer =
        ctx_.ui.input("Enter the station's own callsign, such as N0CALL-9.\rPackets sent through a KISS or AGWPE TNC "
                      "(the APRS message reply) go out from it.\rEnter the APRS-IS login name (" +
                          ctx_.st.telnet.loginName + ") to follow it.",
                      "QUORVEL - My callsign", l.myCallsign.empty() ? stationCallsign(ctx_.st) : l.myCallsign);
    const std::string call = text::upper(text::trim(answer));
    if (call.empty()) return;
    if (!ax25::parseAddress(call)) {
        ctx_.ui.message("\"" + call +
                            "\" is no AX.25 callsign: one to six letters and digits, and an SSID from -1 to -15 "
                            "where needed.",
                        "QUORVEL - My callsign", Buttons::Ok, Icon::Exclamation);
        return;
    }
    // The login name itself is kept as "follow the login name".
    l.myCallsign = call == text::upper(text::trim(ctx_.st.telnet.loginName)) ? std::string() : call;
    if (ctx_.serial) ctx_.serial->setStationCallsign(stationCallsign(ctx_.st));
    ctx_.steps.savesettings();
}

} // namespace qv
