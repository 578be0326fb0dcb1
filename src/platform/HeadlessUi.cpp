// Default answers written to a stream, one line per question.
#include "platform/HeadlessUi.h"

#include "core/Text.h"

#include <ostream>

namespace qv {

namespace {
std::string oneLine(const std::string& s) {
    std::string r;
    r.reserve(s.size());
    for (std::size_t i = 0; i < s.size(); ++i) {
        const char c = s[i];
        if (c == '\r' || c == '\n') {
            if (c == '\r' && i + 1 < s.size() && s[i + 1] == '\n') ++i;
            r += " / ";
        } else {
            r.push_back(c);
        }
    }
    return text::printable(r);
}
} // namespace

const char* answerName(Answer a) {
    switch (a) {
    case Answer::Ok: return "OK";
    case Answer::Cancel: return "Cancel";
    case Answer::Yes: return "Yes";
    case Answer::No: return "No";
    case Answer::Retry: return "Retry";
    case Answer::Abort: return "Abort";
    case Answer::Ignore: return "Ignore";
    }
    return "OK";
}

HeadlessUi::HeadlessUi(std::ostream& out) : out_(out) {}

std::string HeadlessUi::line(const std::string& title, const std::string& text, const std::string& answer) {
    return oneLine(title) + " | " + oneLine(text) + " | " + oneLine(answer);
}

Answer HeadlessUi::message(const std::string& text, const std::string& title, Buttons buttons, Icon,
                           int defaultButton) {
    const Answer a = defaultAnswer(buttons, defaultButton);
    out_ << line(title, text, answerName(a)) << std::endl;
    return a;
}

std::string HeadlessUi::input(const std::string& prompt, const std::string& title, const std::string& proposed) {
    out_ << line(title, prompt, "\"" + proposed + "\"") << std::endl;
    return proposed;
}

} // namespace qv
