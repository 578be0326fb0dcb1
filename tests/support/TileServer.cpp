// Starting and ending the tile server.
#include "support/TileServer.h"

#include <csignal>
#include <cstdio>
#include <sstream>
#include <sys/wait.h>
#include <unistd.h>

namespace qv::test {

TileServer::TileServer() {
    int out[2];
    if (::pipe(out) != 0) return;
    const std::string script = std::string(QUORVEL_SOURCE_DIR) + "/tests/support/tileserver.py";
    const std::string log = (dir_.path() / "requests.log").string();
    pid_ = ::fork();
    if (pid_ == 0) {
        ::dup2(out[1], 1);
        ::close(out[0]);
        ::close(out[1]);
        // The system's own Python where there is one: wrappers on the path can take a second to start.
        const char* python = ::access("/usr/bin/python3", X_OK) == 0 ? "/usr/bin/python3" : "python3";
        ::execlp(python, "python3", script.c_str(), log.c_str(), static_cast<char*>(nullptr));
        ::_exit(127);
    }
    ::close(out[1]);
    // The first line is the port, once the server listens.
    std::string line;
    char c;
    while (::read(out[0], &c, 1) == 1 && c != '\n')
        line += c;
    ::close(out[0]);
    port_ = std::atoi(line.c_str());
}

TileServer::~TileServer() { stop(); }

void TileServer::stop() {
    if (pid_ <= 0) return;
    ::kill(pid_, SIGTERM);
    ::waitpid(pid_, nullptr, 0);
    pid_ = -1;
}

std::string TileServer::url(const std::string& mode) const {
    return "http://127.0.0.1:" + std::to_string(port_) + "/" + mode + "/{z}/{x}/{y}.png";
}

std::vector<std::string> TileServer::requests() const {
    std::vector<std::string> out;
    std::istringstream in(dir_.read("requests.log"));
    for (std::string line; std::getline(in, line);)
        out.push_back(line);
    return out;
}

QColor tileColour(int z, int x, int y) {
    return QColor((x * 67 + z * 13) % 200 + 30, (y * 43 + z * 29) % 200 + 30, (z * 12) % 200 + 30);
}

} // namespace qv::test
