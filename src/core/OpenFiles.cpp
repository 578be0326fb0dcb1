// A handful of descriptors at most: the map files of one pass, the scratch
// files and the logs.
#include "core/OpenFiles.h"

#include "core/GuardedCopy.h"

#include <sys/inotify.h>
#include <sys/mman.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstring>

namespace qv {

namespace {
constexpr std::size_t kMostOpen = 48;
}

OpenFiles::~OpenFiles() {
    forgetAll();
    if (notify_ >= 0) ::close(notify_);
}

void OpenFiles::beginPass(const std::filesystem::path& dir) {
    if (passes_++ > 0) return;
    if (!watching_ && !watchFailed_) {
        notify_ = ::inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
        // Everything that can take a name from a file or give it a new one,
        // or make it unwritable; our own appends (IN_MODIFY) are no news.
        constexpr std::uint32_t kMask = IN_CREATE | IN_DELETE | IN_MOVED_FROM | IN_MOVED_TO | IN_ATTRIB |
                                        IN_CLOSE_WRITE | IN_DELETE_SELF | IN_MOVE_SELF | IN_ONLYDIR;
        watching_ = notify_ >= 0 && ::inotify_add_watch(notify_, dir.empty() ? "." : dir.c_str(), kMask) >= 0;
        watchFailed_ = !watching_;
        // What was checked before the watch began may have changed unseen.
        markAll();
        return;
    }
    catchUp();
}

namespace {
std::int64_t coarseMs() {
    timespec ts{};
    ::clock_gettime(CLOCK_MONOTONIC_COARSE, &ts);
    return static_cast<std::int64_t>(ts.tv_sec) * 1000 + ts.tv_nsec / 1000000;
}
} // namespace

void OpenFiles::endPass() {
    if (passes_ > 0 && --passes_ == 0) {
        if (batches_ == 0) {
            tellAll();
        } else if (const std::int64_t now = coarseMs(); now - lastTold_ >= 1000) {
            tellAll();
            lastTold_ = now;
        }
    }
}

void OpenFiles::endBatch() {
    if (batches_ > 0 && --batches_ == 0) tellAll();
}

void OpenFiles::tellAll() {
    for (auto& [key, f] : files_)
        tell(f);
}

void OpenFiles::tell(OpenFile& f) {
    if (f.untoldAt < 0) return;
    const auto at = static_cast<std::size_t>(f.untoldAt);
    f.untoldAt = -1;
    // A file cut short since (truncate(2) is no news to the directory's
    // watch) is not written past its end: it is looked at afresh at the
    // next write instead, and taken for another program's.
    struct stat sb {};
    char byte = 0;
    if (::fstat(f.fd, &sb) != 0 || static_cast<std::uint64_t>(sb.st_size) != f.sizeAfter || !f.map || at >= f.mapSize ||
        !copyGuarded(&byte, f.map + at, 1)) {
        f.checked = false;
        return;
    }
    [[maybe_unused]] const ssize_t n = ::pwrite(f.fd, &byte, 1, static_cast<off_t>(at));
}

void OpenFiles::release(OpenFile& f) {
    tell(f);
    if (f.map) ::munmap(f.map, f.mapSize);
    f.map = nullptr;
    ::close(f.fd);
}

void OpenFiles::markAll() {
    for (auto& [key, f] : files_)
        f.checked = false;
    for (auto& [name, seen] : present_)
        seen = false;
    ownMoves_.clear();
}

bool OpenFiles::stillPresent(std::string_view name) const {
    if (passes_ == 0 || !watching_) return false;
    const auto it = present_.find(name);
    return it != present_.end() && it->second;
}

void OpenFiles::notePresent(std::string_view name) {
    if (present_.size() < kMostOpen || present_.count(name)) present_[std::string(name)] = true;
}

void OpenFiles::expectSwap(std::string_view a, std::string_view b) {
    if (!watching_) return;
    for (auto name : {a, b})
        if (present_.count(name)) ownMoves_[std::string(name)] += 2; // moved from, moved to
}

void OpenFiles::catchUp() {
    if (!watching_) return;
    catchUpEvents();
    // Our own moves are all in the queue once the swap returned: any still
    // missing means the events cannot be matched up, and the name is looked at.
    for (auto& [name, left] : ownMoves_)
        if (left > 0)
            if (const auto it = present_.find(name); it != present_.end()) it->second = false;
    ownMoves_.clear();
}

void OpenFiles::catchUpEvents() {
    alignas(inotify_event) char buf[65536];
    for (;;) {
        const ssize_t n = ::read(notify_, buf, sizeof buf);
        if (n <= 0) {
            if (n < 0 && errno == EINTR) continue;
            // EAGAIN: nothing (more) happened. Anything else: the watch can no longer be relied on.
            if (n == 0 || errno != EAGAIN) {
                watching_ = false;
                watchFailed_ = true;
                markAll();
            }
            return;
        }
        for (ssize_t at = 0; at < n;) {
            inotify_event ev;
            std::memcpy(&ev, buf + at, sizeof ev);
            const char* name = buf + at + sizeof ev;
            at += static_cast<ssize_t>(sizeof ev + ev.len);
            if (ev.mask & (IN_Q_OVERFLOW | IN_IGNORED | IN_DELETE_SELF | IN_MOVE_SELF | IN_UNMOUNT)) {
                markAll();
                if (!(ev.mask & IN_Q_OVERFLOW)) {
                    watching_ = false;
                    watchFailed_ = true;
                }
                continue;
            }
            if (ev.len == 0) continue;
            for (auto& [key, f] : files_)
                if (f.checked && f.leaf == name) f.checked = false;
            if (ev.mask & (IN_MOVED_FROM | IN_MOVED_TO))
                if (const auto own = ownMoves_.find(name); own != ownMoves_.end() && own->second > 0) {
                    --own->second;
                    continue;
                }
            if (const auto it = present_.find(name); it != present_.end()) it->second = false;
        }
        // A read that left room for more took all there was.
        if (static_cast<std::size_t>(n) < sizeof buf - sizeof(inotify_event) - NAME_MAX - 1) return;
    }
}

OpenFile* OpenFiles::find(std::string_view key) {
    auto it = files_.find(key);
    if (it == files_.end()) return nullptr;
    it->second.lastUse = ++clock_;
    return &it->second;
}

bool OpenFiles::sameFile(const OpenFile& f, const struct stat& sb) {
    return S_ISREG(sb.st_mode) && sb.st_dev == f.device && sb.st_ino == f.inode && sb.st_mode == f.mode &&
           sb.st_uid == f.owner && sb.st_gid == f.group;
}

OpenFile& OpenFiles::keep(std::string_view key, int fd, const std::filesystem::path& path, const struct stat& sb,
                          FileUse use) {
    forget(key);
    if (files_.size() >= kMostOpen) {
        auto oldest = std::min_element(files_.begin(), files_.end(), [](const auto& a, const auto& b) {
            return a.second.lastUse < b.second.lastUse;
        });
        release(oldest->second);
        files_.erase(oldest);
    }
    OpenFile& f = files_[std::string(key)];
    f.fd = fd;
    f.path = path;
    f.leaf = path.filename().string();
    f.device = sb.st_dev;
    f.inode = sb.st_ino;
    f.mode = sb.st_mode;
    f.owner = sb.st_uid;
    f.group = sb.st_gid;
    f.use = use;
    f.checked = true;
    f.sizeAfter = static_cast<std::uint64_t>(sb.st_size);
    f.mtimeAfter = static_cast<std::int64_t>(sb.st_mtim.tv_sec) * 1000000000LL + sb.st_mtim.tv_nsec;
    f.lastUse = ++clock_;
    return f;
}

void OpenFiles::forget(std::string_view key) {
    auto it = files_.find(key);
    if (it == files_.end()) return;
    release(it->second);
    files_.erase(it);
}

void OpenFiles::forgetAll() {
    for (auto& [key, f] : files_)
        release(f);
    files_.clear();
}

} // namespace qv
