// Text files in the working directory: every file of the program is addressed
// by its bare name here. Lines end with CR LF. Names are looked up without
// regard to letter case, because the map programs write "QUORVEL.TXF" as
// readily as "quorvel.txf".
#pragma once

#include <cstddef>
#include <filesystem>
#include <functional>
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

struct ReplaceOptions {
    // Permissions of a file that does not exist yet (the umask still applies);
    // a file being replaced keeps its own mode and, where allowed, its owner.
    unsigned newMode = 0666;
    Durability durability = Durability::Cached;
    // When not empty, the version being replaced stays readable under this
    // name, in place of whatever had it. When it cannot be kept, the
    // replacement still goes ahead and the failure is thrown after it.
    std::string_view keepPreviousAs;
};

// One line as read: at most the reader's limit; `cut` when the line was
// longer (the rest of it is skipped), `ended` false only for a last line
// without its line end.
struct LineRead {
    std::string_view text;
    bool ended = true;
    bool cut = false;
};

class WorkDir {
public:
    explicit WorkDir(std::filesystem::path root);

    const std::filesystem::path& root() const { return root_; }

    // The path of an existing file whose name equals `name` ignoring case
    // (relative names may hold sub-directories, e.g. "data/quorvel01.TXF");
    // when none exists, the path as written.
    std::filesystem::path path(std::string_view name) const;
    bool exists(std::string_view name) const;

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
    std::filesystem::path root_;
};

// Splits a text into lines at CR LF, lone CR and lone LF. A final line end
// does not start another line.
std::vector<std::string> splitLines(std::string_view text);

// The lines as written to a file: each ended by exactly one CR LF.
std::string crlfText(const std::vector<std::string>& lines);
void appendCrlfLine(std::string& out, std::string_view line);

bool wildcardMatch(std::string_view pattern, std::string_view name); // case-blind

} // namespace qv
