// The serial link to the TNC as the window shows it: the configured port, its
// settings text, the port buttons and the send box.
#pragma once

#include "core/Colour.h"

#include <string>

namespace qv {

inline constexpr const char* kDefaultComSettings = "9600,n,8,1";

struct LinkState {
    // "0" means no port; a number n is COM n (/dev/ttyS<n-1>), a path names the device itself.
    std::string comport = "1";
    std::string comSettings = kDefaultComSettings; // the serial control's settings text

    std::string INcomport = "IN com port "; // label caption
    bool openportcmdEnabled = false;        // "Open Port"
    bool closeportcmdEnabled = true;        // "Close Port"
    bool portButtonsVisible = true;         // both buttons; hidden for port 0

    // The "Send to Com Port" box and its two menu items.
    std::string sendtext;
    bool sendBoxVisible = false; // `sendtext` and `Sendkey`
    bool DisplaySendEnabled = true;
    bool hidesendEnabled = false;
    bool sendtextFocus = false; // the box asks for the keyboard focus
};

} // namespace qv
