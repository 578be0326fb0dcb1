// Working-directory files with CR LF lines and case-blind names.
#include "core/WorkDir.h"

#include "core/Failure.h"
#include "core/Text.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <system_error>

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
    case EDQUOT: throw Failure(err::DiskFull);
    default: throw Failure(57); // Device I/O error
    }
}

// Writes all of `data` to a file opened with `mode`; any short write or a
// failing close is a failure, so a full disk never passes for success.
void writeFile(const fs::path& p, const char* mode, std::string_view data) {
    std::error_code ec;
    if (fs::is_directory(p, ec)) throw Failure(err::PathFileAccess);
    if (p.has_parent_path() && !fs::is_directory(p.parent_path(), ec)) throw Failure(err::PathNotFound);
    errno = 0;
    FILE* f = std::fopen(p.c_str(), mode);
    if (!f) failFromErrno(errno);
    errno = 0;
    std::size_t n = data.empty() ? 0 : std::fwrite(data.data(), 1, data.size(), f);
    int writeErr = (n != data.size()) ? (errno ? errno : EIO) : 0;
    errno = 0;
    if (std::fclose(f) != 0 && writeErr == 0) writeErr = errno ? errno : EIO;
    if (writeErr) failFromErrno(writeErr);
}

} // namespace

WorkDir::WorkDir(fs::path root) : root_(std::move(root)) {}

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
    std::error_code ec;
    return fs::exists(path(name), ec);
}

void WorkDir::appendLine(std::string_view name, std::string_view line) const {
    std::string data(line);
    data += "\r\n";
    writeFile(path(name), "ab", data);
}

void WorkDir::appendLines(std::string_view name, const std::vector<std::string>& lines) const {
    std::string data;
    for (const auto& l : lines)
        data += l + "\r\n";
    writeFile(path(name), "ab", data);
}

void WorkDir::writeLines(std::string_view name, const std::vector<std::string>& lines) const {
    std::string data;
    for (const auto& l : lines)
        data += l + "\r\n";
    writeFile(path(name), "wb", data);
}

void WorkDir::replaceLines(std::string_view name, const std::vector<std::string>& lines) const {
    const fs::path p = path(name);
    std::error_code ec;
    if (fs::is_regular_file(fs::symlink_status(p, ec))) fs::remove(p, ec);
    std::string data;
    for (const auto& l : lines)
        data += l + "\r\n";
    writeFile(p, "wb", data);
}

void WorkDir::writeText(std::string_view name, std::string_view text) const { writeFile(path(name), "wb", text); }

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
    std::error_code ec;
    fs::path p = path(name);
    if (!fs::exists(p, ec)) throw Failure(err::FileNotFound);
    if (!fs::remove(p, ec) || ec) throw Failure(err::PermissionDenied);
}

int WorkDir::removeMatching(std::string_view pattern) const {
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
