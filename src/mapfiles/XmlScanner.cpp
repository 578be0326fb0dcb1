// Pull reading of XML documents.
#include "mapfiles/XmlScanner.h"

#include <charconv>

namespace qv::mapfile {

namespace {

constexpr std::size_t kMaxDepth = 256;

bool isSpace(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

bool isNameChar(char c) {
    const auto u = static_cast<unsigned char>(c);
    return u >= 0x80 || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_' ||
           c == ':' || c == '-' || c == '.';
}

bool isNameStart(char c) { return isNameChar(c) && c != '-' && c != '.' && !(c >= '0' && c <= '9'); }

void appendUtf8(std::string& out, unsigned long cp) {
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (cp >> 18));
        out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

} // namespace

std::string_view localName(std::string_view qname) {
    const std::size_t colon = qname.rfind(':');
    return colon == std::string_view::npos ? qname : qname.substr(colon + 1);
}

std::string XmlScanner::attribute(std::string_view local) const {
    for (const auto& [k, v] : attrs_)
        if (localName(k) == local) return v;
    return {};
}

bool XmlScanner::decode(std::string_view raw, std::string& out) const {
    out.clear();
    out.reserve(raw.size());
    for (std::size_t i = 0; i < raw.size(); ++i) {
        const char c = raw[i];
        if (c == '<') return false;
        if (c != '&') {
            out += c;
            continue;
        }
        const std::size_t semi = raw.find(';', i);
        if (semi == std::string_view::npos || semi - i > 12) return false;
        const std::string_view ent = raw.substr(i + 1, semi - i - 1);
        if (ent == "lt") {
            out += '<';
        } else if (ent == "gt") {
            out += '>';
        } else if (ent == "amp") {
            out += '&';
        } else if (ent == "quot") {
            out += '"';
        } else if (ent == "apos") {
            out += '\'';
        } else if (ent.size() > 1 && ent[0] == '#') {
            const bool hex = ent[1] == 'x';
            const std::string_view digits = ent.substr(hex ? 2 : 1);
            unsigned long cp = 0;
            auto r = std::from_chars(digits.data(), digits.data() + digits.size(), cp, hex ? 16 : 10);
            if (digits.empty() || r.ec != std::errc() || r.ptr != digits.data() + digits.size()) return false;
            if (cp == 0 || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return false;
            appendUtf8(out, cp);
        } else {
            return false;
        }
        i = semi;
    }
    return true;
}

XmlScanner::Event XmlScanner::startTag() {
    std::size_t p = pos_ + 1;
    const std::size_t begin = p;
    if (p >= doc_.size() || !isNameStart(doc_[p])) return fail();
    while (p < doc_.size() && isNameChar(doc_[p]))
        ++p;
    const std::string qname(doc_.substr(begin, p - begin));
    attrs_.clear();
    bool empty = false;
    for (;;) {
        const std::size_t before = p;
        while (p < doc_.size() && isSpace(doc_[p]))
            ++p;
        if (p >= doc_.size()) return fail();
        if (doc_[p] == '>') {
            ++p;
            break;
        }
        if (doc_[p] == '/') {
            if (p + 1 >= doc_.size() || doc_[p + 1] != '>') return fail();
            p += 2;
            empty = true;
            break;
        }
        if (p == before || !isNameStart(doc_[p])) return fail(); // attributes are set apart by blanks
        const std::size_t an = p;
        while (p < doc_.size() && isNameChar(doc_[p]))
            ++p;
        std::string key(doc_.substr(an, p - an));
        while (p < doc_.size() && isSpace(doc_[p]))
            ++p;
        if (p >= doc_.size() || doc_[p] != '=') return fail();
        ++p;
        while (p < doc_.size() && isSpace(doc_[p]))
            ++p;
        if (p >= doc_.size() || (doc_[p] != '"' && doc_[p] != '\'')) return fail();
        const char quote = doc_[p++];
        const std::size_t close = doc_.find(quote, p);
        if (close == std::string_view::npos) return fail();
        std::string value;
        if (!decode(doc_.substr(p, close - p), value)) return fail();
        attrs_.emplace_back(std::move(key), std::move(value));
        p = close + 1;
    }
    if (open_.empty() && rootSeen_) return fail(); // a second root element
    if (open_.size() >= kMaxDepth) return fail();
    rootSeen_ = true;
    pos_ = p;
    name_ = std::string(localName(qname));
    open_.push_back(qname);
    pendingEnd_ = empty;
    return state_ = Event::Start;
}

XmlScanner::Event XmlScanner::endTag() {
    std::size_t p = pos_ + 2;
    const std::size_t begin = p;
    while (p < doc_.size() && isNameChar(doc_[p]))
        ++p;
    const std::string_view qname = doc_.substr(begin, p - begin);
    while (p < doc_.size() && isSpace(doc_[p]))
        ++p;
    if (p >= doc_.size() || doc_[p] != '>' || open_.empty() || open_.back() != qname) return fail();
    pos_ = p + 1;
    name_ = std::string(localName(qname));
    open_.pop_back();
    return state_ = Event::End;
}

XmlScanner::Event XmlScanner::next() {
    if (state_ == Event::Error || state_ == Event::Done) return state_;
    if (pendingEnd_) {
        pendingEnd_ = false;
        open_.pop_back();
        return state_ = Event::End;
    }
    for (;;) {
        if (pos_ >= doc_.size()) return (open_.empty() && rootSeen_) ? state_ = Event::Done : fail();
        const std::string_view rest = doc_.substr(pos_);
        if (rest[0] != '<') {
            std::size_t lt = rest.find('<');
            if (lt == std::string_view::npos) lt = rest.size();
            const std::string_view raw = rest.substr(0, lt);
            pos_ += lt;
            if (open_.empty()) {
                for (char c : raw)
                    if (!isSpace(c)) return fail();
                continue;
            }
            if (!decode(raw, text_)) return fail();
            return state_ = Event::Text;
        }
        if (rest.starts_with("<?")) {
            const std::size_t end = rest.find("?>");
            if (end == std::string_view::npos) return fail();
            pos_ += end + 2;
        } else if (rest.starts_with("<!--")) {
            const std::size_t end = rest.find("-->", 4);
            if (end == std::string_view::npos) return fail();
            pos_ += end + 3;
        } else if (rest.starts_with("<![CDATA[")) {
            const std::size_t end = rest.find("]]>");
            if (end == std::string_view::npos || open_.empty()) return fail();
            text_ = std::string(rest.substr(9, end - 9));
            pos_ += end + 3;
            return state_ = Event::Text;
        } else if (rest.starts_with("<!")) {
            const std::size_t end = rest.find('>');
            if (end == std::string_view::npos || rootSeen_ || rest.substr(0, end).find('[') != std::string_view::npos)
                return fail();
            pos_ += end + 1;
        } else if (rest.starts_with("</")) {
            return endTag();
        } else {
            return startTag();
        }
    }
}

} // namespace qv::mapfile
