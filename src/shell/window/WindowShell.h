// The window put over a running application: the handlers, the stand-in
// values and the main window, with the dialog port attached to it.
#pragma once

#include "shell/window/AppHandlers.h"
#include "shell/window/MainWindow.h"
#include "shell/window/Standin.h"

namespace qv {

class App;
class QtUi;

class WindowShell {
public:
    WindowShell(App& app, QtUi& ui);
    ~WindowShell();
    WindowShell(const WindowShell&) = delete;
    WindowShell& operator=(const WindowShell&) = delete;

    MainWindow& window() { return window_; }
    // Shows the window at its normal size.
    void show();

private:
    QtUi& ui_;
    Standin standin_;
    AppHandlers handlers_;
    MainWindow window_;
};

} // namespace qv
