// Recursive-descent JSON reading with a depth bound.
#include "mapfiles/JsonValue.h"

#include <charconv>
#include <cmath>

namespace qv::mapfile {

namespace {

constexpr int kMaxDepth = 64;

class Parser {
public:
    explicit Parser(std::string_view s) : s_(s) {}

    bool document(JsonValue& out) {
        space();
        if (!value(out, 0)) return false;
        space();
        return p_ == s_.size();
    }

private:
    void space() {
        while (p_ < s_.size() && (s_[p_] == ' ' || s_[p_] == '\t' || s_[p_] == '\r' || s_[p_] == '\n'))
            ++p_;
    }
    bool literal(std::string_view word) {
        if (s_.substr(p_, word.size()) != word) return false;
        p_ += word.size();
        return true;
    }

    bool value(JsonValue& v, int depth) {
        if (depth > kMaxDepth || p_ >= s_.size()) return false;
        switch (s_[p_]) {
        case '{': return object(v, depth);
        case '[': return array(v, depth);
        case '"': v.type = JsonValue::Type::String; return string(v.string);
        case 't':
            v.type = JsonValue::Type::Bool;
            v.boolean = true;
            return literal("true");
        case 'f': v.type = JsonValue::Type::Bool; return literal("false");
        case 'n': v.type = JsonValue::Type::Null; return literal("null");
        default: v.type = JsonValue::Type::Number; return number(v.number);
        }
    }

    bool object(JsonValue& v, int depth) {
        v.type = JsonValue::Type::Object;
        ++p_;
        space();
        if (p_ < s_.size() && s_[p_] == '}') {
            ++p_;
            return true;
        }
        for (;;) {
            space();
            std::string key;
            if (p_ >= s_.size() || s_[p_] != '"' || !string(key)) return false;
            space();
            if (p_ >= s_.size() || s_[p_] != ':') return false;
            ++p_;
            space();
            v.members.push_back({std::move(key), JsonValue{}});
            if (!value(v.members.back().value, depth + 1)) return false;
            space();
            if (p_ >= s_.size()) return false;
            if (s_[p_] == '}') {
                ++p_;
                return true;
            }
            if (s_[p_] != ',') return false;
            ++p_;
        }
    }

    bool array(JsonValue& v, int depth) {
        v.type = JsonValue::Type::Array;
        ++p_;
        space();
        if (p_ < s_.size() && s_[p_] == ']') {
            ++p_;
            return true;
        }
        for (;;) {
            space();
            v.items.emplace_back();
            if (!value(v.items.back(), depth + 1)) return false;
            space();
            if (p_ >= s_.size()) return false;
            if (s_[p_] == ']') {
                ++p_;
                return true;
            }
            if (s_[p_] != ',') return false;
            ++p_;
        }
    }

    bool number(double& out) {
        const std::size_t begin = p_;
        auto digits = [&] {
            const std::size_t from = p_;
            while (p_ < s_.size() && s_[p_] >= '0' && s_[p_] <= '9')
                ++p_;
            return p_ > from;
        };
        if (p_ < s_.size() && s_[p_] == '-') ++p_;
        if (p_ < s_.size() && s_[p_] == '0') {
            ++p_;
        } else if (!digits()) {
            return false;
        }
        if (p_ < s_.size() && s_[p_] == '.') {
            ++p_;
            if (!digits()) return false;
        }
        if (p_ < s_.size() && (s_[p_] == 'e' || s_[p_] == 'E')) {
            ++p_;
            if (p_ < s_.size() && (s_[p_] == '+' || s_[p_] == '-')) ++p_;
            if (!digits()) return false;
        }
        auto r = std::from_chars(s_.data() + begin, s_.data() + p_, out);
        return r.ec == std::errc() && r.ptr == s_.data() + p_ && std::isfinite(out);
    }

    bool hex4(unsigned& out) {
        if (p_ + 4 > s_.size()) return false;
        auto r = std::from_chars(s_.data() + p_, s_.data() + p_ + 4, out, 16);
        if (r.ptr != s_.data() + p_ + 4) return false;
        p_ += 4;
        return true;
    }

    static void utf8(std::string& out, unsigned long cp) {
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

    bool string(std::string& out) {
        ++p_; // opening quote
        out.clear();
        while (p_ < s_.size()) {
            const char c = s_[p_++];
            if (c == '"') return true;
            if (static_cast<unsigned char>(c) < 0x20) return false;
            if (c != '\\') {
                out += c;
                continue;
            }
            if (p_ >= s_.size()) return false;
            const char e = s_[p_++];
            switch (e) {
            case '"': out += '"'; break;
            case '\\': out += '\\'; break;
            case '/': out += '/'; break;
            case 'b': out += '\b'; break;
            case 'f': out += '\f'; break;
            case 'n': out += '\n'; break;
            case 'r': out += '\r'; break;
            case 't': out += '\t'; break;
            case 'u': {
                unsigned hi = 0;
                if (!hex4(hi)) return false;
                unsigned long cp = hi;
                if (hi >= 0xD800 && hi <= 0xDBFF) {
                    unsigned lo = 0;
                    if (!literal("\\u") || !hex4(lo) || lo < 0xDC00 || lo > 0xDFFF) return false;
                    cp = 0x10000 + ((hi - 0xD800) << 10) + (lo - 0xDC00);
                } else if (hi >= 0xDC00 && hi <= 0xDFFF) {
                    return false;
                }
                utf8(out, cp);
                break;
            }
            default: return false;
            }
        }
        return false;
    }

    std::string_view s_;
    std::size_t p_ = 0;
};

} // namespace

const JsonValue* JsonValue::get(std::string_view key) const {
    if (type != Type::Object) return nullptr;
    for (const auto& m : members)
        if (m.key == key) return &m.value;
    return nullptr;
}

std::string JsonValue::text(std::string_view key) const {
    const JsonValue* v = get(key);
    return v && v->type == Type::String ? v->string : std::string();
}

std::optional<JsonValue> parseJson(std::string_view doc) {
    JsonValue v;
    if (!Parser(doc).document(v)) return std::nullopt;
    return v;
}

} // namespace qv::mapfile
