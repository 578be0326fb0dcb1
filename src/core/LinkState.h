// The serial link to the TNC as the window shows it: the configured port, its
// settings text, the port buttons and the send box.
#pragma once

#include "core/Colour.h"

#include <string>

namespace qv {

inline constexpr const char* kDefaultComSettings = "9600,n,8,1";

struct LinkState {
    // "0" means no port; a number n is COM n (/dev/ttyS<n-1>), a path names the device itself.
    // Also a link form: "kiss:DEVICE", "kiss-tcp:HOST:PORT", "agw:HOST:PORT".
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

    // The station's callsign for packets sent through a KISS or AGWPE TNC
    // ("My callsign", saved as MYCALL); empty: the APRS-IS login name.
    std::string myCallsign;
    // `quorvel --tnc SPEC`: used in place of the saved setting, which is kept
    // here for saving, until the Port menu chooses another TNC.
    std::string tncOverride;
    std::string comportSaved;
    // How the TNC link stands, shown beside the port: connecting, connected,
    // gone and being reopened; the frames a KISS or AGWPE TNC sent.
    std::string tncStatus;
    bool reopening = false; // the TNC went away; a timer opens it again when it returns
};

} // namespace qv
