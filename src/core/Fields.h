// Comma-separated fields as the scratch files and the configuration file hold
// them: blanks around a field dropped, a quoted field taken without its quotes
// (commas inside allowed), a line end ending the last field.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace qv {

// Reads fields one after another from a whole text, across line ends.
class FieldReader {
public:
    explicit FieldReader(std::string_view text) : text_(text) {}

    bool atEnd() const;
    // The next field; Failure 62 (Input past end of file) when none is left.
    std::string next();

private:
    std::string_view text_;
    std::size_t pos_ = 0;
};

struct FieldList {
    std::vector<std::string> fields; // always exactly the number asked for
    bool complete = true;            // false when the text held fewer
    // 1-based field, "" past the end.
    const std::string& operator[](std::size_t i) const;
};

// The first `count` fields of a text; missing ones are empty and clear `complete`.
FieldList readFields(std::string_view text, std::size_t count);

// Writers for the configuration file: text in double quotes, booleans as
// #TRUE#/#FALSE#, numbers bare.
std::string quoted(std::string_view s);
std::string boolField(bool b);

// A tactical name as every record can carry it: a comma or a double quote
// would add fields, a tab or any other control character would split or end
// a record, so each of them becomes a blank.
std::string recordSafeName(std::string_view s);
inline bool isRecordSafeName(std::string_view s) { return recordSafeName(s) == s; }

} // namespace qv
