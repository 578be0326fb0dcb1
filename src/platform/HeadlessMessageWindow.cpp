// The reply window of a run without a screen.
#include "core/MessageState.h"
#include "platform/MessageWindow.h"

#include <ostream>

namespace qv {

void HeadlessMessageWindow::show(const MessageWindowState& form) { out_ << "Message window: " << form.caption << "\n"; }

void HeadlessMessageWindow::draw(const MessageWindowState& form) { out_ << form.LabelReplySentString << "\n"; }

} // namespace qv
