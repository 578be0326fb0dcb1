// Working-directory files with CR LF lines and case-blind names.
#include "core/WorkDir.h"

#include "core/Failure.h"
#include "core/GuardedCopy.h"
#include "core/OpenFiles.h"
#include "core/Text.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <optional>
#include <random>
#include <system_error>
#include <utility>

namespace fs = std::filesystem;

namespace qv {

namespace {

[[noreturn]] void failFromErrno(int e) {
    switch (e) {
    case ENOENT: throw Failure(err::FileNotFound);
    case ENOTDIR: throw Failure(err::PathNotFound);
    case EISDIR: throw Failure(err::PathFileAccess);
    case EACCES:
    case EPERM:
    case EROFS: throw Failure(err::PermissionDenied);
    case ENOSPC:
    case EDQUOT:
    case EFBIG: throw Failure(err::DiskFull);
    default: throw Failure(57); // Device I/O error
    }
}

struct Fd {
    int fd = -1;
    explicit Fd(int f) : fd(f) {}
    Fd(const Fd&) = delete;
    Fd& operator=(const Fd&) = delete;
    ~Fd() {
        if (fd >= 0) ::close(fd);
    }
    // The close that counts: a failing one is a failed write (NFS, quotas).
    int release() {
        const int r = ::close(fd);
        fd = -1;
        return r == 0 ? 0 : (errno ? errno : EIO);
    }
};

FileIdentity identityOf(const struct stat& sb) {
    FileIdentity id;
    id.present = true;
    id.device = static_cast<std::uint64_t>(sb.st_dev);
    id.inode = static_cast<std::uint64_t>(sb.st_ino);
    id.size = static_cast<std::uint64_t>(sb.st_size);
    id.mtimeNs = static_cast<std::int64_t>(sb.st_mtim.tv_sec) * 1000000000LL + sb.st_mtim.tv_nsec;
    return id;
}

// The file kept open under `name` when the name still leads to it, `sb`
// then holding a fresh stat of it (`looked` false when the pass's watch
// vouched for it instead); otherwise it is let go, and nullptr.
OpenFile* stillNamed(OpenFiles& open, const fs::path& root, std::string_view name, FileUse use, struct stat& sb,
                     bool* looked = nullptr) {
    OpenFile* f = open.find(name);
    if (!f) return nullptr;
    if (looked) {
        *looked = !(f->use == use && open.trusted(*f));
        if (!*looked) return f;
    }
    // A scratch file is never written through a link, so its name is not followed.
    const int r = use == FileUse::Rewritten ? ::lstat(f->path.c_str(), &sb) : ::stat(f->path.c_str(), &sb);
    bool same = r == 0 && f->use == use && OpenFiles::sameFile(*f, sb);
    // A file found under other letter case yields to one under the name as
    // written, as soon as there is one.
    if (same && !f->asWritten) {
        struct stat exact {};
        same = ::lstat((root / fs::path(std::string(name))).c_str(), &exact) != 0;
    }
    if (!same) {
        open.forget(name);
        return nullptr;
    }
    f->checked = true;
    return f;
}

// The last non-empty line of text written as CR LF lines; "" when none.
std::string_view lastLineOf(std::string_view data) {
    while (!data.empty() && (data.back() == '\r' || data.back() == '\n'))
        data.remove_suffix(1);
    std::size_t start = data.size();
    while (start > 0 && data[start - 1] != '\r' && data[start - 1] != '\n')
        --start;
    return data.substr(start);
}

void checkPlace(const fs::path& p) {
    std::error_code ec;
    if (fs::is_directory(p, ec)) throw Failure(err::PathFileAccess);
    if (p.has_parent_path() && !fs::is_directory(p.parent_path(), ec)) throw Failure(err::PathNotFound);
}

// Writes all of `data`; 0 or the errno of the failure.
int writeAll(int fd, std::string_view data) {
    std::size_t done = 0;
    while (done < data.size()) {
        const ssize_t n = ::write(fd, data.data() + done, data.size() - done);
        if (n > 0) {
            done += static_cast<std::size_t>(n);
        } else if (n < 0 && errno == EINTR) {
            continue;
        } else {
            return n < 0 ? errno : EIO;
        }
    }
    return 0;
}

// Writes all of a whole new file in pieces: the page cache then holds it in
// small folios, so that a later write of a few bytes in place touches one
// small folio rather than a large one the kernel walks buffer by buffer
// (ext4 since Linux 6.16 caches a file written in one piece in large folios).
int writeInPieces(int fd, std::string_view data) {
    constexpr std::size_t kPiece = 16 * 1024;
    for (std::size_t at = 0; at < data.size(); at += kPiece)
        if (const int e = writeAll(fd, data.substr(at, kPiece))) return e;
    return 0;
}

// Spans copied from another open file into a new one.
struct SpanSource {
    int fd = -1;
    const std::vector<FileSpan>* spans = nullptr;
};

// Copies `size` bytes from `in` at `from` to the end of `out`: within the
// kernel where the file systems allow, else through a small buffer. A source
// that ends early is a failure (EIO): it is no longer the file it was.
int copySpan(int in, std::size_t from, std::size_t size, int out) {
    auto at = static_cast<off_t>(from);
    bool kernel = true;
    char buf[64 * 1024];
    while (size > 0) {
        ssize_t n;
        if (kernel) {
            n = ::copy_file_range(in, &at, out, nullptr, size, 0);
            // Not between these files, not on this kernel, or filtered out (seccomp).
            if (n < 0 &&
                (errno == EXDEV || errno == EINVAL || errno == ENOSYS || errno == EOPNOTSUPP || errno == EPERM)) {
                kernel = false;
                continue;
            }
        } else {
            n = ::pread(in, buf, std::min(size, sizeof buf), at);
            if (n > 0) {
                if (const int e = writeAll(out, std::string_view(buf, static_cast<std::size_t>(n)))) return e;
                at += n;
            }
        }
        if (n == 0) return EIO;
        if (n < 0) {
            if (errno == EINTR) continue;
            return errno;
        }
        size -= static_cast<std::size_t>(n);
    }
    return 0;
}

// Writes the text with the spans put in at their places.
int writeKeeping(int fd, std::string_view text, const SpanSource& from) {
    static const std::string kBlanks(16 * 1024, ' ');
    std::size_t written = 0, used = 0; // in the new file, in the text
    for (const FileSpan& span : *from.spans) {
        const std::size_t before = span.at - written;
        if (const int e = writeInPieces(fd, text.substr(used, before))) return e;
        used += before;
        if (span.blanks) {
            for (std::size_t left = span.size; left > 0;) {
                const std::size_t n = std::min(left, kBlanks.size());
                if (const int e = writeAll(fd, std::string_view(kBlanks).substr(0, n))) return e;
                left -= n;
            }
        } else if (const int e = copySpan(from.fd, span.from, span.size, fd)) {
            return e;
        }
        written = span.at + span.size;
    }
    return writeInPieces(fd, text.substr(used));
}

// Rewrites a file in place; any short write or a failing close is a failure,
// so a full disk never passes for success.
void rewriteFile(const fs::path& p, std::string_view data) {
    checkPlace(p);
    Fd f(::open(p.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666));
    if (f.fd < 0) failFromErrno(errno);
    int e = writeAll(f.fd, data);
    const int c = f.release();
    if (e == 0) e = c;
    if (e) failFromErrno(e);
}

// Appends `data` with one write, so that an entry lands whole or not at all:
// a write cut short (a disk that fills up part way) is cut back off the file.
void appendFile(const fs::path& p, std::string_view data) {
    checkPlace(p);
    Fd f(::open(p.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0666));
    if (f.fd < 0) failFromErrno(errno);
    struct stat sb {};
    const bool regular = ::fstat(f.fd, &sb) == 0 && S_ISREG(sb.st_mode);
    int e = 0;
    if (!data.empty()) {
        ssize_t n;
        do {
            n = ::write(f.fd, data.data(), data.size());
        } while (n < 0 && errno == EINTR);
        if (n < 0) {
            e = errno;
        } else if (static_cast<std::size_t>(n) < data.size()) {
            // Only a second write can tell why the first stopped; when it goes
            // through after all, the entry is whole.
            e = writeAll(f.fd, data.substr(static_cast<std::size_t>(n)));
            // Should even the cut fail, the torn part stays: nothing else can be done here.
            if (e && regular) {
                [[maybe_unused]] const int cut = ::ftruncate(f.fd, sb.st_size);
            }
        }
    }
    const int c = f.release();
    if (e == 0) e = c;
    if (e) failFromErrno(e);
}

// A scratch name beside `target`: a hidden name made of the target's and a
// random part, so that nobody can plant anything there in advance.
fs::path scratchName(const fs::path& target) {
    static const char kChars[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    thread_local std::mt19937_64 rng{
        std::random_device{}() ^ (static_cast<std::uint64_t>(::getpid()) << 32) ^
        static_cast<std::uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count())};
    std::string name = "." + target.filename().string() + ".";
    for (int i = 0; i < 8; ++i)
        name += kChars[rng() % (sizeof kChars - 1)];
    name += ".part";
    return target.parent_path() / name;
}

// Creates a scratch file exclusively (never an existing name, never through
// a link); returns its descriptor and sets `path`.
int createScratch(const fs::path& target, unsigned mode, fs::path& path) {
    for (int attempt = 0; attempt < 100; ++attempt) {
        path = scratchName(target);
        const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, mode);
        if (fd >= 0) return fd;
        if (errno != EEXIST) failFromErrno(errno);
    }
    failFromErrno(EEXIST);
}

// The file a chain of symbolic links ends at (the name itself when it is no link).
fs::path followLinks(fs::path p) {
    for (int depth = 0; depth < 40; ++depth) {
        struct stat sb {};
        if (::lstat(p.c_str(), &sb) != 0 || !S_ISLNK(sb.st_mode)) return p;
        std::error_code ec;
        const fs::path to = fs::read_symlink(p, ec);
        if (ec) failFromErrno(ec.value());
        p = to.is_absolute() ? to : p.parent_path() / to;
    }
    failFromErrno(ELOOP);
}

void syncDirectory(const fs::path& dir) {
    const int fd = ::open(dir.empty() ? "." : dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    ::fsync(fd);
    ::close(fd);
}

void readAll(const fs::path& p, std::string& data) {
    Fd in(::open(p.c_str(), O_RDONLY | O_CLOEXEC));
    if (in.fd < 0) failFromErrno(errno);
    char buf[65536];
    for (;;) {
        const ssize_t n = ::read(in.fd, buf, sizeof buf);
        if (n > 0) {
            data.append(buf, static_cast<std::size_t>(n));
        } else if (n < 0 && errno == EINTR) {
            continue;
        } else if (n < 0) {
            failFromErrno(errno);
        } else {
            return;
        }
    }
}

// Frees a name for a file of ours: whatever non-directory holds it goes, a
// link included (never followed).
void freeName(const fs::path& p) {
    if (::unlink(p.c_str()) == 0 || errno == ENOENT) return;
    const int e = errno;
    checkPlace(p); // says better than unlink what holds the name
    failFromErrno(e);
}

void replaceFile(const fs::path& target, std::string_view data, const ReplaceOptions& options, const fs::path& previous,
                 std::optional<Failure>& keepFailed, FileIdentity* placed = nullptr, const struct stat* known = nullptr,
                 const SpanSource* from = nullptr);

// Gives the file at `from` the free name `to`: a hard link where the file
// system has them, else a copy.
void linkOrCopy(const fs::path& from, const fs::path& to) {
    if (::link(from.c_str(), to.c_str()) == 0) return;
    if (errno == EEXIST) failFromErrno(EEXIST);
    std::string data;
    readAll(from, data);
    std::optional<Failure> unused;
    replaceFile(to, data, {}, {}, unused);
}

// Writes `data` as the new content of `target` (links already followed)
// under a scratch name and puts it in place in one step. The version it
// replaces takes the name `previous` when one is given, else it is deleted;
// a failure to keep it lands in `keepFailed`, the replacement goes ahead.
// `known`, when given, is a stat of the target as a regular file.
void replaceFile(const fs::path& target, std::string_view data, const ReplaceOptions& options, const fs::path& previous,
                 std::optional<Failure>& keepFailed, FileIdentity* placed, const struct stat* known,
                 const SpanSource* from) {
    struct stat old {};
    bool exists = true;
    if (known) {
        old = *known;
    } else {
        checkPlace(target);
        exists = ::stat(target.c_str(), &old) == 0;
    }
    if (exists && !S_ISREG(old.st_mode)) throw Failure(err::PathFileAccess);
    const bool synced = options.durability == Durability::Synced;
    fs::path scratch;
    // The scratch copy is never more open than the file it replaces: it is
    // created with the old file's permissions as far as the umask lets them
    // through, and given the rest once complete.
    const mode_t wanted = old.st_mode & 07777;
    Fd f(createScratch(target, exists ? wanted & 0777 : options.newMode, scratch));
    int e = from ? writeKeeping(f.fd, data, *from) : writeInPieces(f.fd, data);
    struct stat now {};
    const bool seen = e == 0 && (exists || placed) && ::fstat(f.fd, &now) == 0;
    if (e == 0 && exists && (!seen || (now.st_mode & 07777) != wanted) && ::fchmod(f.fd, wanted) != 0) e = errno;
    if (e == 0 && seen) {
        if (exists && (now.st_uid != old.st_uid || now.st_gid != old.st_gid) &&
            ::fchown(f.fd, old.st_uid, old.st_gid) != 0) {
            // Only root may give a file away; the group alone may still be ours to keep.
            [[maybe_unused]] const int kept = ::fchown(f.fd, static_cast<uid_t>(-1), old.st_gid);
        }
        // The file that goes into place, as it will stay: neither an owner
        // nor a rename changes its size or modification time.
        if (placed) *placed = identityOf(now);
    }
    if (e == 0 && synced && ::fsync(f.fd) != 0) e = errno;
    const int c = f.release();
    if (e == 0) e = c;
    auto failed = [&](int err) {
        ::unlink(scratch.c_str());
        failFromErrno(err);
    };
    if (e) failed(e);
    if (!exists) {
        if (::rename(scratch.c_str(), target.c_str()) != 0) failed(errno);
        if (synced) syncDirectory(target.parent_path());
        return;
    }
    // The two names are swapped rather than the new file renamed over the
    // old: ext4 writes a file renamed over another out to disk at once, and
    // deleting a version it has written waits on its journal, which made
    // every report wait for the disk. The swap is one step all the same, so
    // the file is in place at every moment; the old version is left under
    // the scratch name.
    if (!synced && ::renameat2(AT_FDCWD, scratch.c_str(), AT_FDCWD, target.c_str(), RENAME_EXCHANGE) == 0) {
        if (!previous.empty()) {
            try {
                freeName(previous);
                if (::rename(scratch.c_str(), previous.c_str()) != 0) failFromErrno(errno);
                return;
            } catch (const Failure& f) {
                keepFailed = f;
            }
        }
        ::unlink(scratch.c_str());
        return;
    }
    // Synced, or no swapping here: the old version gets its second name
    // first, so that at no moment is neither version in place.
    if (!previous.empty()) {
        try {
            freeName(previous);
            linkOrCopy(target, previous);
        } catch (const Failure& f) {
            keepFailed = f;
        }
    }
    if (::rename(scratch.c_str(), target.c_str()) != 0) failed(errno);
    if (synced) syncDirectory(target.parent_path());
}

} // namespace

WorkDir::WorkDir(fs::path root)
    : root_(std::move(root)), open_(std::make_shared<OpenFiles>()),
      remembered_(std::make_shared<std::vector<std::pair<std::string, Remembered>>>()) {}

fs::path WorkDir::path(std::string_view name) const {
    fs::path rel{std::string(name)};
    fs::path exact = root_ / rel;
    std::error_code ec;
    if (fs::exists(exact, ec)) return exact;
    // Walk the relative path component by component, matching each without case.
    fs::path cur = root_;
    for (const auto& part : rel) {
        fs::path next = cur / part;
        if (!fs::exists(next, ec)) {
            bool found = false;
            if (fs::is_directory(cur, ec)) {
                for (const auto& entry : fs::directory_iterator(cur, ec)) {
                    if (text::iequals(entry.path().filename().string(), part.string())) {
                        next = entry.path();
                        found = true;
                        break;
                    }
                }
            }
            if (!found) return exact;
        }
        cur = next;
    }
    return cur;
}

bool WorkDir::exists(std::string_view name) const {
    struct stat sb {};
    if (::stat((root_ / fs::path(std::string(name))).c_str(), &sb) == 0) return true;
    std::error_code ec;
    return fs::exists(path(name), ec);
}

bool WorkDir::presentAsWritten(std::string_view name) const {
    if (open_->stillPresent(name)) return true;
    struct stat sb {};
    if (::stat((root_ / fs::path(std::string(name))).c_str(), &sb) != 0 || S_ISDIR(sb.st_mode)) return false;
    if (name.find('/') == std::string_view::npos) open_->notePresent(name);
    return true;
}

FileIdentity WorkDir::identity(std::string_view name) const {
    struct stat sb {};
    if (::stat((root_ / fs::path(std::string(name))).c_str(), &sb) != 0 && ::stat(path(name).c_str(), &sb) != 0)
        return {};
    return S_ISREG(sb.st_mode) ? identityOf(sb) : FileIdentity{};
}

namespace {
bool asLeft(const OpenFile& f, const FileIdentity& id) {
    return id.present && id.device == static_cast<std::uint64_t>(f.device) &&
           id.inode == static_cast<std::uint64_t>(f.inode) && id.size == f.sizeAfter && id.mtimeNs == f.mtimeAfter;
}
} // namespace

FileIdentity WorkDir::identityAsLeft(std::string_view name, const FileIdentity& lastLeft) const {
    const OpenFile* f = open_->find(name);
    if (f && f->use == FileUse::InPlace && open_->trusted(*f) && asLeft(*f, lastLeft)) return lastLeft;
    return identity(name);
}

namespace {

// Bytes written through a mapping after which its pages are let go.
constexpr std::size_t kLetGoAfter = 1024 * 1024;

// Writes the patches through the file's shared mapping (made at its first
// such write): no system call at all. False when they do not all fit in the
// file as it was left, or the file was cut short under them (a fault).
bool writeMapped(OpenFile& f, const std::vector<FilePatch>& patches, bool& cutShort) {
    cutShort = false;
    if (f.sizeAfter == 0) return false;
    for (const auto& patch : patches)
        if (patch.at + patch.data.size() > f.sizeAfter) return false;
    if (!f.map) {
        if (!f.mappable) return false;
        void* m = ::mmap(nullptr, f.sizeAfter, PROT_READ | PROT_WRITE, MAP_SHARED, f.fd, 0);
        if (m == MAP_FAILED) {
            f.mappable = false;
            return false;
        }
        f.map = static_cast<char*>(m);
        f.mapSize = f.sizeAfter;
    }
    for (const auto& patch : patches) {
        if (patch.at + patch.data.size() > f.mapSize) return false;
        if (patch.data.empty()) continue;
        if (!copyGuarded(f.map + patch.at, patch.data.data(), patch.data.size())) {
            cutShort = true;
            return false;
        }
        f.untoldAt = static_cast<std::int64_t>(patch.at + patch.data.size() - 1);
        f.mappedWrites += patch.data.size();
    }
    // Every page written stays in the process's memory while mapped; let go
    // of them now and then (they stay in the page cache, written or not), so
    // that a long track costs no more memory than a short one.
    if (f.mappedWrites >= kLetGoAfter) {
        ::madvise(f.map, f.mapSize, MADV_DONTNEED);
        f.mappedWrites = 0;
    }
    return true;
}

} // namespace

FileIdentity WorkDir::writeInPlace(std::string_view name, const FileIdentity& expected,
                                   const std::vector<FilePatch>& patches) const {
    if (!expected.present) return {};
    struct stat sb {};
    bool looked = true;
    OpenFile* f = stillNamed(*open_, root_, name, FileUse::InPlace, sb, &looked);
    if (f && !(looked ? identityOf(sb) == expected : asLeft(*f, expected))) return {};
    if (!f) {
        const fs::path p = path(name);
        // Read and write, so that it can be mapped; a file we may only write
        // is written by pwrite alone.
        bool mappable = true;
        int fd = ::open(p.c_str(), O_RDWR | O_CLOEXEC | O_NOCTTY);
        if (fd < 0 && errno == EACCES) {
            mappable = false;
            fd = ::open(p.c_str(), O_WRONLY | O_CLOEXEC | O_NOCTTY);
        }
        if (fd < 0) {
            if (errno == ENOENT) return {};
            failFromErrno(errno);
        }
        // The very file expected, checked on the open descriptor, so nothing
        // can be swapped in between the check and the writes.
        if (::fstat(fd, &sb) != 0 || !S_ISREG(sb.st_mode) || !(identityOf(sb) == expected)) {
            ::close(fd);
            return {};
        }
        f = &open_->keep(name, fd, p, sb, FileUse::InPlace);
        f->mappable = mappable;
        f->asWritten = p == root_ / fs::path(std::string(name));
        struct stat link {};
        f->watchable = f->asWritten && name.find('/') == std::string_view::npos && ::lstat(p.c_str(), &link) == 0 &&
                       S_ISREG(link.st_mode);
    }
    // Within a pass, a file the watch vouches for is written through its
    // mapping. Its time is then left unknown: a later look at the name, once
    // the watch cannot vouch, finds it changed, and the caller makes sure by
    // other means that the file is still as it left it.
    if (!looked) {
        bool cutShort = false;
        if (writeMapped(*f, patches, cutShort)) {
            FileIdentity after = expected;
            after.mtimeNs = FileIdentity::kTimeUnknown;
            f->mtimeAfter = FileIdentity::kTimeUnknown;
            return after;
        }
        if (cutShort) {
            // Another program cut the file short: it is no longer as we left it.
            open_->forget(name);
            return {};
        }
    }
    OpenFiles::tell(*f);
    int e = 0;
    for (const auto& patch : patches)
        if ((e = writeAllAt(f->fd, patch.data, patch.at)) != 0) break;
    if (e == 0 && ::fstat(f->fd, &sb) != 0) e = errno;
    if (e) {
        open_->forget(name);
        failFromErrno(e);
    }
    const FileIdentity after = identityOf(sb);
    f->sizeAfter = after.size;
    f->mtimeAfter = after.mtimeNs;
    return after;
}

void WorkDir::beginBatch() const { open_->beginBatch(); }

void WorkDir::endBatch() const { open_->endBatch(); }

void WorkDir::appendLine(std::string_view name, std::string_view line) const {
    std::string data;
    appendCrlfLine(data, line);
    append(name, data, nullptr);
}

void WorkDir::appendLines(std::string_view name, const std::vector<std::string>& lines) const {
    append(name, crlfText(lines), nullptr);
}

void WorkDir::appendLines(std::string_view name, const std::vector<std::string>& lines,
                          const std::vector<std::string>& header) const {
    append(name, crlfText(lines), &header);
}

// One write that lands whole or not at all, through the file kept open when
// the name still leads to it.
void WorkDir::append(std::string_view name, std::string_view data, const std::vector<std::string>* header) const {
    struct stat sb {};
    bool looked = true;
    OpenFile* f = stillNamed(*open_, root_, name, FileUse::Appended, sb, &looked);
    bool created = false;
    std::string whole;
    if (!f) {
        const fs::path p = path(name);
        checkPlace(p);
        struct stat before {};
        const bool existed = ::stat(p.c_str(), &before) == 0;
        const int fd = ::open(p.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0666);
        if (fd < 0) failFromErrno(errno);
        if (::fstat(fd, &sb) != 0 || !S_ISREG(sb.st_mode)) {
            // A device or a pipe in the file's place is written once, as it is.
            ::close(fd);
            appendFile(p, data);
            return;
        }
        f = &open_->keep(name, fd, p, sb, FileUse::Appended);
        f->asWritten = p == root_ / fs::path(std::string(name));
        // Only a plain file right in the directory is seen by its watch.
        struct stat link {};
        f->watchable = f->asWritten && name.find('/') == std::string_view::npos && ::lstat(p.c_str(), &link) == 0 &&
                       S_ISREG(link.st_mode);
        created = !existed;
        if (created && header) {
            whole = crlfText(*header);
            whole.append(data);
            data = whole;
        }
    }
    // Unlooked, the size is what our last write left, which only a check needs to trust.
    const std::uint64_t before = looked ? static_cast<std::uint64_t>(sb.st_size) : f->sizeAfter;
    int e = 0;
    if (!data.empty()) {
        ssize_t n;
        do {
            n = ::write(f->fd, data.data(), data.size());
        } while (n < 0 && errno == EINTR);
        if (n < 0) {
            e = errno;
        } else if (static_cast<std::size_t>(n) < data.size()) {
            // Only a second write can tell why the first stopped; when it goes
            // through after all, the entry is whole. Should even the cut
            // fail, the torn part stays: nothing else can be done here.
            struct stat now {};
            const off_t start = ::fstat(f->fd, &now) == 0 ? now.st_size - n : static_cast<off_t>(before);
            e = writeAll(f->fd, data.substr(static_cast<std::size_t>(n)));
            if (e) {
                [[maybe_unused]] const int cut = ::ftruncate(f->fd, start);
            }
        }
    }
    if (e) {
        // A map file this call created and could not write is not left behind empty.
        if (created && header) ::unlink(f->path.c_str());
        open_->forget(name);
        failFromErrno(e);
    }
    f->sizeAfter = before + data.size();
    f->lastLine.assign(lastLineOf(data)); // in the room the last one left
}

namespace {
// Whether the kept file still has the size our last write left; when not,
// what it ended with is no longer known, and its size from now on is the
// one just seen.
bool sizeAsLeft(OpenFile& f, const struct stat& sb) {
    if (static_cast<std::uint64_t>(sb.st_size) == f.sizeAfter) return true;
    f.sizeAfter = static_cast<std::uint64_t>(sb.st_size);
    f.lastLine.clear();
    return false;
}
} // namespace

std::optional<std::string> WorkDir::lastAppendedLine(std::string_view name) const {
    struct stat sb {};
    bool looked = true;
    OpenFile* f = stillNamed(*open_, root_, name, FileUse::Appended, sb, &looked);
    if (!f || (looked && !sizeAsLeft(*f, sb)) || f->lastLine.empty()) return std::nullopt;
    return f->lastLine;
}

bool WorkDir::untouchedSinceAppend(std::string_view name) const {
    struct stat sb {};
    bool looked = true;
    OpenFile* f = stillNamed(*open_, root_, name, FileUse::Appended, sb, &looked);
    return f && (!looked || sizeAsLeft(*f, sb));
}

void WorkDir::beginPass() const { open_->beginPass(root_); }

void WorkDir::endPass() const { open_->endPass(); }

void WorkDir::writeLines(std::string_view name, const std::vector<std::string>& lines) const {
    rewriteFile(path(name), crlfText(lines));
}

void WorkDir::replaceLines(std::string_view name, const std::vector<std::string>& lines) const {
    const std::string data = crlfText(lines);
    // Still our own file under the name: written over from its start, or
    // left alone when it holds the very text already.
    struct stat sb {};
    if (OpenFile* f = stillNamed(*open_, root_, name, FileUse::Rewritten, sb)) {
        if (static_cast<std::uintmax_t>(sb.st_size) == data.size() && f->sizeAfter == data.size() &&
            f->lastLine == data)
            return;
        int e = writeAllAt(f->fd, data, 0);
        if (e == 0 && static_cast<std::uintmax_t>(sb.st_size) > data.size() &&
            ::ftruncate(f->fd, static_cast<off_t>(data.size())) != 0)
            e = errno;
        if (e == 0) {
            f->sizeAfter = data.size();
            f->lastLine = data;
            return;
        }
        open_->forget(name);
        failFromErrno(e);
    }
    const fs::path p = path(name);
    checkPlace(p);
    // Whatever holds the name goes first, a link included, and the new file
    // is created exclusively: received text never goes where a planted link
    // points.
    for (int attempt = 0;; ++attempt) {
        if (::unlink(p.c_str()) != 0 && errno != ENOENT) failFromErrno(errno);
        Fd f(::open(p.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666));
        if (f.fd < 0) {
            if (errno == EEXIST && attempt < 10) continue;
            failFromErrno(errno);
        }
        if (const int e = writeAll(f.fd, data)) failFromErrno(e);
        // Kept open for the next line: written over, never truncated to
        // nothing, which ext4 would answer by writing it out on close.
        if (::fstat(f.fd, &sb) != 0) return;
        OpenFile& kept = open_->keep(name, f.fd, p, sb, FileUse::Rewritten);
        kept.asWritten = p == root_ / fs::path(std::string(name));
        kept.lastLine = data;
        f.fd = -1;
        return;
    }
}

void WorkDir::writeText(std::string_view name, std::string_view text) const { rewriteFile(path(name), text); }

void WorkDir::replaceAtomically(std::string_view name, std::string_view text, const ReplaceOptions& options) const {
    open_->forget(name); // the kept descriptor would still lead to the version replaced
    const fs::path previous = options.keepPreviousAs.empty() ? fs::path() : path(options.keepPreviousAs);
    std::optional<Failure> keepFailed;
    replaceFile(followLinks(path(name)), text, options, previous, keepFailed);
    if (keepFailed) throw *keepFailed;
}

bool WorkDir::replaceAtomicallyKeeping(std::string_view name, const FileIdentity& expected, std::string_view text,
                                       const std::vector<FileSpan>& spans) const {
    Fd source(-1);
    if (std::any_of(spans.begin(), spans.end(), [](const FileSpan& s) { return !s.blanks; })) {
        if (!expected.present) return false;
        struct stat sb {};
        bool looked = true;
        OpenFile* f = stillNamed(*open_, root_, name, FileUse::InPlace, sb, &looked);
        if (!f || !(looked ? identityOf(sb) == expected : asLeft(*f, expected))) return false;
        // Its own descriptor: the kept one goes with the version replaced.
        source.fd = ::fcntl(f->fd, F_DUPFD_CLOEXEC, 0);
        if (source.fd < 0) failFromErrno(errno);
    }
    open_->forget(name);
    const SpanSource from{source.fd, &spans};
    std::optional<Failure> keepFailed;
    replaceFile(followLinks(path(name)), text, {}, {}, keepFailed, nullptr, nullptr, &from);
    return true;
}

void WorkDir::replaceLinesAtomically(std::string_view name, const std::vector<std::string>& lines,
                                     const ReplaceOptions& options) const {
    if (!options.remember) return replaceAtomically(name, crlfText(lines), options);
    open_->forget(name);
    auto& all = *remembered_;
    auto it = std::find_if(all.begin(), all.end(), [&](const auto& r) { return r.first == name; });
    if (it == all.end()) it = all.insert(all.end(), {std::string(name), {}});
    Remembered& r = it->second;
    // What linesAsReplaced() just saw under the name, taken once.
    const bool looked = std::exchange(r.lookedFresh, false);
    // Forgotten first: a replacement that fails part way leaves nothing to trust.
    r.identity = {};
    const fs::path exact = root_ / fs::path(std::string(name));
    const std::string data = crlfText(lines);
    const bool rotating = !options.keepPreviousAs.empty() && options.durability == Durability::Cached;
    const fs::path exactPrevious = rotating ? root_ / fs::path(std::string(options.keepPreviousAs)) : fs::path();
    if (rotating && r.rotation &&
        rotate(r, {exact, exactPrevious, name}, data, looked ? &r.looked : nullptr,
               swapVouched(name, options.keepPreviousAs))) {
        r.lines = lines;
        return;
    }
    r.rotation.reset();
    const fs::path previous = options.keepPreviousAs.empty() ? fs::path() : path(options.keepPreviousAs);
    std::optional<Failure> keepFailed;
    FileIdentity placed;
    // A plain file under the name as written needs no search and no link to follow.
    struct stat sb = r.looked;
    const bool plain = looked || (::lstat(exact.c_str(), &sb) == 0 && S_ISREG(sb.st_mode));
    if (plain)
        replaceFile(exact, data, options, previous, keepFailed, &placed, &sb);
    else
        replaceFile(followLinks(path(name)), data, options, previous, keepFailed, &placed);
    r.identity = placed;
    r.lines = lines;
    if (keepFailed) throw *keepFailed;
    if (rotating && plain && previous == exactPrevious) startRotation(r, exact, exactPrevious);
}

// The file and its previous version, both plain files under their names as
// written, kept open: the next replacement writes the new text over the
// previous version's file and swaps the two names in one step. The file is
// whole under its name at every moment, the version it replaces takes the
// other name, and no file is created or deleted. Only the previous version is
// written in place, while the file itself stands complete.
struct WorkDir::Rotation {
    struct Side {
        int fd = -1;
        struct stat sb {};
    };
    Side current, previous; // what the file's name and the previous version's name lead to
    std::string previousName;
    Rotation() = default;
    Rotation(const Rotation&) = delete;
    Rotation& operator=(const Rotation&) = delete;
    ~Rotation() {
        for (int fd : {current.fd, previous.fd})
            if (fd >= 0) ::close(fd);
    }
};

namespace {
// The very file we left under the name: same file, mode, owner, size and time.
bool asWeLeft(const struct stat& now, const struct stat& left) {
    return S_ISREG(now.st_mode) && now.st_dev == left.st_dev && now.st_ino == left.st_ino &&
           now.st_mode == left.st_mode && now.st_uid == left.st_uid && now.st_gid == left.st_gid &&
           now.st_size == left.st_size && now.st_mtim.tv_sec == left.st_mtim.tv_sec &&
           now.st_mtim.tv_nsec == left.st_mtim.tv_nsec;
}
} // namespace

void WorkDir::startRotation(Remembered& r, const fs::path& file, const fs::path& previous) const {
    auto rot = std::make_shared<Rotation>();
    for (auto [side, p] : {std::pair{&rot->current, &file}, std::pair{&rot->previous, &previous}}) {
        side->fd = ::open(p->c_str(), O_WRONLY | O_NOFOLLOW | O_NOCTTY | O_CLOEXEC);
        if (side->fd < 0 || ::fstat(side->fd, &side->sb) != 0 || !S_ISREG(side->sb.st_mode)) return;
    }
    // Only when the file under the name is the one just put in place.
    if (!(identityOf(rot->current.sb) == r.identity)) return;
    rot->previousName = previous.filename().string();
    r.rotation = std::move(rot);
}

// Both names of a rotation untouched since they were last looked at, but for
// our own swaps: the watch vouches for them within a pass.
bool WorkDir::swapVouched(std::string_view name, std::string_view previous) const {
    return name.find('/') == std::string_view::npos && previous.find('/') == std::string_view::npos &&
           open_->stillPresent(name) && open_->stillPresent(previous);
}

bool WorkDir::rotate(Remembered& r, const RotationNames& names, const std::string& data, const struct stat* looked,
                     bool vouched) const {
    Rotation& rot = *r.rotation;
    const fs::path &file = names.file, &previous = names.previous;
    struct stat now {};
    if (!vouched) {
        if (looked) now = *looked;
        if ((!looked && ::lstat(file.c_str(), &now) != 0) || !asWeLeft(now, rot.current.sb)) return false;
        if (::lstat(previous.c_str(), &now) != 0 || !asWeLeft(now, rot.previous.sb)) return false;
        // From here the watch can tell our swaps from anything else.
        open_->notePresent(names.name);
        open_->notePresent(rot.previousName);
    }
    int e = writeAllAt(rot.previous.fd, data, 0);
    // Cut to length, never to nothing: ext4 writes a file truncated to
    // nothing out to disk at once.
    if (e == 0 && static_cast<std::uint64_t>(rot.previous.sb.st_size) > data.size() &&
        ::ftruncate(rot.previous.fd, static_cast<off_t>(data.size())) != 0)
        e = errno;
    if (e == 0 && !vouched && ::fstat(rot.previous.fd, &now) != 0) e = errno;
    if (e == 0 && vouched) {
        // While the watch vouches for the names their stat is not needed; the
        // time is left unknown, so that a look at the names once the watch
        // cannot vouch any more starts the rotation over.
        now = rot.previous.sb;
        now.st_size = static_cast<off_t>(data.size());
        now.st_mtim.tv_nsec = -1;
    }
    if (e == 0 && ::renameat2(AT_FDCWD, previous.c_str(), AT_FDCWD, file.c_str(), RENAME_EXCHANGE) != 0) e = errno;
    if (e == 0) open_->expectSwap(names.name, rot.previousName);
    if (e) {
        // The file itself is untouched; the next replacement starts over.
        r.rotation.reset();
        if (e == EINVAL || e == ENOSYS) return false; // no swapping here
        failFromErrno(e);
    }
    rot.previous.sb = now;
    std::swap(rot.current, rot.previous);
    r.identity = identityOf(rot.current.sb);
    return true;
}

const std::vector<std::string>* WorkDir::linesAsReplaced(std::string_view name) const {
    for (auto& [file, r] : *remembered_) {
        if (file != name) continue;
        if (!r.identity.present) return nullptr;
        if (r.rotation && swapVouched(file, r.rotation->previousName)) return &r.lines;
        // A plain file under the name as written is looked at once for this
        // and the replacement that usually follows.
        struct stat sb {};
        if (::lstat((root_ / fs::path(file)).c_str(), &sb) == 0 && S_ISREG(sb.st_mode)) {
            if (!(identityOf(sb) == r.identity)) return nullptr;
            r.looked = sb;
            r.lookedFresh = true;
            return &r.lines;
        }
        return identity(name) == r.identity ? &r.lines : nullptr;
    }
    return nullptr;
}

void WorkDir::copyAtomically(std::string_view from, std::string_view to) const {
    const fs::path src = path(from);
    std::error_code ec;
    if (!fs::exists(src, ec)) throw Failure(err::FileNotFound);
    if (fs::is_directory(src, ec)) throw Failure(err::PathFileAccess);
    replaceAtomically(to, readText(from));
}

bool WorkDir::holds(std::string_view name, std::string_view text) const {
    const fs::path p = path(name);
    struct stat sb {};
    if (::stat(p.c_str(), &sb) != 0 || !S_ISREG(sb.st_mode) || static_cast<std::uintmax_t>(sb.st_size) != text.size())
        return false;
    Fd f(::open(p.c_str(), O_RDONLY | O_CLOEXEC));
    if (f.fd < 0) return false;
    char buf[65536];
    std::size_t at = 0;
    for (;;) {
        const ssize_t n = ::read(f.fd, buf, sizeof buf);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) return false;
        if (n == 0) return at == text.size();
        const auto len = static_cast<std::size_t>(n);
        if (at + len > text.size() || text.compare(at, len, std::string_view(buf, len)) != 0) return false;
        at += len;
    }
}

void WorkDir::forEachLine(std::string_view name, std::size_t maxLine,
                          const std::function<void(const LineRead&)>& onLine) const {
    const fs::path p = path(name);
    std::error_code ec;
    if (fs::is_directory(p, ec)) throw Failure(err::PathFileAccess);
    Fd f(::open(p.c_str(), O_RDONLY | O_CLOEXEC));
    if (f.fd < 0) failFromErrno(errno);
    std::string line;
    line.reserve(std::min<std::size_t>(maxLine, 256));
    bool cut = false, afterCr = false, pending = false;
    char buf[65536];
    for (;;) {
        const ssize_t n = ::read(f.fd, buf, sizeof buf);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) throw Failure(57);
        if (n == 0) break;
        for (ssize_t i = 0; i < n; ++i) {
            const char c = buf[i];
            if (c == '\n' && afterCr) {
                afterCr = false;
                continue;
            }
            afterCr = c == '\r';
            if (c == '\r' || c == '\n') {
                onLine({line, true, cut});
                line.clear();
                cut = pending = false;
            } else if (line.size() < maxLine) {
                line.push_back(c);
                pending = true;
            } else {
                cut = pending = true;
            }
        }
    }
    if (pending) onLine({line, false, cut});
}

void WorkDir::checkWritable() const {
    std::error_code ec;
    if (!fs::is_directory(root_, ec)) throw Failure(err::PathNotFound);
    fs::path probe;
    Fd f(createScratch(root_ / "quorvel.probe", 0600, probe));
    f.release();
    ::unlink(probe.c_str());
}

std::string WorkDir::readText(std::string_view name) const {
    fs::path p = path(name);
    std::error_code ec;
    if (fs::is_directory(p, ec)) throw Failure(err::PathFileAccess);
    errno = 0;
    FILE* f = std::fopen(p.c_str(), "rb");
    if (!f) failFromErrno(errno);
    std::string data;
    char buf[65536];
    std::size_t n;
    while ((n = std::fread(buf, 1, sizeof buf, f)) > 0)
        data.append(buf, n);
    bool bad = std::ferror(f);
    std::fclose(f);
    if (bad) throw Failure(57);
    return data;
}

std::vector<std::string> WorkDir::readLines(std::string_view name) const { return splitLines(readText(name)); }

std::string WorkDir::lastNonEmptyLine(std::string_view name) const {
    auto lines = readLines(name);
    for (auto it = lines.rbegin(); it != lines.rend(); ++it)
        if (!it->empty()) return *it;
    return {};
}

void WorkDir::remove(std::string_view name) const {
    open_->forgetAll();
    std::error_code ec;
    fs::path p = path(name);
    if (!fs::exists(p, ec)) throw Failure(err::FileNotFound);
    if (!fs::remove(p, ec) || ec) throw Failure(err::PermissionDenied);
}

int WorkDir::removeMatching(std::string_view pattern) const {
    open_->forgetAll();
    fs::path pat{std::string(pattern)};
    std::string dir = pat.has_parent_path() ? pat.parent_path().string() : std::string();
    int removed = 0;
    for (const auto& name : list(dir, pat.filename().string())) {
        std::error_code ec;
        if (fs::remove(path(dir.empty() ? name : dir + "/" + name), ec)) ++removed;
    }
    return removed;
}

void WorkDir::rename(std::string_view from, std::string_view to) const {
    open_->forgetAll();
    std::error_code ec;
    fs::path src = path(from);
    if (!fs::exists(src, ec)) throw Failure(err::FileNotFound);
    fs::path dst = path(to);
    if (fs::exists(dst, ec)) throw Failure(58); // File already exists
    fs::rename(src, dst, ec);
    if (ec) failFromErrno(ec.value());
}

void WorkDir::copy(std::string_view from, std::string_view to) const {
    std::error_code ec;
    fs::path src = path(from);
    if (!fs::exists(src, ec)) throw Failure(err::FileNotFound);
    fs::path dst = path(to);
    if (dst.has_parent_path() && !fs::is_directory(dst.parent_path(), ec)) throw Failure(err::PathNotFound);
    fs::copy_file(src, dst, fs::copy_options::overwrite_existing, ec);
    if (ec) failFromErrno(ec.value());
}

void WorkDir::makeDirectory(std::string_view name) const {
    std::error_code ec;
    fs::path p = root_ / std::string(name);
    if (fs::exists(p, ec)) throw Failure(err::PathFileAccess);
    fs::create_directory(p, ec);
    if (ec) failFromErrno(ec.value());
}

std::vector<std::string> WorkDir::list(std::string_view dir, std::string_view pattern) const {
    std::vector<std::string> out;
    std::error_code ec;
    fs::path d = dir.empty() ? root_ : path(dir);
    if (!fs::is_directory(d, ec)) return out;
    for (const auto& entry : fs::directory_iterator(d, ec)) {
        std::string name = entry.path().filename().string();
        if (entry.is_regular_file(ec) && wildcardMatch(pattern, name)) out.push_back(name);
    }
    std::sort(out.begin(), out.end());
    return out;
}

std::vector<std::string> splitLines(std::string_view text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        char c = text[i];
        if (c == '\r' || c == '\n') {
            lines.emplace_back(text.substr(start, i - start));
            if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
            start = i + 1;
        }
    }
    if (start < text.size()) lines.emplace_back(text.substr(start));
    return lines;
}

int writeAllAt(int fd, std::string_view data, std::size_t at) {
    for (std::size_t done = 0; done < data.size();) {
        const ssize_t n = ::pwrite(fd, data.data() + done, data.size() - done, static_cast<off_t>(at + done));
        if (n > 0)
            done += static_cast<std::size_t>(n);
        else if (!(n < 0 && errno == EINTR))
            return n < 0 ? errno : EIO;
    }
    return 0;
}

int readAllAt(int fd, char* to, std::size_t size, std::size_t at) {
    for (std::size_t done = 0; done < size;) {
        const ssize_t n = ::pread(fd, to + done, size - done, static_cast<off_t>(at + done));
        if (n > 0)
            done += static_cast<std::size_t>(n);
        else if (!(n < 0 && errno == EINTR))
            return n < 0 ? errno : EIO;
    }
    return 0;
}

void appendCrlfLine(std::string& out, std::string_view line) {
    while (!line.empty() && (line.back() == '\r' || line.back() == '\n'))
        line.remove_suffix(1);
    // Runs between line breaks go in whole: a record is one run.
    std::size_t start = 0;
    for (std::size_t i = 0; i < line.size(); ++i) {
        const char c = line[i];
        if (c != '\r' && c != '\n') continue;
        out.append(line.substr(start, i - start));
        if (c == '\r' && i + 1 < line.size() && line[i + 1] == '\n') ++i;
        out += "\r\n";
        start = i + 1;
    }
    out.append(line.substr(start));
    out += "\r\n";
}

std::string crlfText(const std::vector<std::string>& lines) {
    std::size_t size = 0;
    for (const auto& l : lines)
        size += l.size() + 2;
    std::string out;
    out.reserve(size);
    for (const auto& l : lines)
        appendCrlfLine(out, l);
    return out;
}

bool wildcardMatch(std::string_view pattern, std::string_view name) {
    std::size_t p = 0, n = 0, starP = std::string_view::npos, starN = 0;
    while (n < name.size()) {
        if (p < pattern.size() && (pattern[p] == '?' || text::upper(pattern[p]) == text::upper(name[n]))) {
            ++p, ++n;
        } else if (p < pattern.size() && pattern[p] == '*') {
            starP = p++;
            starN = n;
        } else if (starP != std::string_view::npos) {
            p = starP + 1;
            n = ++starN;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == '*')
        ++p;
    return p == pattern.size();
}

} // namespace qv
