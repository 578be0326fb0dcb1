// File operations the map-file writer needs beyond WorkDir: reading only the
// head or the tail of a long file, appending without leaving a torn line
// behind, and replacing a file so that it is always either old or new whole.
#pragma once

#include "core/WorkDir.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace qv {

class WorkDir;

namespace mapfile {

// The last line that is not empty, read backwards from the end of the file,
// so the cost does not depend on the file's length (or known without reading
// when the file is as our last append left it). "" when there is none.
// Line ends are CR LF, lone CR or lone LF, as WorkDir reads them.
std::string lastNonEmptyLine(const WorkDir& dir, std::string_view name);

// At most `count` lines from the top of the file.
std::vector<std::string> headLines(const WorkDir& dir, std::string_view name, std::size_t count);

// Appends the lines; when the write fails part way, the file is cut back to
// its length before the call (or removed when the call created it) and the
// failure is passed on, so the next append never continues a torn line.
void appendLines(const WorkDir& dir, std::string_view name, const std::vector<std::string>& lines,
                 const std::vector<std::string>& headerIfNew = {});

// Rewrites the file through an exclusive scratch copy renamed over it: a
// failed write leaves the previous content in place.
void replaceLines(const WorkDir& dir, std::string_view name, const std::vector<std::string>& lines);

// The third comma-separated field of a record without its surrounding blanks,
// "" when the line has fewer fields: the station or waypoint name of the
// Street Atlas and TOPO! records, which say whose a line is.
std::string thirdField(std::string_view line);

// What says whether a file changed since it was last read.
using FileStamp = FileIdentity;
FileStamp stampOf(const WorkDir& dir, std::string_view name);

} // namespace mapfile
} // namespace qv
