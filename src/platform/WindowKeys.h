// Window and keystroke port: the map programs are driven by finding their main
// window by title, making it active and typing into it. The X11 implementation
// drives real windows (the map programs run as ordinary X11 windows); tests
// use a fake that records what was typed.
#pragma once

#include <string>
#include <vector>

namespace qv {

// One key going down or up. `name` holds a named key ("TAB", "ENTER", "F3",
// and the modifiers "SHIFT", "CTRL", "ALT"); for a typed character it is empty
// and `ch` holds the character's code point.
struct KeyEvent {
    bool down = true;
    std::string name;
    char32_t ch = 0;

    bool operator==(const KeyEvent&) const = default;
};

class WindowKeys {
public:
    virtual ~WindowKeys() = default;

    // Titles of the top-level windows a user could switch to. Minimised windows
    // are left out: keys cannot be typed into them. So are the program's own
    // windows: their titles may carry received text, and no received text may
    // decide where the keys go. activate() never picks one of them either.
    virtual std::vector<std::string> windowTitles() = 0;

    // Makes the window with this title (case-blind; a title beginning with it
    // when none matches whole) the active window and waits until it is.
    // Failure 5 when there is no such window or it does not become active.
    virtual void activate(const std::string& title) = 0;

    // Sends the events to the active window and returns once they were
    // delivered. Failure 5 when they cannot be sent.
    virtual void send(const std::vector<KeyEvent>& events) = 0;
};

} // namespace qv
