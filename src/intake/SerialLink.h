// The serial link to the TNC as the user handles it: opening and closing the
// port, choosing port and speed, the send box, and re-inspecting the
// incoming-data field. The receive handler itself is ReceiveHandler.
#pragma once

#include <functional>
#include <string>
#include <vector>

namespace qv {

struct Context;
struct Station;
class SerialPort;
class SpeedDialog;

// The callsign packets go out from: "My callsign", else the APRS-IS login
// name; empty while neither is set.
std::string stationCallsign(const Station& st);

class SerialLink {
public:
    explicit SerialLink(Context& ctx) : ctx_(ctx) {}

    // The speed dialog the Port menu shows; without one the current speed stays.
    SpeedDialog* form3 = nullptr;

    void openport();
    void openportcmd_Click();
    void closeportcmd_Click();
    void comportmenu_Click();
    void showPortButtons();

    // Form3: the option matching a settings text (0 to 3; -1 for none), and OK.
    static int speedIndex(const std::string& settings);
    void Command_OK_Click(int index);

    void DisplaySend_Click();
    void hidesend_Click();
    void Sendkey_Click();
    void sendtext_GotFocus();

    void incomingdata_DblClick();

    // The TNC port's status and the reopen timer (ctx.timerTnc): hooked once
    // both are set, let go before either goes away.
    void attach();
    void detach();
    // The TNC went away under the open port (run by the receive handler):
    // the port shows closed and, with a reopen timer, is opened again as soon
    // as the device or the network TNC is back; Close Port stops that.
    void tncLost();
    // The reopen timer: another attempt, or the end of a connect that took too long.
    void TimerTnc_Timer();
    // "Set &My callsign".
    void mycallmenu_Click();
    // Told each new state of the TNC link ("connected", "gone ...").
    std::function<void(const std::string&)> statusChanged;
    // The serial devices the Port menu offers; the devices of this machine when not set.
    std::function<std::vector<std::string>()> devicesPresent;

    static constexpr int kReopenMs = 5000;
    // Reopen ticks a network TNC may take to answer before the attempt is dropped.
    static constexpr int kConnectTicks = 3;

private:
    void showOpenFailure(int number, const std::string& description);
    std::string waitingMessage() const;
    void openTheTnc(SerialPort& port);
    void watchConnecting(SerialPort& port);
    void portStatus();
    void reopened();
    void stopReopening();
    void showStatus();

    Context& ctx_;
    int connectTicks_ = 0;
    std::string lostReason_;
    std::string shownState_;
};

} // namespace qv
