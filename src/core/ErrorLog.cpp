// Error entries, the guard, trimming and the debug log.
#include "core/ErrorLog.h"

#include "core/DateText.h"
#include "core/WorkDir.h"
#include "platform/Clock.h"

#include <string>
#include <vector>

namespace qv {

std::string ErrorLog::entryLine(int number, std::string_view description, std::string_view marker) {
    std::string line = "ERROR ";
    if (number >= 0) line += ' ';
    line += std::to_string(number);
    line += description;
    line += marker;
    line += generalDate(clock_.now());
    return line;
}

void ErrorLog::entry(int number, std::string_view description, std::string_view marker) {
    try {
        dir_.appendLines(kErrorFile, {std::string(), entryLine(number, description, marker)});
    } catch (...) {
        // Nowhere left to report it.
    }
}

void ErrorLog::errorfileresize() {
    static constexpr const char* kMarker = " in SUB ERRORFILERESIZE ";
    if (!dir_.exists(kErrorFile)) return;
    // One pass keeping only the lines that may survive, in a ring whose
    // strings are reused, so that neither a file of millions of empty lines
    // nor one endless line fills the memory.
    std::vector<std::string> ring(kKeptLines);
    std::size_t total = 0;
    if (!guard(kMarker, [&] {
            dir_.forEachLine(kErrorFile, kMaxErrorLine,
                             [&](const LineRead& l) { ring[total++ % kKeptLines].assign(l.text); });
        }))
        return;
    if (total <= kKeptLines) return;
    std::vector<std::string> kept;
    kept.reserve(kKeptLines);
    for (std::size_t i = 0; i < kKeptLines; ++i)
        kept.push_back(std::move(ring[(total + i) % kKeptLines]));
    // Replaced in one step: a failed rewrite leaves the whole old file.
    guard(kMarker, [&] { dir_.replaceLinesAtomically(kErrorFile, kept); });
}

void ErrorLog::debugLine(std::string_view line) {
    try {
        dir_.appendLine(kDebugLogFile, line);
    } catch (...) {
    }
}

} // namespace qv
