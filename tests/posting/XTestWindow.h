// An X display for tests (the one in $DISPLAY, or a private Xvfb started for
// the test) and a plain X11 window that records the keys typed into it. Xlib's
// macros stay in the .cpp: they clash with GoogleTest's names.
#pragma once

#include <string>
#include <sys/types.h>

namespace qv::test {

class XDisplay {
public:
    XDisplay();
    ~XDisplay();
    XDisplay(const XDisplay&) = delete;
    XDisplay& operator=(const XDisplay&) = delete;

    const std::string& name() const { return name_; } // "" when no display could be had

private:
    std::string name_;
    pid_t pid_ = -1;
};

// A top-level window with a title that collects what is typed into it as text:
// a typed character as itself, a named key as "{NAME}", a key typed with Alt,
// Ctrl or (for named keys) Shift held as "<A-x>", "<C-x>", "<S-x>".
class KeyRecorderWindow {
public:
    KeyRecorderWindow(const std::string& display, const std::string& title, bool mapped = true);
    ~KeyRecorderWindow();
    KeyRecorderWindow(const KeyRecorderWindow&) = delete;
    KeyRecorderWindow& operator=(const KeyRecorderWindow&) = delete;

    bool ok() const { return dpy_ != nullptr; }
    // Marks the window as belonging to process `pid` (_NET_WM_PID, with this
    // machine as its client machine), as toolkits mark their windows.
    void setOwner(long pid);
    // Everything typed since the last call.
    std::string typed();

private:
    void* dpy_ = nullptr;
    unsigned long win_ = 0;
};

} // namespace qv::test
