// Port handling of the serial link.
#include "intake/SerialLink.h"

#include "core/Context.h"
#include "core/ErrorLog.h"
#include "core/Failure.h"
#include "core/Station.h"
#include "core/Steps.h"
#include "core/Text.h"
#include "platform/SerialPort.h"
#include "platform/SerialSettings.h"
#include "platform/SpeedDialog.h"
#include "platform/Ui.h"

#include <array>

namespace qv {

namespace {

constexpr const char* kOpenportMarker = " in SUB OPENPORT ";
constexpr const char* kPortTitle = "QUORVEL - Set COM PORT";
constexpr const char* kErrorTitle = "COM PORT ERROR";
constexpr std::array<const char*, 4> kSpeeds = {"1200,N,8,1", "2400,N,8,1", "4800,N,8,1", "9600,N,8,1"};

} // namespace

std::string SerialLink::waitingMessage() const {
    const auto& l = ctx_.st.link;
    return "Waiting to confirm com activity on port " + l.comport + " at speed " + l.comSettings;
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
            port->setPort(l.comport);
            port->open();
        }
    } catch (const Failure& f) {
        if (f.number() == err::NoSuchPort || f.number() == err::PortInUse) showOpenFailure(f.number(), f.description());
        ctx_.log.entry(f, kOpenportMarker);
    }
    l.INcomport = "IN com port " + l.comport;
    // A greeting to a port that did not open would only fail a second time.
    if (port && port->isOpen()) ctx_.log.guard(kOpenportMarker, [&] { port->write("QUORVEL is ONLINE\r"); });
    st.marks.PGMmessage = waitingMessage();
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
            if (!port->isOpen()) {
                port->setPort(l.comport);
                port->open();
            }
        } catch (const Failure& f) {
            showOpenFailure(f.number(), f.description());
            return;
        }
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
}

void SerialLink::closeportcmd_Click() {
    auto& st = ctx_.st;
    st.marks.PGMmessage = "ClosingComPort";
    if (ctx_.serial && ctx_.serial->isOpen()) {
        ctx_.serial->close();
        ctx_.ui.refresh();
    }
    st.link.closeportcmdEnabled = false;
    st.link.openportcmdEnabled = true;
    st.display.PGMmessageBack = fromRgb(0xFFFF00);
    st.marks.PGMmessage = "<<< NOTICE >>> COM PORT CLOSED!!!";
}

void SerialLink::comportmenu_Click() {
    auto& l = ctx_.st.link;
    SerialPort* port = ctx_.serial;
    const std::string answer = ctx_.ui.input(
        "Enter the COM Port Number\rto used for TNC connection.\r(current port shown)\r[Use 0 for no port]", kPortTitle,
        l.comport);
    l.comport = text::trim(answer);
    if (l.comport.empty()) return;
    if (port && port->isOpen()) {
        port->close();
        ctx_.ui.refresh();
    }
    const bool given = portGiven(l.comport);
    if (given) {
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

} // namespace qv
