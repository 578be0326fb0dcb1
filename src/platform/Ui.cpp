// Default answers of message boxes, shared by headless running and tests.
#include "platform/Ui.h"

namespace qv {

Answer defaultAnswer(Buttons buttons, int defaultButton) {
    const int i = defaultButton < 1 ? 1 : defaultButton;
    switch (buttons) {
    case Buttons::Ok: return Answer::Ok;
    case Buttons::OkCancel: return i == 2 ? Answer::Cancel : Answer::Ok;
    case Buttons::YesNo: return i == 2 ? Answer::No : Answer::Yes;
    case Buttons::YesNoCancel: return i == 3 ? Answer::Cancel : i == 2 ? Answer::No : Answer::Yes;
    case Buttons::RetryCancel: return i == 2 ? Answer::Cancel : Answer::Retry;
    case Buttons::AbortRetryIgnore: return i == 3 ? Answer::Ignore : i == 2 ? Answer::Retry : Answer::Abort;
    }
    return Answer::Ok;
}

} // namespace qv
