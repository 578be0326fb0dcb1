// A track's points, oldest first, in memory that stays flat however long the
// track grows: the newest points are held here, and older ones go, a chunk at
// a time, to an unnamed scratch file of the list's own (in the temporary
// directory, gone with the program). Reading them back is for the rare
// rebuild of a whole document from memory; a report touches the newest only.
#pragma once

#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <vector>

namespace qv::mapfile {

struct TrackPoint {
    double lat = 0, lon = 0;
    std::int64_t time = 0; // UTC seconds
};

class PointList {
public:
    PointList() = default;
    PointList(std::initializer_list<TrackPoint> points) : PointList(std::vector<TrackPoint>(points)) {}
    PointList(std::vector<TrackPoint> points); // NOLINT: taken as a list wherever a vector is given
    PointList(PointList&& other) noexcept;
    PointList& operator=(PointList&& other) noexcept;
    PointList(const PointList&) = delete;
    PointList& operator=(const PointList&) = delete;
    ~PointList();

    std::size_t size() const { return spilled_ + newest_.size(); }
    bool empty() const { return size() == 0; }
    // The newest point; the list is not empty.
    TrackPoint& back() { return newest_.back(); }
    const TrackPoint& back() const { return newest_.back(); }
    // The point at `i`: a copy, since older points live in the file. Throws
    // Failure when the scratch file cannot be read back.
    TrackPoint operator[](std::size_t i) const;
    void push_back(const TrackPoint& p);
    void clear();
    void swap(PointList& other) noexcept;

    // Points held in memory at most (the newest, and one chunk read back).
    static constexpr std::size_t kChunk = 1024;

private:
    void spill();

    std::vector<TrackPoint> newest_; // never empty while the list is not
    std::size_t spilled_ = 0;        // points in the file, whole chunks
    int fd_ = -1;
    bool noFile_ = false; // no scratch file could be made: all in memory
    mutable std::vector<TrackPoint> chunk_;
    mutable std::size_t chunkAt_ = static_cast<std::size_t>(-1);
};

} // namespace qv::mapfile
