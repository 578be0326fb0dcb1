// APRS message reply window and the $GPWMS sentence.
#include "intake/MessageReply.h"

#include "core/Context.h"
#include "core/ErrorLog.h"
#include "core/Failure.h"
#include "core/Station.h"
#include "intake/SerialLink.h"
#include "platform/Clock.h"
#include "platform/MessageWindow.h"
#include "platform/SerialPort.h"
#include "platform/Ui.h"

#include <cstdio>

namespace qv {

namespace {

constexpr const char* kSendMarker = " in SUB COMMANDMSGSEND_CLICK ";

std::string two(int v) {
    char buf[8];
    std::snprintf(buf, sizeof buf, "%02d", v % 100);
    return buf;
}

// Cut to at most `max` bytes without splitting a UTF-8 sequence, so a field
// never carries half a character to the radio.
std::string cut(const std::string& s, std::size_t max) {
    if (s.size() <= max) return s;
    std::size_t n = max;
    while (n > 0 && (static_cast<unsigned char>(s[n]) & 0xC0) == 0x80)
        --n;
    return s.substr(0, n);
}

} // namespace

void MessageReply::attach() {
    MessageWindow* w = ctx_.messageWindow;
    if (!w) return;
    w->onEdited = [this](const std::string& from, const std::string& text) { setFields(from, text); };
    w->onSend = [this] { CommandMsgSEND_Click(); };
}

void MessageReply::detach() {
    MessageWindow* w = ctx_.messageWindow;
    if (!w) return;
    w->onEdited = nullptr;
    w->onSend = nullptr;
}

void MessageReply::showMessageWindow(const std::string& caption) {
    MessageWindowState& form = ctx_.st.Form5Message;
    form.created = true;
    form.caption = caption;
    form.visible = true;
    if (ctx_.messageWindow) ctx_.messageWindow->show(form);
}

void MessageReply::setFields(const std::string& from, const std::string& text) {
    MessageWindowState& form = ctx_.st.Form5Message;
    form.TextMsgFrom = cut(from, kMsgFromMax);
    form.TextMsgSend = cut(text, kMsgSendMax);
}

std::string MessageReply::gpwmsBody(const std::string& from, const std::string& text, const DateTime& t) {
    // Commas typed into the fields go out as they are: the TNC reads the
    // fields by position and the operator sees the echo.
    return "$GPWMS," + from + "," + text + ",00097E,01,01,0F," + two(t.year) + two(t.month) + two(t.day) + "," +
           two(t.hour) + two(t.minute) + two(t.second) + ",000000";
}

std::string MessageReply::nmeaChecksum(std::string_view body) {
    if (!body.empty() && body.front() == '$') body.remove_prefix(1);
    unsigned sum = 0;
    for (char c : body) {
        if (c == '*') break;
        sum ^= static_cast<unsigned char>(c);
    }
    char buf[4];
    std::snprintf(buf, sizeof buf, "%02X", sum & 0xFFu);
    return buf;
}

void MessageReply::CommandMsgSEND_Click() {
    Station& st = ctx_.st;
    MessageWindowState& form = st.Form5Message;
    const std::string body = gpwmsBody(form.TextMsgFrom, form.TextMsgSend, ctx_.clock.now());
    const std::string sentence = body + "*" + nmeaChecksum(body);

    // The echo shows what went to the radio, or would have; the status field
    // says whether it really left.
    SerialPort* port = ctx_.serial;
    if (port && port->carriesFrames()) {
        // A KISS or AGWPE TNC sends it as a UI frame of its own, from the
        // station's callsign to APRS, with the sentence as its information.
        const std::string from = stationCallsign(st);
        try {
            if (!port->isOpen()) throw Failure(8018, kReplyNotSentClosed);
            if (from.empty()) throw Failure(380, "no callsign to send from: set My callsign in the Ports menu");
            port->sendUi(from, kReplyDestination, sentence);
        } catch (const Failure& f) {
            if (f.number() != 8018) ctx_.log.entry(f, kSendMarker);
            st.marks.PGMmessage =
                std::string("Reply NOT sent - ") + (f.number() == 8018 ? "the TNC is not connected" : f.description());
        }
        form.LabelReplySentString = "Reply SENT>> " + from + ">" + kReplyDestination + ":" + sentence;
    } else {
        if (!port || !port->isOpen()) {
            st.marks.PGMmessage = kReplyNotSentClosed;
        } else if (!ctx_.log.guard(kSendMarker, [&] { port->write(sentence + "\r\n"); })) {
            st.marks.PGMmessage = kReplyNotSentFailed;
        }
        form.LabelReplySentString = "Reply SENT>> " + sentence + " <CR> <LF>";
    }
    if (ctx_.messageWindow) ctx_.messageWindow->draw(form);
    ctx_.ui.refresh();
}

} // namespace qv
