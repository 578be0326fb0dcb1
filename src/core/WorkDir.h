// Text files in the working directory: every file of the program is addressed
// by its bare name here. Lines end with CR LF. Names are looked up without
// regard to letter case, because the map programs write "QUORVEL.TXF" as
// readily as "quorvel.txf".
#pragma once

#include <sys/stat.h>

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace qv {

// How hard a replacement holds on to its data.
enum class Durability {
    // Put in place in one step, whatever stops the program; after a power
    // loss the newest versions may come back empty, as any file not synced.
    Cached,
    // Also flushed to disk, with its directory, before the call returns.
    Synced,
};

// What tells whether a file changed: the file the name leads to, its size
// and its modification time.
struct FileIdentity {
    // A time this program cannot know: the file was written through a
    // mapping, which moves its time later and by itself.
    static constexpr std::int64_t kTimeUnknown = -1;
    bool present = false;
    std::uint64_t device = 0, inode = 0, size = 0;
    std::int64_t mtimeNs = 0;
    bool operator==(const FileIdentity&) const = default;
};

struct ReplaceOptions {
    // Permissions of a file that does not exist yet (the umask still applies);
    // a file being replaced keeps its own mode and, where allowed, its owner.
    unsigned newMode = 0666;
    Durability durability = Durability::Cached;
    // When not empty, the version being replaced stays readable under this
    // name, in place of whatever had it. When it cannot be kept, the
    // replacement still goes ahead and the failure is thrown after it.
    std::string_view keepPreviousAs;
    // Keeps the lines of a replacement by lines in memory, for
    // linesAsReplaced() to hand back while the file stays as written.
    bool remember = false;
};

// A change in place: `data` written over the file from offset `at` on.
struct FilePatch {
    std::size_t at = 0;
    std::string data;
};

// `size` bytes from `from` in a file's present version (or blanks), to stand
// at `at` in its next.
struct FileSpan {
    std::size_t at = 0, from = 0, size = 0;
    bool blanks = false;
    bool operator==(const FileSpan&) const = default;
};

// One line as read: at most the reader's limit; `cut` when the line was
// longer (the rest of it is skipped), `ended` false only for a last line
// without its line end.
struct LineRead {
    std::string_view text;
    bool ended = true;
    bool cut = false;
};

class OpenFiles;

// Appends and scratch rewrites keep their files open (shared by the copies
// of a WorkDir). Before each write the name is looked up again, and a file
// that was deleted, renamed, replaced, made read-only or given to another
// owner since is closed and the name opened afresh, so a record never goes
// to a file that is no longer there under its name.
class WorkDir {
public:
    explicit WorkDir(std::filesystem::path root);

    const std::filesystem::path& root() const { return root_; }

    // The path of an existing file whose name equals `name` ignoring case
    // (relative names may hold sub-directories, e.g. "data/quorvel01.TXF");
    // when none exists, the path as written.
    std::filesystem::path path(std::string_view name) const;
    bool exists(std::string_view name) const;
    // Whether a file (not a directory) is under the name as written, for a
    // name right in the directory. Within a pass, once found, the directory's
    // watch vouches for it until something happens to the name.
    bool presentAsWritten(std::string_view name) const;

    // Failures carry the usual numbers: 53 file not found, 76 path not found,
    // 75 path/file access (a directory in the file's place), 70 permission
    // denied, 61 disk full.
    //
    // Every line written ends in exactly one CR LF: line ends a line brought
    // along are dropped, and one inside a line ends it there. An append is
    // one write that lands whole or not at all (a short write on a full disk
    // is cut back off).
    void appendLine(std::string_view name, std::string_view line) const;
    void appendLines(std::string_view name, const std::vector<std::string>& lines) const;
    // The same, the `header` lines first when the file does not exist yet.
    // When nothing could be written to a file the call created, it goes again.
    void appendLines(std::string_view name, const std::vector<std::string>& lines,
                     const std::vector<std::string>& header) const;
    // The last non-empty line our last append to the file ended with, while
    // the file is still the one it went to and no longer than it left it;
    // nothing when that is not known.
    std::optional<std::string> lastAppendedLine(std::string_view name) const;
    // Whether the file is still as our last append to it left it: the same
    // file under the name, no longer (within a pass: nothing happened to
    // its name that the watch saw).
    bool untouchedSinceAppend(std::string_view name) const;

    // A pass over the map files: while one is open, a kept file whose name
    // nothing touched since the pass began is written without a fresh look
    // at the name. Passes nest.
    void beginPass() const;
    void endPass() const;
    void writeLines(std::string_view name, const std::vector<std::string>& lines) const; // rewrite
    void writeText(std::string_view name, std::string_view text) const;                  // rewrite, as is
    // Rewrite of a scratch file written for every received line: the old
    // file is removed first, since ext4 flushes a file rewritten by
    // truncation to disk at once, which costs milliseconds on each line. A
    // link in its place is removed like a file, never written through.
    void replaceLines(std::string_view name, const std::vector<std::string>& lines) const;
    std::vector<std::string> readLines(std::string_view name) const;
    std::string readText(std::string_view name) const;

    // Replaces the file by one holding exactly `text`, written under an
    // exclusive scratch name beside it (created with O_EXCL|O_NOFOLLOW, so a
    // link planted there is never followed) and renamed over it: the file is
    // always there, old or new and whole. A name that is a symbolic link is
    // followed, and the file it points to is replaced. Failure 75 when the
    // name is held by a directory or a device.
    void replaceAtomically(std::string_view name, std::string_view text, const ReplaceOptions& options = {}) const;
    // The same for lines, each ended by CR LF as above.
    void replaceLinesAtomically(std::string_view name, const std::vector<std::string>& lines,
                                const ReplaceOptions& options = {}) const;
    // The lines of the last replacement with `remember` set, while the file
    // is still the one put in place, unchanged; nullptr otherwise.
    const std::vector<std::string>* linesAsReplaced(std::string_view name) const;

    // The file's identity now (links followed); not present when missing or
    // no regular file.
    FileIdentity identity(std::string_view name) const;
    // The same, spared the look-up while `lastLeft` (what writeInPlace last
    // returned for the name) is known to hold: within a pass, for the file
    // kept open whose name the watch saw nothing happen to.
    FileIdentity identityAsLeft(std::string_view name, const FileIdentity& lastLeft) const;
    // Writes the patches, in order, into the file kept open under the name,
    // provided it is still the file `expected` describes (the same file under
    // the name, of that size and time). Returns its identity after the
    // writes; not present, with nothing written, when it is another file or
    // none. A failed write throws, the file let go.
    FileIdentity writeInPlace(std::string_view name, const FileIdentity& expected,
                              const std::vector<FilePatch>& patches) const;
    // Replaces the file, as replaceAtomically does, by `text` with the spans
    // (blanks, or parts of its present version) put in at their places:
    // `text` holds all but the spans, in order. Parts of the present version
    // are copied within the kernel, never through memory, provided it is
    // still the file `expected` describes; false, with nothing done, otherwise.
    bool replaceAtomicallyKeeping(std::string_view name, const FileIdentity& expected, std::string_view text,
                                  const std::vector<FileSpan>& spans) const;
    // A batch of many reports (an import): the programs watching a file
    // written in place hear of it once a second and at the end of the batch
    // rather than at every report. Batches nest.
    void beginBatch() const;
    void endBatch() const;
    // `to` becomes a copy of `from` in one step, through a scratch copy.
    void copyAtomically(std::string_view from, std::string_view to) const;
    // True when the file exists and holds exactly `text`.
    bool holds(std::string_view name, std::string_view text) const;

    // Reads the file line by line (CR LF, lone CR or lone LF), in memory
    // bounded by `maxLine` whatever the file holds.
    void forEachLine(std::string_view name, std::size_t maxLine,
                     const std::function<void(const LineRead&)>& onLine) const;

    // Failure unless a file can be created in the directory.
    void checkWritable() const;
    // The last line that is not empty; "" when there is none.
    std::string lastNonEmptyLine(std::string_view name) const;

    void remove(std::string_view name) const;           // Failure 53 when missing
    int removeMatching(std::string_view pattern) const; // "*" and "?" wildcards, case-blind; count removed
    void rename(std::string_view from, std::string_view to) const;
    void copy(std::string_view from, std::string_view to) const;
    void makeDirectory(std::string_view name) const;

    // Names (relative to `dir`, "" for the root) matching a wildcard pattern, ignoring case.
    std::vector<std::string> list(std::string_view dir, std::string_view pattern) const;

private:
    void append(std::string_view name, std::string_view data, const std::vector<std::string>* header) const;

    std::filesystem::path root_;
    std::shared_ptr<OpenFiles> open_;
    struct Rotation; // the two files of a replacement that keeps its previous version
    struct Remembered {
        FileIdentity identity;
        std::vector<std::string> lines;
        std::shared_ptr<Rotation> rotation;
        struct stat looked {};    // the name as linesAsReplaced() last found it
        bool lookedFresh = false; // and no replacement since
    };
    struct RotationNames {
        const std::filesystem::path &file, &previous; // full paths
        std::string_view name;                        // as given
    };
    bool rotate(Remembered& r, const RotationNames& names, const std::string& data, const struct stat* looked,
                bool vouched) const;
    bool swapVouched(std::string_view name, std::string_view previous) const;
    void startRotation(Remembered& r, const std::filesystem::path& file, const std::filesystem::path& previous) const;
    std::shared_ptr<std::vector<std::pair<std::string, Remembered>>> remembered_;
};

class WorkDirPass {
public:
    explicit WorkDirPass(const WorkDir& dir) : dir_(dir) { dir_.beginPass(); }
    ~WorkDirPass() { dir_.endPass(); }
    WorkDirPass(const WorkDirPass&) = delete;
    WorkDirPass& operator=(const WorkDirPass&) = delete;

private:
    const WorkDir& dir_;
};

class WorkDirBatch {
public:
    explicit WorkDirBatch(const WorkDir& dir) : dir_(dir) { dir_.beginBatch(); }
    ~WorkDirBatch() { dir_.endBatch(); }
    WorkDirBatch(const WorkDirBatch&) = delete;
    WorkDirBatch& operator=(const WorkDirBatch&) = delete;

private:
    const WorkDir& dir_;
};

// Splits a text into lines at CR LF, lone CR and lone LF. A final line end
// does not start another line.
std::vector<std::string> splitLines(std::string_view text);

// All of `data` written at offset `at` on, or `size` bytes read from there,
// leaving the file's position alone: 0, or the errno (EIO for a file that
// ends before them).
int writeAllAt(int fd, std::string_view data, std::size_t at);
int readAllAt(int fd, char* to, std::size_t size, std::size_t at);

// The lines as written to a file: each ended by exactly one CR LF.
std::string crlfText(const std::vector<std::string>& lines);
void appendCrlfLine(std::string& out, std::string_view line);

bool wildcardMatch(std::string_view pattern, std::string_view name); // case-blind

} // namespace qv
