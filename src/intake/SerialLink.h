// The serial link to the TNC as the user handles it: opening and closing the
// port, choosing port and speed, the send box, and re-inspecting the
// incoming-data field. The receive handler itself is ReceiveHandler.
#pragma once

#include <string>

namespace qv {

struct Context;
class SpeedDialog;

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

private:
    void showOpenFailure(int number, const std::string& description);
    std::string waitingMessage() const;

    Context& ctx_;
};

} // namespace qv
