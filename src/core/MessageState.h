// The reply window for APRS messages: what it shows and what the operator has
// typed into it. The window is created on the first message and keeps its
// fields from one message to the next; only the caption changes per message.
#pragma once

#include <cstddef>
#include <string>

namespace qv {

inline constexpr std::size_t kMsgFromMax = 10; // TextMsgFrom
inline constexpr std::size_t kMsgSendMax = 39; // TextMsgSend
inline constexpr const char* kMsgSendTip = "Maximum 39 Chars for message reply.";
inline constexpr const char* kReplyEchoDesign = "Reply string sent to radio will show here.";

struct MessageWindowState {
    bool created = false; // loaded on the first APRS message
    bool visible = false;
    std::string caption = "Form5";
    std::string TextMsgFrom = "QUORVEL"; // sender put into the reply
    std::string TextMsgSend;             // reply text
    std::string LabelReplySentString = kReplyEchoDesign;
    std::string CommandMsgSEND = "SEND from:";
    std::string LabelMsgReply = "REPLY";
};

} // namespace qv
