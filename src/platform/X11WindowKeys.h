// The window and keystroke port on an X11 display: windows are found by their
// titles, activated through the window manager (or directly when none runs),
// and keys are synthesised with the XTest extension.
#pragma once

#include "platform/WindowKeys.h"

#include <memory>
#include <string>

namespace qv {

class X11WindowKeys final : public WindowKeys {
public:
    // Opens its own connection to `display` ("" for $DISPLAY). Without a
    // display every window search finds nothing and every send fails with 5.
    explicit X11WindowKeys(const std::string& display = {});
    ~X11WindowKeys() override;
    X11WindowKeys(const X11WindowKeys&) = delete;
    X11WindowKeys& operator=(const X11WindowKeys&) = delete;

    bool connected() const;

    std::vector<std::string> windowTitles() override;
    void activate(const std::string& title) override;
    void send(const std::vector<KeyEvent>& events) override;

    // How long activation may take before it counts as failed, and how long
    // a send pauses after its last key so the target can take it in.
    void setActivateTimeoutMs(int ms);
    void setSettleMs(int ms);

private:
    struct Impl;
    std::unique_ptr<Impl> d_;
};

} // namespace qv
