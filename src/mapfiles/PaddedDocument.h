// A map document (GPX, KML, GeoJSON) that is complete after every report and
// costs the same per report however long the tracks grow.
//
// The whole state is kept in memory (read back once, at the first report of a
// run). On disk every slot has room: its rewritable blocks (the latest
// position, the track's names) are padded with blanks, and its track points
// are followed by the closing tags and then blank room. A report writes a few
// hundred bytes in place: the new point together with the closing tags over
// the start of the room, then the blocks. Each write takes one complete
// document to another, since XML and JSON ignore the blanks. Only when a slot
// runs out of room (or a slot joins the document, or a block outgrows its
// padding) is the document rebuilt from memory and replaced whole, with room in
// proportion to what the tracks already hold, so rebuilds grow rarer as the
// tracks grow and the cost per report stays flat.
//
// Before each report the file is compared (device, inode, size, time) with
// what this program last left there: a file that is gone was archived or
// deleted, and the tracks start afresh; a file some other program wrote is
// kept under another name and the document is rebuilt from memory, so no
// position is ever written into a stranger's file or lost. Written through a
// mapping, the file's time is not known; a file that differs in its time
// alone is then read back, and taken as ours when it shows what memory holds.
//
// A rebuild takes the text of the points already in the file from the file
// (while it is as we left it) rather than writing each point out again.
#pragma once

#include "mapfiles/MapFileIo.h"
#include "mapfiles/MapFileStep.h"
#include "mapfiles/PointList.h"

#include <array>
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace qv::mapfile {

// What one slot shows: the station, its names and its track, oldest first;
// the last point is the latest position. No points: the slot is not shown.
struct SlotTrack {
    std::string callsign, tactical, name; // name: the display name
    PointList points;
};
using SlotTracks = std::array<SlotTrack, 8>; // slots A .. H

// One written report as the map documents take it.
struct MapEntry {
    int slot = 0; // 1..8
    std::string callsign, tactical, name;
    TrackPoint point;
};

class PaddedDocument : protected MapFileStep {
public:
    PaddedDocument(Context& ctx, std::string file, std::string keptFile, std::string status);
    virtual ~PaddedDocument() = default;

    // The step of the file-writing pass: shows its status and writes the
    // entry; a failure is logged and the pass goes on. The entry stays in
    // memory and reaches the file with the next report that can be written.
    void step(const MapEntry& e);
    void write(const MapEntry& e); // throws Failure

    const SlotTracks& tracks() const { return slots_; }
    // Reads the file as it is now; false when it is missing or no document
    // this program wrote.
    bool readBack(SlotTracks& out) const;
    const std::string& fileName() const { return file_; }
    long rebuilds() const { return rebuilds_; }

    // Builds a document from its parts, noting where each slot's blocks, points
    // and room lie. Used by the formats' compose().
    class Composer {
    public:
        void text(std::string_view s) { out_ += s; }
        std::size_t pos() const { return out_.size() + inSpans_; } // in the document
        void block(int slot, int which);
        // The slot's points, closing and room; right after its last block.
        void track(int slot);

    private:
        friend class PaddedDocument;
        // `fromFile`: the text of the points already written is read from the file.
        Composer(const PaddedDocument& doc, bool fromFile);
        struct Region {
            std::size_t at = 0, size = 0;
            std::string written; // the padded text there now
        };
        struct Place {
            std::vector<Region> blocks;
            std::size_t pointsAt = 0, insertAt = 0, closingEnd = 0, end = 0;
            std::size_t count = 0; // the points of the slot's track written at pointsAt
            bool placed = false;
        };
        // The text of a slot's first points as it stands in the file.
        struct InFile {
            std::size_t count = 0, at = 0, size = 0;
        };
        const PaddedDocument& doc_;
        // The document but for the spans: the points taken from the file and the rooms.
        std::string out_;
        std::vector<FileSpan> spans_;
        std::size_t inSpans_ = 0;
        std::array<InFile, 8> inFile_;
        std::array<std::string, 8> points_; // the text of the points after those
        std::array<std::size_t, 8> room_{};
        std::array<Place, 8> places_;
    };

protected:
    // ---- what each format defines (slot is 0..7)
    // Rewritable blocks per slot; the last one ends where the slot's points
    // begin, and may differ as the points are listed or not.
    virtual int blockCount() const = 0;
    virtual std::string block(int slot, int which, bool listed) const = 0;
    // Whether the block shows the latest position, and so changes with every
    // report; the others change only with the slot's names.
    virtual bool blockShowsPosition(int /*which*/) const { return true; }
    // Whether the slot's points are written out (a line needs two of them).
    virtual bool listed(int slot) const { return !slots_[static_cast<std::size_t>(slot)].points.empty(); }
    virtual std::string pointText(const TrackPoint& p, bool first) const = 0;
    // What follows the points of a slot whose points are (not) listed.
    virtual std::string closing(bool listed) const = 0;
    virtual void compose(Composer& c) const = 0;
    // Reads a document back; false when it is not one this program wrote.
    virtual bool read(std::string_view doc, SlotTracks& out) const = 0;
    // Runs after each whole rewrite of the file.
    virtual void replaced() {}

    // A piece of a block made from the slot's names alone (slot 0..7, part
    // 0..3): built again only when the names change, since the blocks that
    // show the latest position are written at every report.
    template <class Build> const std::string& namesText(int slot, int part, Build&& build) const {
        NamesText& c = namesTexts_[static_cast<std::size_t>(slot)][static_cast<std::size_t>(part)];
        const SlotTrack& t = slots_[static_cast<std::size_t>(slot)];
        if (!c.built || c.callsign != t.callsign || c.tactical != t.tactical || c.name != t.name) {
            c.text = build();
            c.callsign = t.callsign;
            c.tactical = t.tactical;
            c.name = t.name;
            c.built = true;
        }
        return c.text;
    }

    SlotTracks slots_;

private:
    using Place = Composer::Place;
    using Patch = FilePatch;

    void load();
    bool inPlace(int slot, const PointList& old, bool newStation, bool wasListed, bool namesChanged);
    bool applyPatches(const std::vector<Patch>& patches);
    void rebuild(bool foreign);
    std::string allPoints(const PointList& pts) const;
    // Where the text of the slot's first points stands in the file, while
    // the file is as we left it; none when that is not known.
    Composer::InFile pointsInFile(int slot) const;
    // Whether the file, as read now, shows what memory holds.
    bool showsMemory();

    struct NamesText {
        std::string callsign, tactical, name, text;
        bool built = false;
    };
    mutable std::array<std::array<NamesText, 4>, 8> namesTexts_;

    std::string file_, kept_, status_;
    bool loaded_ = false;
    bool layoutKnown_ = false;
    FileStamp stamp_; // the file as this program last left it
    std::array<Place, 8> places_;
    long rebuilds_ = 0;
};

} // namespace qv::mapfile
