// User-interface port: message boxes, input boxes, the beep and the display
// refresh. The window implements it with Qt dialogs; headless running answers
// every question with its default; tests script the answers.
#pragma once

#include <string>
#include <vector>

namespace qv {

enum class Buttons { Ok, OkCancel, YesNo, YesNoCancel, RetryCancel, AbortRetryIgnore };
enum class Icon { None, Information, Exclamation, Question, Critical };
enum class Answer { Ok, Cancel, Yes, No, Retry, Abort, Ignore };

class Ui {
public:
    virtual ~Ui() = default;

    // A message box; returns the button pressed. `defaultButton` is 1-based
    // (1 = the first button of the set).
    virtual Answer message(const std::string& text, const std::string& title = "Quorvel", Buttons buttons = Buttons::Ok,
                           Icon icon = Icon::None, int defaultButton = 1) = 0;

    // An input box proposing `proposed`; returns the typed text, or "" when
    // the user cancels.
    virtual std::string input(const std::string& prompt, const std::string& title, const std::string& proposed) = 0;

    // An input box that also offers a list to pick from (the answer may be
    // anything typed); without a list to show it is an input box.
    virtual std::string choose(const std::string& prompt, const std::string& title, const std::string& proposed,
                               const std::vector<std::string>& offers) {
        (void)offers;
        return input(prompt, title, proposed);
    }

    virtual void beep() = 0;

    // Redraw the window from the station state and let pending user-interface
    // events run. Never starts the classification of another line.
    virtual void refresh() = 0;
};

// The first button of a set, or the one `defaultButton` names.
Answer defaultAnswer(Buttons buttons, int defaultButton);

} // namespace qv
