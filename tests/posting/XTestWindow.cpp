// Test display and key-recording window.
#include "XTestWindow.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/keysym.h>

#include <csignal>
#include <cstdlib>
#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

namespace qv::test {

namespace {

std::string utf8(char32_t cp) {
    std::string s;
    if (cp < 0x80) {
        s += static_cast<char>(cp);
    } else if (cp < 0x800) {
        s += static_cast<char>(0xC0 | (cp >> 6));
        s += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        s += static_cast<char>(0xE0 | (cp >> 12));
        s += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        s += static_cast<char>(0x80 | (cp & 0x3F));
    }
    return s;
}

Display* X(void* p) { return static_cast<Display*>(p); }

} // namespace

XDisplay::XDisplay() {
    if (const char* env = std::getenv("DISPLAY"); env && *env) {
        name_ = env;
        return;
    }
    int fds[2];
    if (pipe(fds) != 0) return;
    pid_ = fork();
    if (pid_ == 0) {
        close(fds[0]);
        std::string fd = std::to_string(fds[1]);
        // -noreset: the server would otherwise start over whenever its last
        // client leaves, refusing the next test's connection meanwhile.
        execlp("Xvfb", "Xvfb", "-displayfd", fd.c_str(), "-nolisten", "tcp", "-noreset", "-screen", "0", "800x600x24",
               static_cast<char*>(nullptr));
        _exit(127);
    }
    close(fds[1]);
    if (pid_ < 0) {
        close(fds[0]);
        return;
    }
    std::string number;
    pollfd p{fds[0], POLLIN, 0};
    while (poll(&p, 1, 10000) > 0) {
        char c;
        if (read(fds[0], &c, 1) != 1 || c == '\n') break;
        number += c;
    }
    close(fds[0]);
    if (!number.empty()) name_ = ":" + number;
}

XDisplay::~XDisplay() {
    if (pid_ > 0) {
        kill(pid_, SIGTERM);
        waitpid(pid_, nullptr, 0);
    }
}

KeyRecorderWindow::KeyRecorderWindow(const std::string& display, const std::string& title, bool mapped) {
    Display* dpy = XOpenDisplay(display.c_str());
    dpy_ = dpy;
    if (!dpy) return;
    Window root = DefaultRootWindow(dpy);
    win_ = XCreateSimpleWindow(dpy, root, 10, 10, 200, 100, 0, 0, 0xFFFFFF);
    XStoreName(dpy, win_, title.c_str());
    XSelectInput(dpy, win_, KeyPressMask | StructureNotifyMask);
    if (mapped) {
        XMapRaised(dpy, win_);
        for (XEvent ev;;) {
            XNextEvent(dpy, &ev);
            if (ev.type == MapNotify) break;
        }
    }
    XSync(dpy, False);
}

KeyRecorderWindow::~KeyRecorderWindow() {
    if (dpy_) XCloseDisplay(X(dpy_));
}

void KeyRecorderWindow::setOwner(long pid) {
    Display* dpy = X(dpy_);
    const unsigned long value = static_cast<unsigned long>(pid);
    XChangeProperty(dpy, win_, XInternAtom(dpy, "_NET_WM_PID", False), XA_CARDINAL, 32, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(&value), 1);
    char host[256] = {};
    gethostname(host, sizeof host - 1);
    XTextProperty tp{};
    char* list[] = {host};
    if (XStringListToTextProperty(list, 1, &tp)) {
        XSetWMClientMachine(dpy, win_, &tp);
        XFree(tp.value);
    }
    XSync(dpy, False);
}

std::string KeyRecorderWindow::typed() {
    Display* dpy = X(dpy_);
    XSync(dpy, False);
    std::string out;
    while (XPending(dpy)) {
        XEvent ev;
        XNextEvent(dpy, &ev);
        if (ev.type != KeyPress) continue;
        XKeyEvent k = ev.xkey;
        unsigned held = k.state;
        k.state &= ShiftMask | LockMask;
        char buf[16] = {};
        KeySym sym = NoSymbol;
        XLookupString(&k, buf, sizeof buf, &sym, nullptr);
        if (IsModifierKey(sym)) continue;
        std::string key;
        if (sym == XK_Return)
            key = "{ENTER}";
        else if (sym == XK_Tab || sym == XK_ISO_Left_Tab)
            key = "{TAB}";
        else if (sym == XK_Right)
            key = "{RIGHT}";
        else if (sym >= XK_F1 && sym <= XK_F12)
            key = "{F" + std::to_string(sym - XK_F1 + 1) + "}";
        else if (sym >= 0x100 && sym < 0x01000000)
            key = "{?}";
        else
            key = utf8(sym >= 0x01000000 ? static_cast<char32_t>(sym & 0xFFFFFF) : static_cast<char32_t>(sym));
        if ((held & ShiftMask) && key[0] == '{') key = "<S-" + key + ">";
        if (held & ControlMask) key = "<C-" + key + ">";
        if (held & Mod1Mask) key = "<A-" + key + ">";
        out += key;
    }
    return out;
}

} // namespace qv::test
