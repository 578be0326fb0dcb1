// Streams quorvel.imp in blocks, so that a file of any size and lines of any
// length are replayed in bounded memory.
#include "intake/ImportReplay.h"

#include "core/Context.h"
#include "core/ErrorLog.h"
#include "core/Failure.h"
#include "core/Station.h"
#include "core/WorkDir.h"
#include "intake/ReceiveHandler.h"
#include "platform/Ui.h"

#include <cerrno>
#include <cstdio>
#include <string>

namespace qv {

namespace {
constexpr const char* kMarker = " in SUB FORMLOAD ";
}

bool ImportReplay::run() {
    lines_ = 0;
    const auto path = ctx_.dir.path(kReplayFile);
    errno = 0;
    FILE* f = std::fopen(path.c_str(), "rb");
    if (!f) {
        ctx_.log.entry(errno == EACCES ? err::PermissionDenied : err::FileNotFound,
                       Failure::describe(errno == EACCES ? err::PermissionDenied : err::FileNotFound), kMarker);
        return false;
    }

    // The programs watching the map documents hear of the import once a
    // second rather than at every report.
    WorkDirBatch batch(ctx_.dir);
    std::string line;
    bool afterCr = false; // a LF right after a CR belongs to the same line end
    auto emit = [&](bool cut) {
        if (cut) receive_.logCut(line);
        receive_.replayLine(line);
        if (afterLine) afterLine();
        ctx_.ui.refresh();
        ++lines_;
        line.clear();
    };
    char buf[65536];
    std::size_t n;
    bool readFailed = false;
    while ((n = std::fread(buf, 1, sizeof buf, f)) > 0) {
        for (std::size_t i = 0; i < n; ++i) {
            const char c = buf[i];
            if (c == '\n' && afterCr) {
                afterCr = false;
                continue;
            }
            afterCr = c == '\r';
            if (c == '\r' || c == '\n') {
                emit(false);
            } else {
                line.push_back(c);
                if (line.size() >= ReceiveHandler::kMaxLine) emit(true);
            }
        }
    }
    readFailed = std::ferror(f) != 0;
    std::fclose(f);
    if (!line.empty()) emit(false);
    if (readFailed) {
        ctx_.log.entry(57, Failure::describe(57), kMarker);
        return false;
    }
    ctx_.ui.message("Quorvel has completed the import of the QUORVEL.IMP file.", "QUORVEL IMPORT NOTICE");
    return true;
}

} // namespace qv
