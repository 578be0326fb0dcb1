// A main window over a bare station state, with handlers that record every
// call, for tests on Qt's offscreen platform.
#pragma once

#include "core/Station.h"
#include "shell/window/Handlers.h"
#include "shell/window/MainWindow.h"
#include "support/Fakes.h"

#include <QAction>
#include <QApplication>
#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <vector>

namespace qv::test {

QApplication& qtApp();

class RecordingHandlers final : public Handlers {
public:
    std::vector<std::string> calls;
    std::function<void(const std::string&)> during; // runs inside each recorded call

protected:
    void pending(const char* name, int n, const char* which) override {
        std::string call = name;
        if (n) call += "(" + std::to_string(n) + ")";
        if (which) call += std::string("(") + which + ")";
        calls.push_back(call);
        if (during) during(call);
    }
};

class WindowTest : public ::testing::Test {
protected:
    WindowTest() {
        qtApp();
        window = std::make_unique<MainWindow>(st, handlers, ui);
    }
    template <class T> T* control(const char* name) {
        T* w = window->findChild<T*>(QString::fromLatin1(name));
        EXPECT_NE(w, nullptr) << name;
        return w;
    }
    QAction* menu(const char* name) { return control<QAction>(name); }

    Station st;
    RecordingHandlers handlers;
    FakeUi ui;
    std::unique_ptr<MainWindow> window;
};

} // namespace qv::test
