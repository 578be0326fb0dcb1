// The serial receive handler and the complete-line steps it shares with the
// APRS-IS client and the replay.
#include "intake/ReceiveHandler.h"

#include "core/Context.h"
#include "core/DateText.h"
#include "core/ErrorLog.h"
#include "core/Failure.h"
#include "core/Station.h"
#include "core/Steps.h"
#include "core/Text.h"
#include "core/WorkDir.h"
#include "platform/Clock.h"
#include "platform/SerialPort.h"
#include "platform/Ui.h"

namespace qv {

namespace {
constexpr const char* kMarker = " in SUB MSCOMM1_ONCOMM ";
// The serial control's number for a device that can no longer be read.
constexpr int kReadError = 8020;
} // namespace

void ReceiveHandler::MSComm1_OnComm() {
    // A display refresh inside the handler may deliver the next event; the
    // line being classified must not change under the classifier, so that
    // event waits until this one is done (its characters stay in the port).
    if (running_) {
        pending_ = true;
        return;
    }
    running_ = ctx_.st.marks.receiving = true;
    do {
        pending_ = false;
        try {
            onComm();
        } catch (...) {
            // Any other failure ends the handler quietly.
        }
    } while (pending_ && ctx_.serial && ctx_.serial->inBufferCount() > 0 && ctx_.st.marks.telnetBusy != "1");
    running_ = ctx_.st.marks.receiving = false;
}

void ReceiveHandler::onComm() {
    auto& m = ctx_.st.marks;
    auto& d = ctx_.st.display;
    if (m.receivePaused()) return; // the characters wait in the port

    if (m.telnetBusy == "1") {
        ctx_.st.report.incomingdataBack = fromRgb(0xFF80FF);
        ctx_.ui.refresh();
    } else {
        m.PGMmessage = "COMM EVENT SEEN";
        d.PGMmessageBack = fromRgb(0xFFFFFF);
        ctx_.ui.refresh();
        if (!ctx_.serial || ctx_.serial->lastEvent() != SerialPort::Event::Receive) {
            if (ctx_.serial && ctx_.serial->lastEvent() == SerialPort::Event::Error && !ctx_.serial->isOpen())
                portLost();
            ctx_.ui.refresh();
            return;
        }
        m.PGMmessage = "DATA IN BUFFER SEEN";
        readPort();
        ctx_.st.report.incomingdataBack = fromRgb(0x00FFFF);
    }
    showAndComplete();
}

void ReceiveHandler::readPort() {
    auto& r = ctx_.st.report;
    SerialPort& port = *ctx_.serial;
    char last = '\0';
    do {
        try {
            last = port.readChar();
        } catch (const Failure& f) {
            if (f.number() != err::InputPastEnd) throw;
            // Nothing was read: record what came last and stop reading.
            try {
                ctx_.dir.appendLines(kErrorFile,
                                     {"----------",
                                      "Com Err62 on char #: " + std::to_string(static_cast<unsigned char>(last)),
                                      " and dataline$: " + r.dataline});
            } catch (...) {
            }
            ctx_.st.display.callsignBack = fromRgb(0xFF0000);
            return;
        }
        ctx_.st.marks.PGMmessage = "COM DATA SEEN " + longTime(ctx_.clock.now());
        if (last != '\n') {
            r.dataline.push_back(last);
            if (r.dataline.size() >= kMaxLine && last != '\r') cutLongLine();
        }
    } while (port.inBufferCount() >= 1);
}

// A line that never ends (a TNC in the wrong mode, line noise) must not grow
// without bound: what arrived so far is classified as a line of its own.
void ReceiveHandler::cutLongLine() {
    logCut(ctx_.st.report.dataline);
    completeLine();
}

// The device went away under an open port (a USB adapter pulled, the TNC's
// end of the line gone, a network TNC refusing or dropping the connection).
// The port shows closed and is opened again when the TNC is back, and the
// half line received so far is kept in the error file: it can never be
// completed, and glued to the first line after reopening it would spoil that
// one too. While the TNC is being reopened, each failed attempt is no news.
void ReceiveHandler::portLost() {
    auto& r = ctx_.st.report;
    if (!ctx_.st.link.reopening) {
        const std::string why = ctx_.serial->lostReason();
        ctx_.log.entry(kReadError, "Error reading comm device: " + (why.empty() ? "the device went away" : why),
                       kMarker);
    }
    if (!r.dataline.empty()) {
        try {
            ctx_.dir.appendLine(kErrorFile, " line began: " + text::left(r.dataline, 80));
        } catch (...) {
        }
        r.dataline.clear();
    }
    ctx_.steps.tncLost();
}

void ReceiveHandler::logCut(Context& ctx, const std::string& line) {
    ctx.log.entry(14, "Received line longer than 4096 characters cut there", kMarker);
    try {
        ctx.dir.appendLine(kErrorFile, " line began: " + text::left(line, 80));
    } catch (...) {
    }
}

void ReceiveHandler::showAndComplete() {
    auto& r = ctx_.st.report;
    ctx_.ui.refresh();
    // Shown unless it starts with a control character or is a lone CR.
    if (!r.dataline.empty() && r.dataline != "\r" &&
        (static_cast<unsigned char>(r.dataline[0]) > 31 || (r.dataline[0] == 31 && r.dataline.size() > 1)))
        r.incomingdata = r.dataline;
    if (!r.dataline.empty() && (r.dataline.back() == '\r' || r.dataline.back() == '\n')) completeLine();
    ctx_.ui.refresh();
}

void ReceiveHandler::completeLine() {
    auto& st = ctx_.st;
    st.rec.recordBack = st.display.rawgpsdataBack;
    if (st.marks.debugLog) ctx_.log.debugLine(st.report.dataline);
    try {
        ctx_.steps.inspectdataline();
    } catch (...) {
        // The classifier logs its own failures; nothing may stop the receive path.
    }
    st.report.dataline.clear();
}

void ReceiveHandler::replayLine(const std::string& line) {
    auto& r = ctx_.st.report;
    r.dataline = line;
    if (r.dataline.empty() || r.dataline.back() != '\n') r.dataline.push_back('\n');
    showAndComplete();
    r.dataline.clear();
}

} // namespace qv
