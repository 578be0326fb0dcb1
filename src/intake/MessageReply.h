// The reply to an APRS message: the reply window shown by the classifier, and
// the $GPWMS sentence with its NMEA checksum written to the TNC (as a UI frame
// through a KISS or AGWPE TNC).
#pragma once

#include <string>
#include <string_view>

namespace qv {

struct Context;
struct DateTime;

inline constexpr const char* kReplyNotSentClosed = "Reply NOT sent - the serial port is closed";
inline constexpr const char* kReplyNotSentFailed = "Reply NOT sent - writing to the serial port failed";
// Where a reply sent as a UI frame goes.
inline constexpr const char* kReplyDestination = "APRS";

class MessageReply {
public:
    explicit MessageReply(Context& ctx) : ctx_(ctx) {}

    // Hooks the window's callbacks to this reply; start-up calls it once
    // ctx.messageWindow is set.
    void attach();
    void detach();

    // Creates the window on the first message, captions it and shows it.
    void showMessageWindow(const std::string& caption);
    // What the operator typed, cut to the fields' lengths.
    void setFields(const std::string& from, const std::string& text);

    void CommandMsgSEND_Click();
    void CommandMsgSEND_Keypress() {}

    // "$GPWMS,<from>,<text>,00097E,01,01,0F,yymmdd,hhmmss,000000"
    static std::string gpwmsBody(const std::string& from, const std::string& text, const DateTime& t);
    // Exclusive or of the characters after the leading "$" up to the first
    // "*", as two upper-case hex digits.
    static std::string nmeaChecksum(std::string_view body);

private:
    Context& ctx_;
};

} // namespace qv
