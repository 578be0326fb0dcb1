// In-place reports, rebuilds with room to grow, and the watch on the file.
#include "mapfiles/PaddedDocument.h"

#include "core/Failure.h"
#include "core/Text.h"
#include "core/WorkDir.h"

#include <algorithm>
#include <filesystem>
#include <memory>

namespace fs = std::filesystem;

namespace qv::mapfile {

namespace {

// Blank room a slot gets at least, and what a block may grow by before the
// document has to be rebuilt.
constexpr std::size_t kMinRoom = 2048;
constexpr std::size_t kBlockSlack = 128;
// The largest single write when a slot's old track is cleared in place.
constexpr std::size_t kChunk = 64 * 1024;
// A bigger file is no document of ours; it is kept aside unread.
constexpr std::uintmax_t kMaxLoad = 1ull << 30;

} // namespace

// ---- composing

PaddedDocument::Composer::Composer(const PaddedDocument& doc, bool fromFile) : doc_(doc) {
    std::size_t total = 0;
    for (int s = 0; s < 8; ++s) {
        if (!doc.listed(s)) continue;
        const auto u = static_cast<std::size_t>(s);
        const auto& pts = doc.slots_[u].points;
        if (fromFile) inFile_[u] = doc.pointsInFile(s);
        for (std::size_t i = inFile_[u].count; i < pts.size(); ++i)
            points_[u] += doc.pointText(pts[i], i == 0);
        total += inFile_[u].size + points_[u].size();
    }
    // Room in proportion to the slot's own track and to all of them: a slot
    // that runs out has written a good share of the document since the last
    // rebuild, which pays for the next one.
    for (std::size_t s = 0; s < 8; ++s)
        room_[s] = std::max({kMinRoom, (inFile_[s].size + points_[s].size()) / 2, total / 16});
}

void PaddedDocument::Composer::block(int slot, int which) {
    Place& p = places_[static_cast<std::size_t>(slot)];
    p.blocks.resize(static_cast<std::size_t>(doc_.blockCount()));
    const bool listed = doc_.listed(slot);
    const std::string t = doc_.block(slot, which, listed);
    // Room for the other form too, so that a track's second point or a new
    // station needs no rebuild.
    const std::size_t size = std::max(t.size(), doc_.block(slot, which, !listed).size()) + kBlockSlack;
    auto& r = p.blocks[static_cast<std::size_t>(which)];
    r = {pos(), size, t};
    r.written.resize(size, ' ');
    out_ += r.written;
}

void PaddedDocument::Composer::track(int slot) {
    const auto s = static_cast<std::size_t>(slot);
    Place& p = places_[s];
    p.pointsAt = pos();
    // The points already in the file and the room are no text here: copied
    // and blanked as the file is written.
    auto span = [&](FileSpan sp) {
        sp.at = pos();
        spans_.push_back(sp);
        inSpans_ += sp.size;
    };
    if (inFile_[s].size != 0) span({0, inFile_[s].at, inFile_[s].size, false});
    out_ += points_[s];
    p.insertAt = pos();
    out_ += doc_.closing(doc_.listed(slot));
    p.closingEnd = pos();
    span({0, 0, room_[s], true});
    p.end = pos();
    p.placed = true;
}

// ---- the document

PaddedDocument::PaddedDocument(Context& ctx, std::string file, std::string keptFile, std::string status)
    : MapFileStep(ctx), file_(std::move(file)), kept_(std::move(keptFile)), status_(std::move(status)) {}

PaddedDocument::Composer::InFile PaddedDocument::pointsInFile(int slot) const {
    const Place& p = places_[static_cast<std::size_t>(slot)];
    const std::size_t have = slots_[static_cast<std::size_t>(slot)].points.size();
    if (!layoutKnown_ || !p.placed || p.count == 0 || p.count > have || p.insertAt < p.pointsAt) return {};
    return {p.count, p.pointsAt, p.insertAt - p.pointsAt};
}

bool PaddedDocument::showsMemory() {
    SlotTracks file;
    if (!readBack(file)) return false;
    // Both composed alike: equal text, equal documents.
    Composer ours(*this, false);
    compose(ours);
    std::swap(slots_, file);
    Composer theirs(*this, false);
    compose(theirs);
    std::swap(slots_, file);
    return ours.out_ == theirs.out_ && ours.spans_ == theirs.spans_;
}

std::string PaddedDocument::allPoints(const PointList& pts) const {
    std::string out;
    for (std::size_t i = 0; i < pts.size(); ++i)
        out += pointText(pts[i], i == 0);
    return out;
}

void PaddedDocument::step(const MapEntry& e) {
    show(status_);
    guarded([&] { write(e); });
}

bool PaddedDocument::readBack(SlotTracks& out) const {
    try {
        return read(ctx_.dir.readText(file_), out);
    } catch (const Failure&) {
        return false;
    }
}

void PaddedDocument::load() {
    loaded_ = true;
    const FileStamp before = stampOf(dir(), file_);
    if (!before.present || before.size > kMaxLoad) return;
    std::string doc;
    try {
        doc = dir().readText(file_);
    } catch (const Failure&) {
        return; // unreadable: handled as another program's file
    }
    SlotTracks got;
    // A file that changed while it was read is read again at the next report
    // as a stranger's: kept aside, nothing lost.
    if (!read(doc, got) || !(stampOf(dir(), file_) == before)) return;
    slots_ = std::move(got);
    stamp_ = before;
}

void PaddedDocument::write(const MapEntry& e) {
    if (e.slot < 1 || e.slot > 8) return;
    if (!loaded_) load();

    const FileStamp now = dir().identityAsLeft(file_, stamp_);
    bool foreign = false;
    if (!now.present) {
        // Archived or deleted since: the tracks start afresh, as the other
        // map files do after an archive.
        if (stamp_.present)
            for (auto& t : slots_)
                t = SlotTrack{};
        stamp_ = {};
        layoutKnown_ = false;
    } else if (!(now == stamp_)) {
        // Written through a mapping, our file's time is not known: differing
        // in its time alone, it is ours when it shows what memory holds. It
        // is rebuilt all the same, and its time known again.
        FileIdentity ours = now;
        ours.mtimeNs = stamp_.mtimeNs;
        foreign = !(stamp_.mtimeNs == FileIdentity::kTimeUnknown && ours == stamp_ && showsMemory());
        layoutKnown_ = false;
    }

    const int s = e.slot - 1;
    SlotTrack& t = slots_[static_cast<std::size_t>(s)];
    const bool newSlot = t.points.empty();
    const bool newStation = !newSlot && !text::iequals(t.callsign, e.callsign);
    const bool wasListed = listed(s);
    PointList old;
    if (newStation) {
        old.swap(t.points);
        places_[static_cast<std::size_t>(s)].count = 0; // no longer this track's points
    }
    const bool namesChanged = t.callsign != e.callsign || t.tactical != e.tactical || t.name != e.name;
    t.callsign = e.callsign;
    t.tactical = e.tactical;
    t.name = e.name;
    t.points.push_back(e.point);

    if (layoutKnown_ && !newSlot && inPlace(s, old, newStation, wasListed, namesChanged)) return;
    rebuild(foreign || (layoutKnown_ && !(dir().identityAsLeft(file_, stamp_) == stamp_)));
}

bool PaddedDocument::inPlace(int slot, const PointList& old, bool newStation, bool wasListed, bool namesChanged) {
    Place& p = places_[static_cast<std::size_t>(slot)];
    const auto k = static_cast<std::size_t>(blockCount());
    if (!p.placed || p.blocks.size() != k || p.blocks[k - 1].at + p.blocks[k - 1].size != p.pointsAt) return false;
    const SlotTrack& t = slots_[static_cast<std::size_t>(slot)];
    const bool nowListed = listed(slot);
    auto padded = [&](std::size_t w, std::string& out) {
        out = block(slot, static_cast<int>(w), nowListed);
        if (out.size() > p.blocks[w].size) return false;
        out.resize(p.blocks[w].size, ' ');
        return true;
    };

    std::vector<Patch> patches;
    std::size_t insertAt, closingEnd, blocksBefore;
    if (newStation || nowListed != wasListed) {
        // The slot's last block, all its points and the closing in one write,
        // with blanks over whatever stood there before.
        std::size_t end = p.closingEnd;
        if (newStation && wasListed) {
            // A long old track is first cut back from its end in writes of
            // bounded size, each leaving a complete document behind.
            std::vector<std::size_t> bound(old.size() + 1);
            bound[0] = p.pointsAt;
            for (std::size_t i = 0; i < old.size(); ++i)
                bound[i + 1] = bound[i] + pointText(old[i], i == 0).size();
            if (bound.back() != p.insertAt) return false;
            const std::string close = closing(true);
            std::size_t j = old.size();
            while (j > 0 && end - p.pointsAt > kChunk) {
                std::size_t cut = j - 1;
                while (cut > 0 && end - bound[cut - 1] <= kChunk)
                    --cut;
                std::string data = close;
                data.resize(end - bound[cut], ' ');
                patches.push_back({bound[cut], std::move(data)});
                end = bound[cut] + close.size();
                j = cut;
            }
        }
        std::string head;
        if (!padded(k - 1, head)) return false;
        const std::string pts = nowListed ? allPoints(t.points) : std::string();
        const std::string close = closing(nowListed);
        insertAt = p.pointsAt + pts.size();
        closingEnd = insertAt + close.size();
        if (closingEnd > p.end) return false;
        std::string data = head + pts + close;
        if (closingEnd < end) data.append(end - closingEnd, ' ');
        patches.push_back({p.blocks[k - 1].at, std::move(data)});
        blocksBefore = k - 1;
    } else {
        // The new point and the closing over the old closing and the room.
        const std::string pt = nowListed ? pointText(t.points.back(), t.points.size() == 1) : std::string();
        const std::string close = closing(nowListed);
        insertAt = p.insertAt + pt.size();
        closingEnd = insertAt + close.size();
        if (closingEnd > p.end) return false;
        std::string data = pt + close;
        if (closingEnd < p.closingEnd) data.append(p.closingEnd - closingEnd, ' ');
        patches.push_back({p.insertAt, std::move(data)});
        blocksBefore = k;
    }
    std::vector<std::pair<std::size_t, std::string>> blocks; // the blocks that change
    for (std::size_t w = 0; w < blocksBefore; ++w) {
        if (!namesChanged && !blockShowsPosition(static_cast<int>(w))) continue;
        std::string b;
        if (!padded(w, b)) return false;
        if (b != p.blocks[w].written) blocks.emplace_back(w, std::move(b));
    }
    for (const auto& [w, b] : blocks)
        patches.push_back({p.blocks[w].at, b});
    if (!applyPatches(patches)) return false;
    p.insertAt = insertAt;
    p.closingEnd = closingEnd;
    p.count = nowListed ? t.points.size() : 0;
    if (blocksBefore < k)
        p.blocks[k - 1].written = patches[patches.size() - blocks.size() - 1].data.substr(0, p.blocks[k - 1].size);
    for (auto& [w, b] : blocks)
        p.blocks[w].written = std::move(b);
    return true;
}

bool PaddedDocument::applyPatches(const std::vector<Patch>& patches) {
    FileStamp after;
    try {
        // Written only into the very file this program left there.
        after = dir().writeInPlace(file_, stamp_, patches);
    } catch (const Failure&) {
        // Whatever landed, the next report rebuilds the file from memory.
        layoutKnown_ = false;
        throw;
    }
    if (!after.present) return false;
    stamp_ = after;
    return true;
}

void PaddedDocument::rebuild(bool foreign) {
    std::unique_ptr<Composer> c(new Composer(*this, !foreign && layoutKnown_));
    compose(*c);
    // Until the new version is in place: a failed rebuild is done again whole.
    layoutKnown_ = false;
    // Another program's version of the file is kept, whole, before ours takes
    // the name back (unless it went away meanwhile).
    if (foreign && !stampOf(dir(), file_).present) foreign = false;
    if (foreign) dir().copyAtomically(file_, kept_);
    if (!dir().replaceAtomicallyKeeping(file_, stamp_, c->out_, c->spans_)) {
        // The file changed under us: composed again, from memory alone.
        c.reset(new Composer(*this, false));
        compose(*c);
        dir().replaceAtomicallyKeeping(file_, stamp_, c->out_, c->spans_);
    }
    places_ = c->places_;
    layoutKnown_ = true;
    stamp_ = stampOf(dir(), file_);
    ++rebuilds_;
    if (foreign)
        ctx_.log.entry(err::PathFileAccess, file_ + " was changed by another program; that version is kept as " + kept_,
                       kSavefilesMarker);
    replaced();
}

} // namespace qv::mapfile
