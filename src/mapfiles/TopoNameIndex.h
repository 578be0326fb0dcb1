// The waypoint names of quorvelNGTOPO.txt, kept in memory only while the
// file's identity, size and modification time show it unchanged, so a report
// costs the same whether the file holds ten lines or a hundred thousand.
#pragma once

#include "mapfiles/MapFileIo.h"

#include <cstddef>
#include <string>
#include <string_view>
#include <unordered_set>

namespace qv {
class WorkDir;
}

namespace qv::mapfile {

class TopoNameIndex {
public:
    // Brings the names up to date with the file on disk (reading it only when
    // it changed). Throws the read failure; the index is then empty and stale.
    void refresh(const WorkDir& dir, std::string_view file);

    // Whether the waypoint name of `record` is a name of the file, ignoring case.
    bool nameIn(std::string_view record) const;

    // Records that `line` was just appended to the file by us; when the file
    // then looks exactly like the cached one plus this line, its name is
    // added, otherwise the next refresh reads the file again.
    void appended(const WorkDir& dir, std::string_view file, const std::string& line);

    // The third comma-separated field without its surrounding spaces.
    static std::string nameOf(std::string_view line);

private:
    void add(const std::string& name);

    FileStamp stamp_;
    bool valid_ = false;
    bool appendedLast_ = false;             // our last append brought the names up to date
    std::unordered_set<std::string> names_; // upper case
};

} // namespace qv::mapfile
