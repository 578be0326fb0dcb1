// Chunks of points in an unnamed scratch file.
#include "mapfiles/PointList.h"

#include "core/Failure.h"
#include "core/WorkDir.h"

#include <fcntl.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <utility>

namespace qv::mapfile {

namespace {

constexpr std::size_t kPointBytes = sizeof(TrackPoint);

// An open file without a name, in the temporary directory: O_TMPFILE where
// the file system has it, else a file unlinked as soon as it is made.
int scratchFile() {
    std::error_code ec;
    std::filesystem::path dir = std::filesystem::temp_directory_path(ec);
    if (ec) dir = "/tmp";
    int fd = ::open(dir.c_str(), O_TMPFILE | O_RDWR | O_CLOEXEC, 0600);
    if (fd >= 0) return fd;
    std::string name = (dir / "quorvel-points-XXXXXX").string();
    fd = ::mkostemp(name.data(), O_CLOEXEC);
    if (fd >= 0) ::unlink(name.c_str());
    return fd;
}

} // namespace

PointList::PointList(std::vector<TrackPoint> points) {
    if (points.size() <= kChunk) {
        newest_ = std::move(points);
        return;
    }
    for (const TrackPoint& p : points)
        push_back(p);
}

PointList::PointList(PointList&& other) noexcept { swap(other); }

PointList& PointList::operator=(PointList&& other) noexcept {
    PointList gone(std::move(other));
    swap(gone);
    return *this;
}

PointList::~PointList() {
    if (fd_ >= 0) ::close(fd_);
}

void PointList::swap(PointList& other) noexcept {
    std::swap(newest_, other.newest_);
    std::swap(spilled_, other.spilled_);
    std::swap(fd_, other.fd_);
    std::swap(noFile_, other.noFile_);
    std::swap(chunk_, other.chunk_);
    std::swap(chunkAt_, other.chunkAt_);
}

void PointList::push_back(const TrackPoint& p) {
    if (newest_.size() >= kChunk && !noFile_) spill();
    newest_.push_back(p);
}

void PointList::spill() {
    if (fd_ < 0) fd_ = scratchFile();
    // Without a file (or room in it) the points stay in memory: nothing is lost.
    const std::string_view bytes(reinterpret_cast<const char*>(newest_.data()), newest_.size() * kPointBytes);
    if (fd_ < 0 || writeAllAt(fd_, bytes, spilled_ * kPointBytes) != 0) {
        noFile_ = true;
        return;
    }
    spilled_ += newest_.size();
    newest_.clear();
}

TrackPoint PointList::operator[](std::size_t i) const {
    if (i >= spilled_) return newest_[i - spilled_];
    const std::size_t c = i / kChunk;
    if (chunkAt_ != c) {
        chunk_.resize(kChunk);
        const std::size_t bytes = kChunk * kPointBytes;
        if (readAllAt(fd_, reinterpret_cast<char*>(chunk_.data()), bytes, c * bytes) != 0) {
            chunkAt_ = static_cast<std::size_t>(-1);
            throw Failure(57); // Device I/O error
        }
        chunkAt_ = c;
    }
    return chunk_[i % kChunk];
}

void PointList::clear() {
    newest_.clear();
    spilled_ = 0;
    chunkAt_ = static_cast<std::size_t>(-1);
    std::vector<TrackPoint>().swap(chunk_);
}

} // namespace qv::mapfile
