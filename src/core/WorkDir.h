// Text files in the working directory: every file of the program is addressed
// by its bare name here. Lines end with CR LF. Names are looked up without
// regard to letter case, because the map programs write "QUORVEL.TXF" as
// readily as "quorvel.txf".
#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace qv {

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
    void appendLine(std::string_view name, std::string_view line) const;
    void appendLines(std::string_view name, const std::vector<std::string>& lines) const;
    void writeLines(std::string_view name, const std::vector<std::string>& lines) const; // rewrite
    void writeText(std::string_view name, std::string_view text) const;                  // rewrite, as is
    // Rewrite of a file written for every received line: the old file is
    // removed first, since ext4 flushes a file rewritten by truncation to
    // disk at once, which costs milliseconds on each line. Links are
    // rewritten in place as by writeLines.
    void replaceLines(std::string_view name, const std::vector<std::string>& lines) const;
    std::vector<std::string> readLines(std::string_view name) const;
    std::string readText(std::string_view name) const;
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

bool wildcardMatch(std::string_view pattern, std::string_view name); // case-blind

} // namespace qv
