// Reader of the keystroke notation.
#include "posting/KeystrokeScript.h"

#include "core/Failure.h"
#include "core/Text.h"

#include <array>
#include <cstddef>

namespace qv::keys {

namespace {

// Repeat counts above this are taken for a typing error in a script rather
// than a wish to send a million tabs.
constexpr unsigned kMaxRepeat = 1000;

struct Alias {
    const char* spelled;
    const char* name;
};

constexpr std::array kNamedKeys{
    Alias{"BACKSPACE", "BACKSPACE"},
    Alias{"BS", "BACKSPACE"},
    Alias{"BKSP", "BACKSPACE"},
    Alias{"BREAK", "BREAK"},
    Alias{"CAPSLOCK", "CAPSLOCK"},
    Alias{"DELETE", "DELETE"},
    Alias{"DEL", "DELETE"},
    Alias{"DOWN", "DOWN"},
    Alias{"END", "END"},
    Alias{"ENTER", "ENTER"},
    Alias{"ESC", "ESC"},
    Alias{"HELP", "HELP"},
    Alias{"HOME", "HOME"},
    Alias{"INSERT", "INSERT"},
    Alias{"INS", "INSERT"},
    Alias{"LEFT", "LEFT"},
    Alias{"NUMLOCK", "NUMLOCK"},
    Alias{"PGDN", "PGDN"},
    Alias{"PGUP", "PGUP"},
    Alias{"PRTSC", "PRTSC"},
    Alias{"RIGHT", "RIGHT"},
    Alias{"SCROLLLOCK", "SCROLLLOCK"},
    Alias{"TAB", "TAB"},
    Alias{"UP", "UP"},
    Alias{"ADD", "ADD"},
    Alias{"SUBTRACT", "SUBTRACT"},
    Alias{"MULTIPLY", "MULTIPLY"},
    Alias{"DIVIDE", "DIVIDE"},
};

[[noreturn]] void bad() { throw Failure(err::InvalidCall); }

bool isNamed(std::string_view spelled, std::string& name) {
    for (const auto& a : kNamedKeys)
        if (text::iequals(spelled, a.spelled)) {
            name = a.name;
            return true;
        }
    // F1 .. F16
    if (spelled.size() >= 2 && spelled.size() <= 3 && text::upper(spelled[0]) == 'F') {
        unsigned n = 0;
        for (char c : spelled.substr(1)) {
            if (c < '0' || c > '9') return false;
            n = n * 10 + static_cast<unsigned>(c - '0');
        }
        if (spelled[1] == '0' || n < 1 || n > 16) return false;
        name = "F" + std::to_string(n);
        return true;
    }
    return false;
}

// Length of the UTF-8 sequence starting at s[i] and its code point. A byte that
// does not start a valid sequence stands for itself, so no file name is refused.
std::size_t decode(std::string_view s, std::size_t i, char32_t& cp) {
    auto b = static_cast<unsigned char>(s[i]);
    std::size_t len = b < 0x80 ? 1 : (b >> 5) == 0x6 ? 2 : (b >> 4) == 0xE ? 3 : (b >> 3) == 0x1E ? 4 : 0;
    if (len == 0 || i + len > s.size()) {
        cp = b;
        return 1;
    }
    cp = len == 1 ? b : len == 2 ? (b & 0x1Fu) : len == 3 ? (b & 0x0Fu) : (b & 0x07u);
    for (std::size_t k = 1; k < len; ++k) {
        auto c = static_cast<unsigned char>(s[i + k]);
        if ((c >> 6) != 0x2) {
            cp = b;
            return 1;
        }
        cp = (cp << 6) | (c & 0x3Fu);
    }
    return len;
}

class Parser {
public:
    explicit Parser(std::string_view s) : s_(s) {}

    std::vector<KeyEvent> run() {
        sequence(false);
        return std::move(out_);
    }

private:
    std::string_view s_;
    std::size_t i_ = 0;
    std::vector<KeyEvent> out_;

    void tap(const std::string& name, char32_t ch, unsigned times) {
        for (unsigned k = 0; k < times; ++k) {
            out_.push_back({true, name, ch});
            out_.push_back({false, name, ch});
        }
    }

    // Items until the end of the text, or until the ")" closing a group.
    void sequence(bool inGroup) {
        while (i_ < s_.size()) {
            if (s_[i_] == ')') {
                if (!inGroup) bad();
                return;
            }
            item();
        }
        if (inGroup) bad(); // "(" never closed
    }

    void item() {
        std::vector<std::string> held;
        while (i_ < s_.size() && (s_[i_] == '+' || s_[i_] == '^' || s_[i_] == '%')) {
            std::string mod = s_[i_] == '+' ? "SHIFT" : s_[i_] == '^' ? "CTRL" : "ALT";
            ++i_;
            bool already = false;
            for (const auto& h : held)
                already = already || h == mod;
            if (!already) {
                held.push_back(mod);
                out_.push_back({true, mod, 0});
            }
        }
        if (i_ >= s_.size() || s_[i_] == ')') {
            if (!held.empty()) bad(); // a modifier with nothing to hold it for
            return;
        }
        unit();
        for (auto it = held.rbegin(); it != held.rend(); ++it)
            out_.push_back({false, *it, 0});
    }

    void unit() {
        char c = s_[i_];
        if (c == '(') {
            ++i_;
            sequence(true);
            ++i_; // the ")"
        } else if (c == '{') {
            braced();
        } else if (c == '}') {
            bad();
        } else if (c == '~') {
            ++i_;
            tap("ENTER", 0, 1);
        } else {
            char32_t cp = 0;
            i_ += decode(s_, i_, cp);
            tap({}, cp, 1);
        }
    }

    // "{" already seen at i_. "{}}" is a literal "}".
    void braced() {
        ++i_;
        if (i_ >= s_.size()) bad();
        // The first character after "{" always belongs to the key, so "{}}"
        // types the closing brace itself.
        std::size_t close = s_.find('}', i_ + 1);
        if (close == std::string_view::npos) bad();
        std::string_view body = s_.substr(i_, close - i_);
        i_ = close + 1;
        if (body.empty()) bad();

        std::string_view key = body;
        unsigned times = 1;
        // A repeat count follows the last blank; "{ }" is the blank itself.
        std::size_t blank = body.rfind(' ');
        if (blank != std::string_view::npos && blank > 0) {
            std::string_view count = body.substr(blank + 1);
            key = body.substr(0, blank);
            if (count.empty()) bad();
            times = 0;
            for (char d : count) {
                if (d < '0' || d > '9') bad();
                times = times * 10 + static_cast<unsigned>(d - '0');
                if (times > kMaxRepeat) bad();
            }
        }
        char32_t cp = 0;
        if (decode(key, 0, cp) == key.size()) {
            tap({}, cp, times);
            return;
        }
        std::string name;
        if (!isNamed(key, name)) bad();
        tap(name, 0, times);
    }
};

void appendUtf8(std::string& out, char32_t cp) {
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

std::vector<KeyEvent> parse(std::string_view script) { return Parser(script).run(); }

std::string literal(std::string_view s) {
    std::string out;
    out.reserve(s.size());
    for (char c : s) {
        switch (c) {
        case '+':
        case '^':
        case '%':
        case '~':
        case '(':
        case ')':
        case '{':
        case '}':
        case '[':
        case ']':
            out += '{';
            out += c;
            out += '}';
            break;
        default: out += c;
        }
    }
    return out;
}

std::string describe(const std::vector<KeyEvent>& events) {
    std::string out;
    auto label = [](const KeyEvent& e) {
        if (!e.name.empty()) return e.name;
        std::string s;
        appendUtf8(s, e.ch);
        return s;
    };
    for (std::size_t i = 0; i < events.size(); ++i) {
        const KeyEvent& e = events[i];
        if (!out.empty()) out += ' ';
        bool tap = e.down && i + 1 < events.size() && !events[i + 1].down && events[i + 1].name == e.name &&
                   events[i + 1].ch == e.ch;
        if (tap) {
            if (!e.name.empty())
                out += "{" + e.name + "}";
            else if (e.ch == U' ')
                out += "' '";
            else
                out += label(e);
            ++i;
        } else {
            out += e.down ? "[" + label(e) : label(e) + "]";
        }
    }
    return out;
}

} // namespace qv::keys
