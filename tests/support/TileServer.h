// The local tile server of the map tests (tileserver.py): Python's HTTP
// server on 127.0.0.1 at a port the system picks, serving one-colour tiles
// whose colour says which tile they are, and logging every request.
#pragma once

#include "support/Fakes.h"

#include <QColor>
#include <string>
#include <sys/types.h>
#include <vector>

namespace qv::test {

class TileServer {
public:
    TileServer();
    ~TileServer();
    TileServer(const TileServer&) = delete;
    TileServer& operator=(const TileServer&) = delete;

    int port() const { return port_; }
    // "http://127.0.0.1:PORT/MODE/{z}/{x}/{y}.png"; MODE as tileserver.py reads it.
    std::string url(const std::string& mode) const;
    // The requests so far, one "MODE Z/X/Y STATUS UA=... INM=..." each.
    std::vector<std::string> requests() const;
    // Ends the server now (the machine is offline from here on).
    void stop();

private:
    TempDir dir_;
    pid_t pid_ = -1;
    int port_ = 0;
};

// The colour of tile z/x/y as the server paints it.
QColor tileColour(int z, int x, int y);

} // namespace qv::test
