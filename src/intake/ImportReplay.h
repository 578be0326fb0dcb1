// Replay of a captured feed, quorvel.imp in the working directory, through the
// receive path, line by line, as if each line had just arrived from the TNC.
#pragma once

#include <cstddef>
#include <functional>

namespace qv {

struct Context;
class ReceiveHandler;

inline constexpr const char* kReplayFile = "quorvel.imp";

class ImportReplay {
public:
    ImportReplay(Context& ctx, ReceiveHandler& receive) : ctx_(ctx), receive_(receive) {}

    // Replays the file and tells the user when it is done. False (with an
    // error entry, and no completion notice) when the file cannot be read.
    bool run();

    std::size_t linesReplayed() const { return lines_; }

    // Run after each line has been classified (progress, statistics).
    std::function<void()> afterLine;

private:
    Context& ctx_;
    ReceiveHandler& receive_;
    std::size_t lines_ = 0;
};

} // namespace qv
