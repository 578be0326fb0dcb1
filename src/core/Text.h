// Text helpers shared by every subsystem: comparisons and searches that ignore
// letter case, 1-based positions, and the fixed-width cuts the records use.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace qv::text {

char upper(char c);
std::string upper(std::string_view s);
std::string lower(std::string_view s);

bool iequals(std::string_view a, std::string_view b);
bool istartsWith(std::string_view s, std::string_view prefix);
bool iendsWith(std::string_view s, std::string_view suffix);
bool icontains(std::string_view s, std::string_view needle);

// 1-based position of needle in s searching from position `start` (1-based),
// ignoring letter case; 0 when absent.
std::size_t ifind(std::string_view s, std::string_view needle, std::size_t start = 1);

// The first n characters, the last n characters, and n characters from the
// 1-based position `start` (all of the rest when n is npos). Out-of-range
// arguments give shorter or empty texts, never a failure.
std::string left(std::string_view s, std::size_t n);
std::string right(std::string_view s, std::size_t n);
std::string mid(std::string_view s, std::size_t start, std::size_t n = std::string_view::npos);

// The 1-based character at `pos`, or '\0' when the text is shorter.
char at(std::string_view s, std::size_t pos);

// Blanks (spaces and tabs) removed from both ends / from the right only.
std::string trim(std::string_view s);
std::string trimRight(std::string_view s);

// The text before its first line end (CR or LF): a line end is never data,
// and what follows one belongs to another line.
// The first position from `from` on that holds one of the characters of
// `set`; npos when none does. A plain scan: the library's find_first_of asks
// memchr about the set for every character of the text.
inline std::size_t findAny(std::string_view s, std::string_view set, std::size_t from = 0) {
    for (std::size_t i = from; i < s.size(); ++i)
        for (const char c : set)
            if (s[i] == c) return i;
    return std::string_view::npos;
}
std::string_view firstLine(std::string_view s);

// Every occurrence of `from` replaced by `to` (exact case).
std::string replaceAll(std::string_view s, std::string_view from, std::string_view to);

// Text safe to print on a terminal: control characters (also those of
// UTF-8) and bytes that are no UTF-8 shown as \r, \n, \t, \xHH or \uHHHH,
// and the backslash doubled, so received text can never retitle or clear
// the operator's terminal.
std::string printable(std::string_view s);

} // namespace qv::text
