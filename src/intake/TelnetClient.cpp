// The APRS-IS client.
#include "intake/TelnetClient.h"

#include "core/Context.h"
#include "core/ErrorLog.h"
#include "core/NumberText.h"
#include "core/Station.h"
#include "core/Steps.h"
#include "core/Text.h"
#include "core/Version.h"
#include "core/WorkDir.h"
#include "intake/ReceiveHandler.h"
#include "platform/TcpSocket.h"
#include "platform/Timer.h"
#include "platform/Ui.h"

#include <cmath>
#include <utility>

namespace qv {

namespace {

// The socket error number of a connection the other side ended.
constexpr int kClosedByServer = 10054;

constexpr int kConnectTimeoutMs = 30000;
// While the receive path is held (file writer, map posting, a serial line
// being classified), look again this much later rather than spin on the
// event loop.
constexpr int kPausedRetryMs = 20;

constexpr const char* kAlreadyConnectedTitle = "TELNET ALREADY CONNECTED";
constexpr const char* kSetupTitle = "TELNET SETUP";

struct FlagGuard {
    bool& flag;
    explicit FlagGuard(bool& f) : flag(f) { flag = true; }
    ~FlagGuard() { flag = false; }
};

} // namespace

TelnetClient::TelnetClient(Context& ctx) : ctx_(ctx) {}

void TelnetClient::detach() {
    if (ctx_.socket) {
        ctx_.socket->onConnected = nullptr;
        ctx_.socket->onDataArrival = nullptr;
        ctx_.socket->onClosed = nullptr;
        ctx_.socket->onError = nullptr;
    }
    if (ctx_.timer3) ctx_.timer3->onTimeout = nullptr;
}

void TelnetClient::setCaption(const std::string& caption) {
    TelnetState& t = ctx_.st.telnet;
    if (t.labelCaption == caption) return;
    t.labelCaption = caption;
    if (captionChanged) captionChanged(caption);
}

void TelnetClient::attach() {
    if (TcpSocket* s = ctx_.socket) {
        s->onConnected = [this] { Winsock1_Connect(); };
        s->onDataArrival = [this] { Winsock1_DataArrival(); };
        s->onClosed = [this] { Winsock1_Close(); };
        s->onError = [this](const Failure& f) { Winsock1_Error(f); };
    }
    if (Timer* t = ctx_.timer3) {
        t->setEnabled(false);
        t->setInterval(kConnectTimeoutMs);
        t->onTimeout = [this] { Timer3_Timer(); };
    }
}

bool TelnetClient::connected() const { return ctx_.socket && ctx_.socket->state() == TcpSocket::State::Connected; }

std::string TelnetClient::loginLine() const {
    const TelnetState& t = ctx_.st.telnet;
    return "user " + t.loginName + " pass " + t.password + " vers Quorvel " + version::text() + " " + t.serverCommand +
           "\n";
}

void TelnetClient::TelnetActivate_Click() {
    if (connected()) {
        ctx_.ui.message("You must disconnect from your current telnet session before you can reconnect",
                        kAlreadyConnectedTitle);
        return;
    }
    TelnetState& t = ctx_.st.telnet;
    t.labelVisible = true;
    setCaption(kTelnetAttempting);
    t.startMode = "t";
    telnetconnect();
    ctx_.steps.Form_Load();
}

void TelnetClient::telnetconnect() {
    const bool ok = ctx_.log.guard(" in SUB TELNETCONNECT ", [&] {
        ctx_.st.marks.PGMmessage = "TelnetConnect";
        ctx_.ui.refresh();
        if (!ctx_.socket) throw Failure(err::WrongState);
        ctx_.socket->close();
        // A fragment left by an earlier session must not be glued onto the
        // first line of this one.
        ctx_.st.telnet.telnetline.clear();
        ctx_.ui.refresh();
        ctx_.socket->setRemoteHost(ctx_.st.telnet.address);
        ctx_.socket->setRemotePort(ctx_.st.telnet.port);
        ctx_.socket->connect();
        if (ctx_.timer3) ctx_.timer3->setEnabled(true);
    });
    if (!ok) ctx_.ui.beep();
}

void TelnetClient::Winsock1_Connect() {
    if (ctx_.timer3) ctx_.timer3->setEnabled(false);
    try {
        ctx_.socket->send(loginLine());
    } catch (const Failure& f) {
        receiveFailed(f);
        return;
    }
    const TelnetState& t = ctx_.st.telnet;
    setCaption(telnetOnCaption(t.address, t.loginName));
    ctx_.ui.refresh();
}

void TelnetClient::Winsock1_DataArrival() {
    TcpSocket* s = ctx_.socket;
    // A refresh inside the processing of a line may bring us back here; the
    // outer call comes back for what is left once its line is done.
    if (!s || inDataArrival_) return;
    FlagGuard in(inDataArrival_);
    ctx_.ui.refresh();
    if (ctx_.st.marks.telnetBusy == "1") return;
    if (ctx_.st.marks.receivePaused() || ctx_.st.marks.receiving) {
        // The receive handler would drop the line unseen, or we would change
        // the line under the classifier; keep it in the socket.
        s->deferDataArrival(kPausedRetryMs);
        return;
    }
    TelnetState& t = ctx_.st.telnet;
    try {
        while (s->bytesAvailable() > 0) {
            const char c = s->readChar();
            if (c == '\n') {
                handOver();
                break;
            }
            t.telnetline += c;
            if (t.telnetline.size() >= kMaxLine && c != '\r') {
                // Cut, logged and classified as it stands, as a TNC or replayed
                // line is; what follows makes a line of its own. The CR marks
                // it complete for the receive handler.
                ReceiveHandler::logCut(ctx_, t.telnetline);
                t.telnetline += '\r';
                handOver();
                break;
            }
        }
    } catch (const Failure& f) {
        receiveFailed(f);
        return;
    }
    if (s->bytesAvailable() > 0) {
        // One line per turn: further lines wait for the next turn of the event loop.
        s->deferDataArrival(0);
    } else if (s->state() != TcpSocket::State::Connected && !t.telnetline.empty()) {
        // The server went away in the middle of a line: show what came, and
        // keep it in the error file, since it cannot be classified.
        ctx_.log.entry(err::InputPastEnd, "Telnet line cut off by the closed connection",
                       " in SUB WINSOCK1_DATAARRIVAL ");
        ctx_.log.guard(" in SUB WINSOCK1_DATAARRIVAL ",
                       [&] { ctx_.dir.appendLine(kErrorFile, " line began: " + text::left(t.telnetline, 80)); });
        handOver();
    }
}

void TelnetClient::handOver() {
    TelnetState& t = ctx_.st.telnet;
    std::string& dataline = ctx_.st.report.dataline;
    // A TNC line still being received waits in `dataline`; it gets its place
    // back once the telnet line is through, instead of being overwritten.
    std::string serialPart = std::move(dataline);
    dataline = std::move(t.telnetline);
    t.telnetline.clear();
    ctx_.st.marks.telnetBusy = "1";
    try {
        ctx_.steps.MSComm1_OnComm();
    } catch (...) {
    }
    ctx_.st.marks.telnetBusy = "0";
    dataline = std::move(serialPart);
}

void TelnetClient::Winsock1_Close() {
    TelnetState& t = ctx_.st.telnet;
    if (ctx_.timer3) ctx_.timer3->setEnabled(false);
    if (t.labelCaption != kTelnetClosed) {
        ctx_.ui.beep();
        setCaption(kTelnetClosed);
        // Nothing else tells why the reports stopped coming.
        ctx_.log.entry(kClosedByServer, "Telnet connection closed by the server", " in SUB WINSOCK1_CLOSE ");
    }
    ctx_.ui.refresh();
    // Lines the server sent before it left are still to be taken.
    if (ctx_.socket && (ctx_.socket->bytesAvailable() > 0 || !t.telnetline.empty())) ctx_.socket->deferDataArrival(0);
}

void TelnetClient::Winsock1_Error(const Failure& f) {
    // A connection that never came up is reported as one that cannot connect.
    const bool attempting = ctx_.st.telnet.labelCaption == kTelnetAttempting;
    receiveFailed(attempting ? Failure(err::WrongState, f.description()) : f);
}

void TelnetClient::receiveFailed(const Failure& f) {
    TelnetState& t = ctx_.st.telnet;
    if (t.labelCaption == kTelnetClosed) return;
    if (ctx_.timer3) ctx_.timer3->setEnabled(false);
    if (ctx_.socket) ctx_.socket->close();
    ctx_.ui.beep();
    setCaption(telnetFailedCaption(t.address));
    ctx_.ui.refresh();
    // The message box goes away; the entry stays for whoever looks later.
    ctx_.log.entry(f, " in SUB WINSOCK1_ERROR ");
    if (f.number() == err::WrongState) {
        ctx_.ui.message("Quorvel cannot connect. Check your Server ADDRESS and PORT settings... or try again later.",
                        "QUORVEL ERROR NOTICE: 40006");
        setCaption(kTelnetClosed);
    } else {
        const std::string code = (f.number() >= 0 ? " " : "") + std::to_string(f.number());
        ctx_.ui.message("Quorvel has detected and error with the attempted Telnet connection.\r" + f.description() +
                            code,
                        "QUORVEL ERROR NOTICE");
    }
}

void TelnetClient::Timer3_Timer() {
    if (ctx_.socket) ctx_.socket->close();
    ctx_.ui.beep();
    setCaption(telnetFailedCaption(ctx_.st.telnet.address));
    if (ctx_.timer3) ctx_.timer3->setEnabled(false);
    ctx_.ui.refresh();
}

void TelnetClient::TelnetActiveLabel_DblClick() {
    if (ctx_.timer3) ctx_.timer3->setEnabled(false);
    if (ctx_.socket) ctx_.socket->close();
    setCaption(kTelnetClosed);
    ctx_.st.link.portButtonsVisible = true;
    ctx_.ui.refresh();
}

void TelnetClient::telnetsetup_Click() {
    if (connected()) {
        ctx_.ui.message("You must disconnect from your current telnet session before you can change the address.",
                        kAlreadyConnectedTitle);
        return;
    }
    TelnetState& t = ctx_.st.telnet;
    const std::string example = kTelnetDefaultHost;
    const std::string info = std::string("See ") + kTelnetInfoSite + " for APRS-IS servers and ports";
    const std::string localIP = ctx_.socket ? ctx_.socket->localIP() : std::string("127.0.0.1");

    const std::string address =
        ctx_.ui.input("Enter telnet server internet URL address.\rExample: " + example + "\r" + info,
                      "TELNET SETUP. Local machine IP: " + localIP, t.address);
    const std::string port =
        ctx_.ui.input("Enter server telnet PORT NUMBER.\r" + example + "  (port 14580) is aprs filter port\r" + info,
                      kSetupTitle, std::to_string(t.port));
    const std::string name = ctx_.ui.input("Enter the login NAME you want to provide the server. (Usually a callsign)",
                                           kSetupTitle, text::upper(t.loginName));
    t.password = ctx_.ui.input("Enter the login PASSWORD you want to provide the server.  (Use -1 to receive only)",
                               kSetupTitle, t.password);
    t.serverCommand = ctx_.ui.input("Enter the telnet server commands IE:filters if needed.\r"
                                    "filter a/65.0000/-175.0000/41.0000/-104.0333",
                                    kSetupTitle, t.serverCommand);

    if (!text::trim(address).empty()) t.address = text::trim(address);
    if (!text::trim(port).empty()) {
        // A port that no socket can take would only fail at the next connect.
        const double p = num::leading(port);
        if (p >= 1 && p <= 65535 && p == std::floor(p)) t.port = static_cast<int>(p);
    }
    if (!name.empty()) t.loginName = name;
    if (ctx_.socket) {
        ctx_.socket->setRemoteHost(t.address);
        ctx_.socket->setRemotePort(t.port);
    }
    ctx_.steps.savesettings();
}

} // namespace qv
