// The APRS-IS client: connects and logs in, cuts the server's stream into
// lines and hands each one to the serial receive handler, so that APRS-IS
// lines take exactly the road of TNC lines.
#pragma once

#include <cstddef>
#include <functional>
#include <string>

namespace qv {

struct Context;
class Failure;

class TelnetClient {
public:
    explicit TelnetClient(Context& ctx);
    TelnetClient(const TelnetClient&) = delete;
    TelnetClient& operator=(const TelnetClient&) = delete;

    // Hooks the socket and Timer3 of the context; call once they are set,
    // and detach() before either goes away.
    void attach();
    void detach();

    // Told every new caption of the connection indicator (headless running
    // prints them, having no indicator to show).
    std::function<void(const std::string&)> captionChanged;

    // "Connect to &TELNET Server".
    void TelnetActivate_Click();
    void telnetconnect();
    void Winsock1_Connect();
    void Winsock1_DataArrival();
    // The server closed the connection.
    void Winsock1_Close();
    // The socket failed while connecting or connected.
    void Winsock1_Error(const Failure& f);
    void Timer3_Timer();
    void TelnetActiveLabel_DblClick();
    // "&Stop current telnet connection".
    void stoptelnetconnection_Click() { TelnetActiveLabel_DblClick(); }
    // "Setup &TELNET connection information".
    void telnetsetup_Click();

    bool connected() const;
    // "user NAME pass PASSWORD vers Quorvel V1.0.0 COMMAND" and a line feed.
    std::string loginLine() const;

    // Longest line: a longer one is cut there and classified, and the rest
    // makes a line of its own, as on the serial and replay paths.
    static constexpr std::size_t kMaxLine = 4096;

private:
    void setCaption(const std::string& caption);
    void handOver();
    void receiveFailed(const Failure& f);

    Context& ctx_;
    bool inDataArrival_ = false;
};

} // namespace qv
