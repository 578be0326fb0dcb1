// The comma-separated field reader and writer.
#include "core/Fields.h"

#include "core/Failure.h"

namespace qv {

namespace {
bool isBlank(char c) { return c == ' ' || c == '\t'; }
bool isLineEnd(char c) { return c == '\r' || c == '\n'; }
} // namespace

bool FieldReader::atEnd() const {
    std::size_t p = pos_;
    while (p < text_.size() && (isBlank(text_[p]) || isLineEnd(text_[p])))
        ++p;
    return p >= text_.size();
}

std::string FieldReader::next() {
    // Skip blanks and the ends of lines before a field.
    while (pos_ < text_.size() && (isBlank(text_[pos_]) || isLineEnd(text_[pos_])))
        ++pos_;
    if (pos_ >= text_.size()) throw Failure(err::InputPastEnd);

    std::string field;
    if (text_[pos_] == '"') {
        ++pos_;
        std::size_t close = text_.find('"', pos_);
        if (close == std::string_view::npos) close = text_.size();
        field.assign(text_.substr(pos_, close - pos_));
        pos_ = close < text_.size() ? close + 1 : close;
        // Anything between the closing quote and the separator is dropped.
        while (pos_ < text_.size() && text_[pos_] != ',' && !isLineEnd(text_[pos_]))
            ++pos_;
    } else {
        std::size_t end = pos_;
        while (end < text_.size() && text_[end] != ',' && !isLineEnd(text_[end]))
            ++end;
        std::size_t e = end;
        while (e > pos_ && isBlank(text_[e - 1]))
            --e;
        field.assign(text_.substr(pos_, e - pos_));
        pos_ = end;
    }
    if (pos_ < text_.size() && text_[pos_] == ',') {
        ++pos_;
    } else if (pos_ < text_.size() && isLineEnd(text_[pos_])) {
        if (text_[pos_] == '\r' && pos_ + 1 < text_.size() && text_[pos_ + 1] == '\n') ++pos_;
        ++pos_;
    }
    return field;
}

const std::string& FieldList::operator[](std::size_t i) const {
    static const std::string empty;
    return (i >= 1 && i <= fields.size()) ? fields[i - 1] : empty;
}

FieldList readFields(std::string_view text, std::size_t count) {
    FieldList out;
    out.fields.reserve(count);
    FieldReader reader(text);
    for (std::size_t i = 0; i < count; ++i) {
        if (reader.atEnd()) {
            out.complete = false;
            out.fields.resize(count);
            break;
        }
        out.fields.push_back(reader.next());
    }
    return out;
}

std::string quoted(std::string_view s) {
    std::string r;
    r.reserve(s.size() + 2);
    r.push_back('"');
    r.append(s);
    r.push_back('"');
    return r;
}

std::string boolField(bool b) { return b ? "#TRUE#" : "#FALSE#"; }

std::string recordSafeName(std::string_view s) {
    std::string r;
    r.reserve(s.size());
    for (std::size_t i = 0; i < s.size(); ++i) {
        const auto c = static_cast<unsigned char>(s[i]);
        if (c < 0x20 || c == 0x7F || c == ',' || c == '"') {
            r.push_back(' ');
        } else if (c == 0xC2 && i + 1 < s.size() && static_cast<unsigned char>(s[i + 1]) >= 0x80 &&
                   static_cast<unsigned char>(s[i + 1]) <= 0x9F) {
            r.push_back(' '); // U+0080..U+009F, the control characters of UTF-8
            ++i;
        } else {
            r.push_back(static_cast<char>(c));
        }
    }
    return r;
}

} // namespace qv
