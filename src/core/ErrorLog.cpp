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
    std::vector<std::string> lines;
    if (!guard(kMarker, [&] { lines = dir_.readLines(kErrorFile); })) return;
    const long total = static_cast<long>(lines.size());
    if (total <= 1001) return;
    // Lines numbered from 1 whose number is at least total - 1000 survive.
    std::vector<std::string> kept(lines.begin() + (total - 1001), lines.end());
    // Go through the scratch copy so that a failed rewrite leaves a whole copy behind.
    if (!guard(kMarker, [&] { dir_.writeLines("quorvel.rrr", kept); })) return;
    if (!guard(kMarker, [&] { dir_.writeLines(kErrorFile, kept); })) return;
    guard(kMarker, [&] { dir_.remove("quorvel.rrr"); });
}

void ErrorLog::debugLine(std::string_view line) {
    try {
        dir_.appendLine(kDebugLogFile, line);
    } catch (...) {
    }
}

} // namespace qv
