// The reply window of a run without a screen.
#include "core/MessageState.h"
#include "core/Text.h"
#include "platform/MessageWindow.h"

#include <ostream>

namespace qv {

void HeadlessMessageWindow::show(const MessageWindowState& form) {
    out_ << "Message window: " << text::printable(form.caption) << "\n";
}

void HeadlessMessageWindow::draw(const MessageWindowState& form) {
    out_ << text::printable(form.LabelReplySentString) << "\n";
}

} // namespace qv
