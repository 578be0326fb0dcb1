// Looking a name up is one hash lookup of the record's own waypoint name.
#include "mapfiles/TopoNameIndex.h"

#include "core/Text.h"
#include "core/WorkDir.h"

namespace qv::mapfile {

std::string TopoNameIndex::nameOf(std::string_view line) { return thirdField(line); }

void TopoNameIndex::add(const std::string& name) {
    if (name.empty()) return;
    names_.insert(text::upper(name));
}

void TopoNameIndex::refresh(const WorkDir& dir, std::string_view file) {
    // Still as our last append left it: nothing to look at (within a pass,
    // the directory's watch says so without a look at the name).
    if (valid_ && appendedLast_ && dir.untouchedSinceAppend(file)) return;
    appendedLast_ = false;
    FileStamp now = stampOf(dir, file);
    if (valid_ && now == stamp_) return;
    valid_ = false;
    names_.clear();
    if (now.present) {
        for (const auto& line : dir.readLines(file))
            add(nameOf(line));
    }
    stamp_ = now;
    valid_ = true;
}

bool TopoNameIndex::nameIn(std::string_view record) const {
    // The record's name field against whole names: "1-0905" (tactical name
    // "1") is not taken by "Engine 1-0905", nor "A-0905" by "TacA-0905".
    const std::string name = thirdField(record);
    return !name.empty() && names_.count(text::upper(name)) != 0;
}

void TopoNameIndex::appended(const WorkDir& dir, std::string_view file, const std::string& line) {
    FileStamp now = stampOf(dir, file);
    const std::uint64_t before = stamp_.present ? stamp_.size : 0;
    const bool sameFile = !stamp_.present || (now.device == stamp_.device && now.inode == stamp_.inode);
    if (valid_ && now.present && sameFile && now.size == before + line.size() + 2) {
        add(nameOf(line));
        stamp_ = now;
        appendedLast_ = true;
    } else {
        valid_ = false;
        appendedLast_ = false;
    }
}

} // namespace qv::mapfile
