// The user interface when there is no window: every message box is answered
// with its default button and every input box with its proposed answer, as if
// the user pressed Enter; each question and its answer goes to standard error
// as one line.
#pragma once

#include "platform/Ui.h"

#include <iosfwd>

namespace qv {

class HeadlessUi final : public Ui {
public:
    explicit HeadlessUi(std::ostream& out);

    Answer message(const std::string& text, const std::string& title, Buttons buttons, Icon icon,
                   int defaultButton) override;
    std::string input(const std::string& prompt, const std::string& title, const std::string& proposed) override;
    void beep() override { ++beeps_; }
    void refresh() override {}

    int beeps() const { return beeps_; }

    // "title | text | answer" with line ends shown as " / ".
    static std::string line(const std::string& title, const std::string& text, const std::string& answer);

private:
    std::ostream& out_;
    int beeps_ = 0;
};

const char* answerName(Answer a);

} // namespace qv
