// Port of the modeless APRS message reply window. The station state holds the
// window's fields; an implementation only draws them and reports the
// operator's typing and the SEND button back through the two callbacks.
#pragma once

#include <functional>
#include <iosfwd>
#include <string>

namespace qv {

struct MessageWindowState;

class MessageWindow {
public:
    virtual ~MessageWindow() = default;

    // Shows the window without taking the input away from the main window
    // (creating it on first use) and draws `form` into it.
    virtual void show(const MessageWindowState& form) = 0;
    // Redraws an already shown window, e.g. the echo after a reply.
    virtual void draw(const MessageWindowState& form) = 0;

    // The sender or reply text as now typed.
    std::function<void(const std::string& from, const std::string& text)> onEdited;
    // The SEND button.
    std::function<void()> onSend;
};

// Without a screen: every shown caption and reply echo goes to `out` as a line.
class HeadlessMessageWindow final : public MessageWindow {
public:
    explicit HeadlessMessageWindow(std::ostream& out) : out_(out) {}
    void show(const MessageWindowState& form) override;
    void draw(const MessageWindowState& form) override;

private:
    std::ostream& out_;
};

} // namespace qv
