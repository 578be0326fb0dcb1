// The receive path: characters from the TNC's serial port (and complete lines
// from APRS-IS) are assembled into `dataline`, and every complete line goes to
// the classifier. Lines are bounded: one that grows past 4 KiB without its CR
// is cut there, logged and classified.
#pragma once

#include <cstddef>
#include <string>

namespace qv {

struct Context;

class ReceiveHandler {
public:
    static constexpr std::size_t kMaxLine = 4096;

    explicit ReceiveHandler(Context& ctx) : ctx_(ctx) {}

    // Run for every communication event of the serial port, and by the
    // APRS-IS client with a complete line in `dataline` and its busy flag up.
    void MSComm1_OnComm();

    // One line of the replay file: shown and classified as a completed line,
    // whatever the serial port was doing.
    void replayLine(const std::string& line);

    // The error entry for a line cut at kMaxLine, with the start of the line;
    // every path that cuts lines writes this one.
    void logCut(const std::string& line) { logCut(ctx_, line); }
    static void logCut(Context& ctx, const std::string& line);

private:
    void onComm();
    void readPort();
    void showAndComplete();
    void completeLine();
    void cutLongLine();
    void portLost();

    Context& ctx_;
    bool running_ = false; // inside the handler (a refresh may deliver another event)
    bool pending_ = false; // an event arrived meanwhile; handle it after this one
};

} // namespace qv
