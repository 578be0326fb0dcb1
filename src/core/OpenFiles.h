// The files of the working directory kept open between writes, so that a
// record costs a stat and a write rather than a path search, an open and a
// close. A kept file is only written while its name still leads to it.
//
// Within a pass over the map files even the stat is saved: the directory is
// watched (inotify), and one read at the start of the pass tells which names
// were created, deleted, moved, written and closed, or given another mode or
// owner since; only files whose names were touched are looked up again.
#pragma once

#include <sys/stat.h>

#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <string_view>
#include <unordered_map>

namespace qv {

// How a kept file is written: appended to, rewritten from its start (a
// scratch file, never through a link), or changed in place at offsets.
enum class FileUse { Appended, Rewritten, InPlace };

struct OpenFile {
    int fd = -1;
    std::filesystem::path path; // the path it was opened by
    std::string leaf;           // its last part, as events name it
    bool asWritten = true;      // found under the name as written, not under other letter case
    dev_t device = 0;
    ino_t inode = 0;
    mode_t mode = 0;
    uid_t owner = 0;
    gid_t group = 0;
    FileUse use = FileUse::Appended;
    bool watchable = false;      // a plain file right in the watched directory, under the name as written
    bool checked = false;        // nothing happened to its name since it was last looked up
    std::uint64_t sizeAfter = 0; // its size when our last write ended
    std::int64_t mtimeAfter = 0; // an in-place file: its modification time then (ns)
    std::string lastLine;        // the last line that write ended with (a scratch file: all it wrote)
    // An in-place file inside passes is written through a shared mapping,
    // which no watcher of the file hears of; `untoldAt` is the offset of a
    // byte so written since the file was last written through `fd`.
    char* map = nullptr;
    std::size_t mapSize = 0;
    std::size_t mappedWrites = 0; // bytes written through it since its pages were last let go
    bool mappable = true;
    std::int64_t untoldAt = -1;
    std::uint64_t lastUse = 0;
};

class OpenFiles {
public:
    OpenFiles() = default;
    OpenFiles(const OpenFiles&) = delete;
    OpenFiles& operator=(const OpenFiles&) = delete;
    ~OpenFiles();

    // The file kept under `key`, nullptr when none is.
    OpenFile* find(std::string_view key);
    // Whether `sb`, a stat of the name, shows the very file kept: same device
    // and inode (which no other file can take while it is open), a regular
    // file, and the mode and owner it was opened with, so that a file made
    // read-only or given away is opened again and fails as it would have.
    static bool sameFile(const OpenFile& f, const struct stat& sb);

    // Keeps `fd` (now owned here) under `key`; the oldest file is closed
    // when too many are open.
    OpenFile& keep(std::string_view key, int fd, const std::filesystem::path& path, const struct stat& sb, FileUse use);
    void forget(std::string_view key);
    void forgetAll();

    // Starts a pass: reads what happened in `dir` since the last pass and
    // marks the files whose names it touched. Passes nest; without a watch
    // (none could be set up) nothing is trusted.
    void beginPass(const std::filesystem::path& dir);
    void endPass();
    // Reports and imports: between two batch calls the programs watching
    // files written through a mapping are told at the end of a pass at most
    // once a second, and at the end of the batch; otherwise at every pass.
    void beginBatch() { ++batches_; }
    void endBatch();
    // Writes the byte at `untoldAt` again through the descriptor, so that the
    // file's time moves on and its watchers hear of the writes (IN_MODIFY);
    // a file no longer of the size we left it is marked for a fresh look.
    static void tell(OpenFile& f);
    // Whether `f` may be written without a fresh look at its name.
    bool trusted(const OpenFile& f) const { return passes_ > 0 && watching_ && f.watchable && f.checked; }
    // Names without a kept file that were found present: within a pass, one
    // the watch saw nothing happen to is still there.
    bool stillPresent(std::string_view name) const;
    void notePresent(std::string_view name);
    // After this program swapped two such names (RENAME_EXCHANGE): the four
    // moves it made are expected at the next read, and only other events on
    // the names are news. Moves that never come leave the names unvouched.
    void expectSwap(std::string_view a, std::string_view b);

private:
    void catchUp();
    void catchUpEvents();
    void markAll();
    void tellAll();
    static void release(OpenFile& f);

    // Looked up by string_view, without a string made for each look-up.
    struct NameHash {
        using is_transparent = void;
        std::size_t operator()(std::string_view s) const { return std::hash<std::string_view>{}(s); }
    };
    template <class T> using ByName = std::unordered_map<std::string, T, NameHash, std::equal_to<>>;
    ByName<OpenFile> files_;
    ByName<bool> present_; // name -> nothing happened to it since it was found
    ByName<int> ownMoves_; // name -> moves of ours not yet read
    std::uint64_t clock_ = 0;
    int passes_ = 0;
    int batches_ = 0;
    std::int64_t lastTold_ = 0; // CLOCK_MONOTONIC_COARSE, ms
    int notify_ = -1;
    bool watching_ = false;
    bool watchFailed_ = false;
};

} // namespace qv
