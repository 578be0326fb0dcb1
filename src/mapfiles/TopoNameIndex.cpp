// Looking a name up costs the length of the record squared, never the number
// of names: every piece of the record up to the longest name is tried.
#include "mapfiles/TopoNameIndex.h"

#include "core/Text.h"
#include "core/WorkDir.h"

namespace qv::mapfile {

std::string TopoNameIndex::nameOf(std::string_view line) {
    // A line with fewer than three fields has no name (rather than one that
    // would be taken to match every record).
    std::size_t first = line.find(',');
    if (first == std::string_view::npos) return {};
    std::size_t second = line.find(',', first + 1);
    if (second == std::string_view::npos) return {};
    std::size_t third = line.find(',', second + 1);
    std::string_view field =
        line.substr(second + 1, third == std::string_view::npos ? std::string_view::npos : third - second - 1);
    std::size_t b = field.find_first_not_of(' ');
    if (b == std::string_view::npos) return {};
    std::size_t e = field.find_last_not_of(' ');
    return std::string(field.substr(b, e - b + 1));
}

void TopoNameIndex::add(const std::string& name) {
    if (name.empty()) return;
    names_.insert(text::upper(name));
    if (name.size() > longest_) longest_ = name.size();
}

void TopoNameIndex::refresh(const WorkDir& dir, std::string_view file) {
    FileStamp now = stampOf(dir, file);
    if (valid_ && now == stamp_) return;
    valid_ = false;
    names_.clear();
    longest_ = 0;
    if (now.present) {
        for (const auto& line : dir.readLines(file))
            add(nameOf(line));
    }
    stamp_ = now;
    valid_ = true;
}

bool TopoNameIndex::nameIn(std::string_view record) const {
    if (names_.empty()) return false;
    const std::string up = text::upper(record);
    std::string piece;
    for (std::size_t start = 0; start < up.size(); ++start) {
        for (std::size_t len = 1; len <= longest_ && start + len <= up.size(); ++len) {
            piece.assign(up, start, len);
            if (names_.count(piece)) return true;
        }
    }
    return false;
}

void TopoNameIndex::appended(const WorkDir& dir, std::string_view file, const std::string& line) {
    FileStamp now = stampOf(dir, file);
    const std::uint64_t before = stamp_.present ? stamp_.size : 0;
    const bool sameFile = !stamp_.present || (now.device == stamp_.device && now.inode == stamp_.inode);
    if (valid_ && now.present && sameFile && now.size == before + line.size() + 2) {
        add(nameOf(line));
        stamp_ = now;
    } else {
        valid_ = false;
    }
}

} // namespace qv::mapfile
