// Wiring of the window to the application.
#include "shell/window/WindowShell.h"

#include "shell/App.h"
#include "shell/window/QtUi.h"

namespace qv {

WindowShell::WindowShell(App& app, QtUi& ui)
    : ui_(ui), handlers_(app, standin_), window_(app.st, standin_, handlers_, ui) {
    ui_.attach(&window_);
}

WindowShell::~WindowShell() { ui_.attach(nullptr); }

void WindowShell::show() {
    window_.normalviewmenu_Click();
    window_.show();
    window_.redraw();
}

} // namespace qv
