// Head and tail reads, torn-line-free appends and whole-file replacement.
#include "mapfiles/MapFileIo.h"

#include "core/Failure.h"
#include "core/WorkDir.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <system_error>

namespace fs = std::filesystem;

namespace qv::mapfile {

namespace {

[[noreturn]] void failFromErrno(int e) {
    switch (e) {
    case ENOENT: throw Failure(err::FileNotFound);
    case ENOTDIR: throw Failure(err::PathNotFound);
    case EISDIR:
    case ENOTEMPTY:
    case EEXIST: throw Failure(err::PathFileAccess);
    case EACCES:
    case EPERM:
    case EROFS: throw Failure(err::PermissionDenied);
    case ENOSPC:
    case EDQUOT: throw Failure(err::DiskFull);
    default: throw Failure(57); // Device I/O error
    }
}

struct FileCloser {
    void operator()(FILE* f) const { std::fclose(f); }
};
using File = std::unique_ptr<FILE, FileCloser>;

File openForReading(const fs::path& p) {
    std::error_code ec;
    if (fs::is_directory(p, ec)) throw Failure(err::PathFileAccess);
    errno = 0;
    FILE* f = std::fopen(p.c_str(), "rb");
    if (!f) failFromErrno(errno);
    return File(f);
}

bool isLineEnd(char c) { return c == '\r' || c == '\n'; }

} // namespace

std::string lastNonEmptyLine(const WorkDir& dir, std::string_view name) {
    if (auto known = dir.lastAppendedLine(name)) return *known;
    File f = openForReading(dir.path(name));
    if (std::fseek(f.get(), 0, SEEK_END) != 0) throw Failure(57);
    long end = std::ftell(f.get());
    if (end < 0) throw Failure(57);

    // Walk backwards chunk by chunk: first past the trailing line ends, then
    // collect characters until the line end before the line (or the start).
    constexpr long kChunk = 4096;
    std::string reversed;
    bool inLine = false;
    char buf[kChunk];
    for (long pos = end; pos > 0;) {
        long n = pos < kChunk ? pos : kChunk;
        pos -= n;
        if (std::fseek(f.get(), pos, SEEK_SET) != 0) throw Failure(57);
        if (std::fread(buf, 1, static_cast<std::size_t>(n), f.get()) != static_cast<std::size_t>(n)) throw Failure(57);
        for (long i = n - 1; i >= 0; --i) {
            char c = buf[i];
            if (isLineEnd(c)) {
                if (inLine) return std::string(reversed.rbegin(), reversed.rend());
            } else {
                inLine = true;
                reversed += c;
            }
        }
    }
    return std::string(reversed.rbegin(), reversed.rend());
}

std::vector<std::string> headLines(const WorkDir& dir, std::string_view name, std::size_t count) {
    File f = openForReading(dir.path(name));
    std::string data;
    char buf[4096];
    std::vector<std::string> lines;
    for (;;) {
        std::size_t n = std::fread(buf, 1, sizeof buf, f.get());
        if (n == 0) {
            if (std::ferror(f.get())) throw Failure(57);
            break;
        }
        data.append(buf, n);
        // One line beyond the wanted ones proves the last wanted one is complete.
        lines = splitLines(data);
        if (lines.size() > count) break;
    }
    lines = splitLines(data);
    if (lines.size() > count) lines.resize(count);
    return lines;
}

void appendLines(const WorkDir& dir, std::string_view name, const std::vector<std::string>& lines,
                 const std::vector<std::string>& headerIfNew) {
    dir.appendLines(name, lines, headerIfNew);
}

void replaceLines(const WorkDir& dir, std::string_view name, const std::vector<std::string>& lines) {
    dir.replaceLinesAtomically(name, lines);
}

FileStamp stampOf(const WorkDir& dir, std::string_view name) { return dir.identity(name); }

std::string thirdField(std::string_view line) {
    // A line with fewer than three fields has none (rather than one that
    // would be taken to match every record).
    std::size_t first = line.find(',');
    if (first == std::string_view::npos) return {};
    std::size_t second = line.find(',', first + 1);
    if (second == std::string_view::npos) return {};
    std::size_t third = line.find(',', second + 1);
    std::string_view field =
        line.substr(second + 1, third == std::string_view::npos ? std::string_view::npos : third - second - 1);
    std::size_t b = field.find_first_not_of(' ');
    if (b == std::string_view::npos) return {};
    std::size_t e = field.find_last_not_of(' ');
    return std::string(field.substr(b, e - b + 1));
}

} // namespace qv::mapfile
