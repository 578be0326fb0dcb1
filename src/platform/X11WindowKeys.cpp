// Xlib + XTest implementation of the window and keystroke port.
#include "platform/X11WindowKeys.h"

#include "core/Failure.h"
#include "core/Text.h"

#include <X11/XKBlib.h>
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>

#include <atomic>
#include <chrono>
#include <climits>
#include <thread>
#include <unistd.h>

namespace qv {

namespace {

// Xlib reports protocol errors through one process-wide handler whose default
// ends the program; a window that vanishes between lookup and activation must
// only make that activation fail.
std::atomic<int> gLastXError{0};

int recordError(Display*, XErrorEvent* e) {
    gLastXError = e->error_code ? e->error_code : 1;
    return 0;
}

void sleepMs(int ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }

} // namespace

struct X11WindowKeys::Impl {
    Display* dpy = nullptr;
    Window root = 0;
    int activateTimeoutMs = 2000;
    int settleMs = 30;
    Atom netClientList = 0, netActiveWindow = 0, netWmName = 0, utf8 = 0, wmState = 0, netWmState = 0,
         netWmStateHidden = 0, netSupportingCheck = 0, netWmPid = 0;
    std::string host; // this machine's name, as clients put it in WM_CLIENT_MACHINE

    struct Found {
        Window w;
        std::string title;
    };

    Atom atom(const char* name) { return XInternAtom(dpy, name, False); }

    // Window-valued list property (the client list); empty when absent.
    std::vector<Window> windowList(Window w, Atom prop) {
        std::vector<Window> out;
        Atom type = 0;
        int format = 0;
        unsigned long n = 0, after = 0;
        unsigned char* data = nullptr;
        if (XGetWindowProperty(dpy, w, prop, 0, 1 << 16, False, XA_WINDOW, &type, &format, &n, &after, &data) ==
                Success &&
            data) {
            if (type == XA_WINDOW && format == 32) {
                auto* ws = reinterpret_cast<unsigned long*>(data);
                out.assign(ws, ws + n);
            }
            XFree(data);
        }
        return out;
    }

    bool hasProperty(Window w, Atom prop) {
        Atom type = 0;
        int format = 0;
        unsigned long n = 0, after = 0;
        unsigned char* data = nullptr;
        bool has = XGetWindowProperty(dpy, w, prop, 0, 0, False, AnyPropertyType, &type, &format, &n, &after, &data) ==
                       Success &&
                   type != 0;
        if (data) XFree(data);
        return has;
    }

    bool windowManagerRuns() { return hasProperty(root, netSupportingCheck); }

    // A window of this very process (the main window, the message window, a
    // dialog). Their titles can carry received text, so they never count as
    // a map program: keys typed there would land in our own fields.
    bool ownWindow(Window w) {
        Atom type = 0;
        int format = 0;
        unsigned long n = 0, after = 0;
        unsigned char* data = nullptr;
        long pid = -1;
        if (XGetWindowProperty(dpy, w, netWmPid, 0, 1, False, XA_CARDINAL, &type, &format, &n, &after, &data) ==
                Success &&
            data) {
            if (type == XA_CARDINAL && format == 32 && n == 1)
                pid = static_cast<long>(*reinterpret_cast<unsigned long*>(data));
            XFree(data);
        }
        if (pid != static_cast<long>(getpid())) return false;
        // The same number on another machine's client is another process.
        XTextProperty tp{};
        if (XGetWMClientMachine(dpy, w, &tp) && tp.value) {
            const std::string machine(reinterpret_cast<char*>(tp.value), tp.nitems);
            XFree(tp.value);
            if (!host.empty() && !machine.empty() && machine != host) return false;
        }
        return true;
    }

    std::string title(Window w) {
        std::string out;
        Atom type = 0;
        int format = 0;
        unsigned long n = 0, after = 0;
        unsigned char* data = nullptr;
        if (XGetWindowProperty(dpy, w, netWmName, 0, 4096, False, utf8, &type, &format, &n, &after, &data) == Success &&
            data) {
            if (type == utf8 && format == 8) out.assign(reinterpret_cast<char*>(data), n);
            XFree(data);
            if (!out.empty()) return out;
        }
        XTextProperty tp{};
        if (XGetWMName(dpy, w, &tp) && tp.value) {
            char** list = nullptr;
            int count = 0;
            if (Xutf8TextPropertyToTextList(dpy, &tp, &list, &count) >= Success && list && count > 0)
                out = list[0];
            else
                out.assign(reinterpret_cast<char*>(tp.value), tp.nitems);
            if (list) XFreeStringList(list);
            XFree(tp.value);
        }
        return out;
    }

    bool minimisedOrHidden(Window w) {
        XWindowAttributes a{};
        if (!XGetWindowAttributes(dpy, w, &a)) return true;
        if (a.map_state != IsViewable && !windowManagerRuns()) return true;
        // Iconified clients are unmapped or marked hidden, depending on the window manager.
        if (a.map_state == IsUnmapped) return true;
        Atom type = 0;
        int format = 0;
        unsigned long n = 0, after = 0;
        unsigned char* data = nullptr;
        bool hidden = false;
        if (XGetWindowProperty(dpy, w, netWmState, 0, 64, False, XA_ATOM, &type, &format, &n, &after, &data) ==
                Success &&
            data) {
            auto* atoms = reinterpret_cast<unsigned long*>(data);
            for (unsigned long i = 0; i < n; ++i)
                hidden = hidden || atoms[i] == netWmStateHidden;
            XFree(data);
        }
        return hidden;
    }

    // The first window at or below w that a window manager marked as a client.
    Window clientBelow(Window w, int depth) {
        if (hasProperty(w, wmState)) return w;
        if (depth == 0) return 0;
        Window r = 0, parent = 0, *kids = nullptr;
        unsigned n = 0;
        Window found = 0;
        if (XQueryTree(dpy, w, &r, &parent, &kids, &n)) {
            for (unsigned i = n; i-- > 0 && !found;)
                found = clientBelow(kids[i], depth - 1);
            if (kids) XFree(kids);
        }
        return found;
    }

    std::vector<Window> topLevels() {
        std::vector<Window> list = windowList(root, netClientList);
        if (!list.empty()) return list;
        Window r = 0, parent = 0, *kids = nullptr;
        unsigned n = 0;
        if (!XQueryTree(dpy, root, &r, &parent, &kids, &n)) return list;
        for (unsigned i = 0; i < n; ++i) {
            XWindowAttributes a{};
            if (!XGetWindowAttributes(dpy, kids[i], &a) || a.override_redirect) continue;
            Window c = clientBelow(kids[i], 2);
            list.push_back(c ? c : kids[i]);
        }
        if (kids) XFree(kids);
        return list;
    }

    std::vector<Found> visibleWindows() {
        std::vector<Found> out;
        gLastXError = 0;
        for (Window w : topLevels()) {
            if (ownWindow(w) || minimisedOrHidden(w)) continue;
            std::string t = title(w);
            if (!t.empty()) out.push_back({w, t});
        }
        XSync(dpy, False);
        return out;
    }

    bool isActive(Window w) {
        if (windowManagerRuns()) {
            auto active = windowList(root, netActiveWindow);
            if (!active.empty() && active[0] == w) return true;
        }
        Window focus = 0;
        int revert = 0;
        XGetInputFocus(dpy, &focus, &revert);
        // Focus on a child of the window (its client area) counts too.
        while (focus != 0 && focus != PointerRoot && focus != root) {
            if (focus == w) return true;
            Window r = 0, parent = 0, *kids = nullptr;
            unsigned n = 0;
            if (!XQueryTree(dpy, focus, &r, &parent, &kids, &n)) break;
            if (kids) XFree(kids);
            focus = parent;
        }
        return false;
    }

    // A keycode producing `sym`, and whether Shift must be held for it. A
    // keysym missing from the keyboard map is put on a spare keycode.
    KeyCode keycodeFor(KeySym sym, bool& shift) {
        shift = false;
        KeyCode kc = XKeysymToKeycode(dpy, sym);
        if (kc != 0) {
            if (XkbKeycodeToKeysym(dpy, kc, 0, 0) == sym) return kc;
            if (XkbKeycodeToKeysym(dpy, kc, 0, 1) == sym) {
                shift = true;
                return kc;
            }
        }
        for (const auto& [kcUsed, symUsed] : remapped)
            if (symUsed == sym) return kcUsed;
        int minKc = 0, maxKc = 0;
        XDisplayKeycodes(dpy, &minKc, &maxKc);
        int per = 0;
        KeySym* map = XGetKeyboardMapping(dpy, static_cast<KeyCode>(minKc), maxKc - minKc + 1, &per);
        if (!map) return 0;
        KeyCode spare = 0;
        for (int k = maxKc; k >= minKc && !spare; --k) {
            bool empty = true;
            for (int j = 0; j < per; ++j)
                empty = empty && map[(k - minKc) * per + j] == NoSymbol;
            if (empty) spare = static_cast<KeyCode>(k);
        }
        XFree(map);
        if (!spare && !remapped.empty()) {
            restoreRemapped();
            return keycodeFor(sym, shift);
        }
        if (!spare) return 0;
        KeySym syms[2] = {sym, sym};
        XChangeKeyboardMapping(dpy, spare, 2, syms, 1);
        XSync(dpy, False);
        remapped.emplace_back(spare, sym);
        return spare;
    }
    // Spare keycodes given a keysym. They stay mapped while this connection
    // lives: the target looks a key up only when it gets to the event, and
    // undoing the mapping earlier would make it read an empty key.
    std::vector<std::pair<KeyCode, KeySym>> remapped;

    void restoreRemapped() {
        if (remapped.empty()) return;
        for (const auto& [kc, sym] : remapped) {
            KeySym none[1] = {NoSymbol};
            XChangeKeyboardMapping(dpy, kc, 1, none, 1);
        }
        remapped.clear();
        XSync(dpy, False);
    }
};

namespace {

KeySym namedKeysym(const std::string& name) {
    struct Named {
        const char* name;
        KeySym sym;
    };
    static const Named table[] = {
        {"SHIFT", XK_Shift_L},
        {"CTRL", XK_Control_L},
        {"ALT", XK_Alt_L},
        {"BACKSPACE", XK_BackSpace},
        {"BREAK", XK_Break},
        {"CAPSLOCK", XK_Caps_Lock},
        {"DELETE", XK_Delete},
        {"DOWN", XK_Down},
        {"END", XK_End},
        {"ENTER", XK_Return},
        {"ESC", XK_Escape},
        {"HELP", XK_Help},
        {"HOME", XK_Home},
        {"INSERT", XK_Insert},
        {"LEFT", XK_Left},
        {"NUMLOCK", XK_Num_Lock},
        {"PGDN", XK_Next},
        {"PGUP", XK_Prior},
        {"PRTSC", XK_Print},
        {"RIGHT", XK_Right},
        {"SCROLLLOCK", XK_Scroll_Lock},
        {"TAB", XK_Tab},
        {"UP", XK_Up},
        {"ADD", XK_KP_Add},
        {"SUBTRACT", XK_KP_Subtract},
        {"MULTIPLY", XK_KP_Multiply},
        {"DIVIDE", XK_KP_Divide},
    };
    for (const auto& n : table)
        if (name == n.name) return n.sym;
    if (name.size() >= 2 && name[0] == 'F') return XK_F1 + static_cast<KeySym>(std::stoi(name.substr(1)) - 1);
    return NoSymbol;
}

KeySym charKeysym(char32_t ch) {
    if (ch == U'\t') return XK_Tab;
    if (ch == U'\r' || ch == U'\n') return XK_Return;
    if ((ch >= 0x20 && ch <= 0x7E) || (ch >= 0xA0 && ch <= 0xFF)) return ch;
    return 0x01000000 | ch;
}

} // namespace

X11WindowKeys::X11WindowKeys(const std::string& display) : d_(std::make_unique<Impl>()) {
    XSetErrorHandler(recordError);
    d_->dpy = XOpenDisplay(display.empty() ? nullptr : display.c_str());
    if (!d_->dpy) return;
    d_->root = DefaultRootWindow(d_->dpy);
    d_->netClientList = d_->atom("_NET_CLIENT_LIST");
    d_->netActiveWindow = d_->atom("_NET_ACTIVE_WINDOW");
    d_->netWmName = d_->atom("_NET_WM_NAME");
    d_->utf8 = d_->atom("UTF8_STRING");
    d_->wmState = d_->atom("WM_STATE");
    d_->netWmState = d_->atom("_NET_WM_STATE");
    d_->netWmStateHidden = d_->atom("_NET_WM_STATE_HIDDEN");
    d_->netSupportingCheck = d_->atom("_NET_SUPPORTING_WM_CHECK");
    d_->netWmPid = d_->atom("_NET_WM_PID");
    char host[HOST_NAME_MAX + 1] = {};
    if (gethostname(host, sizeof host - 1) == 0) d_->host = host;
}

X11WindowKeys::~X11WindowKeys() {
    if (!d_->dpy) return;
    d_->restoreRemapped();
    XCloseDisplay(d_->dpy);
}

bool X11WindowKeys::connected() const { return d_->dpy != nullptr; }

void X11WindowKeys::setActivateTimeoutMs(int ms) { d_->activateTimeoutMs = ms; }
void X11WindowKeys::setSettleMs(int ms) { d_->settleMs = ms; }

std::vector<std::string> X11WindowKeys::windowTitles() {
    std::vector<std::string> out;
    if (!d_->dpy) return out;
    for (const auto& f : d_->visibleWindows())
        out.push_back(f.title);
    return out;
}

void X11WindowKeys::activate(const std::string& title) {
    if (!d_->dpy) throw Failure(err::InvalidCall);
    auto windows = d_->visibleWindows();
    const Impl::Found* target = nullptr;
    for (const auto& f : windows)
        if (!target && text::iequals(f.title, title)) target = &f;
    for (const auto& f : windows)
        if (!target && text::istartsWith(f.title, title)) target = &f;
    if (!target) throw Failure(err::InvalidCall);

    Window w = target->w;
    gLastXError = 0;
    if (d_->windowManagerRuns()) {
        XEvent ev{};
        ev.xclient.type = ClientMessage;
        ev.xclient.window = w;
        ev.xclient.message_type = d_->netActiveWindow;
        ev.xclient.format = 32;
        ev.xclient.data.l[0] = 2; // a request from a pager-like tool, honoured even when the user works elsewhere
        ev.xclient.data.l[1] = CurrentTime;
        XSendEvent(d_->dpy, d_->root, False, SubstructureRedirectMask | SubstructureNotifyMask, &ev);
    } else {
        XRaiseWindow(d_->dpy, w);
        XSetInputFocus(d_->dpy, w, RevertToParent, CurrentTime);
    }
    XSync(d_->dpy, False);
    if (gLastXError != 0) throw Failure(err::InvalidCall);
    for (int waited = 0;; waited += 10) {
        if (d_->isActive(w)) return;
        if (waited >= d_->activateTimeoutMs) break;
        sleepMs(10);
    }
    throw Failure(err::InvalidCall);
}

void X11WindowKeys::send(const std::vector<KeyEvent>& events) {
    if (!d_->dpy) throw Failure(err::InvalidCall);
    int evBase = 0, errBase = 0, major = 0, minor = 0;
    if (!XTestQueryExtension(d_->dpy, &evBase, &errBase, &major, &minor)) throw Failure(err::InvalidCall);

    // Every key is resolved before the first goes out, so a key the display
    // cannot produce fails the whole send instead of leaving it half typed.
    struct Resolved {
        KeySym sym;
    };
    std::vector<Resolved> resolved;
    resolved.reserve(events.size());
    for (const auto& e : events) {
        KeySym sym = e.name.empty() ? charKeysym(e.ch) : namedKeysym(e.name);
        if (sym == NoSymbol) throw Failure(err::InvalidCall);
        resolved.push_back({sym});
    }

    std::vector<KeyCode> down; // keys pressed and not yet released, to release on failure
    auto press = [&](KeyCode kc, bool isDown) {
        XTestFakeKeyEvent(d_->dpy, kc, isDown ? True : False, CurrentTime);
        if (isDown) {
            down.push_back(kc);
        } else {
            for (auto it = down.begin(); it != down.end(); ++it)
                if (*it == kc) {
                    down.erase(it);
                    break;
                }
        }
    };
    try {
        KeyCode shiftKc = XKeysymToKeycode(d_->dpy, XK_Shift_L);
        int heldShift = 0;
        for (std::size_t i = 0; i < events.size(); ++i) {
            const KeyEvent& e = events[i];
            bool needShift = false;
            KeyCode kc = d_->keycodeFor(resolved[i].sym, needShift);
            if (kc == 0) throw Failure(err::InvalidCall);
            if (e.name == "SHIFT") heldShift += e.down ? 1 : -1;
            bool tap = e.name.empty() && e.down && i + 1 < events.size() && events[i + 1] == KeyEvent{false, {}, e.ch};
            if (tap) {
                // A character on the upper level of its key is typed with Shift,
                // unless the script already holds Shift.
                bool addShift = needShift && heldShift == 0 && shiftKc != 0;
                if (addShift) press(shiftKc, true);
                press(kc, true);
                press(kc, false);
                if (addShift) press(shiftKc, false);
                ++i;
            } else {
                press(kc, e.down);
            }
            XFlush(d_->dpy);
        }
    } catch (...) {
        for (auto it = down.rbegin(); it != down.rend(); ++it)
            XTestFakeKeyEvent(d_->dpy, *it, False, CurrentTime);
        XSync(d_->dpy, False);
        throw;
    }
    XSync(d_->dpy, False);
    if (d_->settleMs > 0) sleepMs(d_->settleMs);
}

} // namespace qv
