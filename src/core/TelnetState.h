// The APRS-IS connection settings, the line being collected from the server,
// and the connection indicator of the main window.
#pragma once

#include <string>

namespace qv {

inline constexpr const char* kTelnetDefaultHost = "rotate.aprs2.net";
inline constexpr int kTelnetDefaultPort = 14580;
inline constexpr const char* kTelnetInfoSite = "www.aprs2.net";

// Captions of the connection indicator `TelnetActiveLabel`.
inline constexpr const char* kTelnetDesignCaption = "TELNET Info";
inline constexpr const char* kTelnetAttempting = "Attempting Telnet connection.....";
inline constexpr const char* kTelnetClosed = "Telnet connection CLOSED";
inline std::string telnetOnCaption(const std::string& host, const std::string& login) {
    return "Telnet ON @ " + host + " as " + login + " <DblClick to stop>";
}
inline std::string telnetFailedCaption(const std::string& host) { return "Telnet FAILED @ " + host; }

struct TelnetState {
    // Saved as TELNETADDRESS, TELNETPORT, TELNETLOGINNAME, TELNETLOGINPASSWORD
    // and TELNETSERVERCOMMAND.
    std::string address = kTelnetDefaultHost;
    int port = kTelnetDefaultPort;
    std::string loginName = "none";
    std::string password;      // never written anywhere but the configuration file
    std::string serverCommand; // sent as typed, e.g. an area filter

    std::string telnetline; // received characters up to the next line feed

    // The start mode of start-up: "t" asks it to show the telnet state, which
    // it then replaces by "NORELOAD".
    std::string startMode;

    // `TelnetActiveLabel`; its tag, the telnet busy flag, is Marks::telnetBusy.
    bool labelVisible = false;
    std::string labelCaption = kTelnetDesignCaption;
};

} // namespace qv
