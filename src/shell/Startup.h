// Start-up (Form_Load) and the two ways the program ends. Start-up may run
// again: after an outdated configuration file was deleted, and when the
// APRS-IS connect command asks for a telnet start.
#pragma once

#include <cstddef>
#include <functional>

namespace qv {

struct Context;
class Settings;
class SerialLink;
class ReceiveHandler;

class Startup {
public:
    Startup(Context& ctx, Settings& settings, SerialLink& link, ReceiveHandler& receive)
        : ctx_(ctx), settings_(settings), link_(link), receive_(receive) {}

    void Form_Load();
    void exit_Click();
    void exitbutton_Click();

    // Ends the program at once; start-up stops at the next step.
    void endProgram();
    bool ended() const { return ended_; }
    // Run once when the program ends (the event loop quits there).
    std::function<void()> onEnd;
    // Run after each replayed line of quorvel.imp (progress, statistics).
    std::function<void()> afterReplayLine;
    std::size_t linesReplayed() const { return linesReplayed_; }
    // False when quorvel.imp was asked for and could not be read.
    bool replayOk() const { return replayOk_; }

private:
    Context& ctx_;
    Settings& settings_;
    SerialLink& link_;
    ReceiveHandler& receive_;
    bool ended_ = false;
    bool replayed_ = false;
    bool tracksLoaded_ = false;
    std::size_t linesReplayed_ = 0;
    bool replayOk_ = true;
};

} // namespace qv
