// The situation map as a picture file, for scripts and tests: the view that
// shows every station, drawn once the tiles it needs have come or a deadline
// has passed (the only place where the program waits for tiles).
#pragma once

#include <chrono>
#include <iosfwd>
#include <string>

namespace qv {

struct Station;
class TileFetcher;

inline constexpr std::chrono::milliseconds kSnapshotWait{15000};

struct SnapshotRequest {
    std::string file; // a .png (or any format Qt writes by the name's ending)
    int width = 1024, height = 768;
};

// Draws and writes the picture; `fetcher` null draws the grid alone. Says on
// `out` what it wrote, on `err` why it could not. Needs a QGuiApplication.
bool writeSnapshot(const Station& st, const SnapshotRequest& req, TileFetcher* fetcher, std::chrono::milliseconds wait,
                   std::ostream& out, std::ostream& err);

// "1280x800" into width and height; false for anything else.
bool parseSize(const std::string& text, int& width, int& height);

} // namespace qv
