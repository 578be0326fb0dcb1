// The dialog port for the windowed program: Qt message and input boxes, the
// system beep, and the refresh that redraws the main window.
#pragma once

#include "platform/Ui.h"

namespace qv {

class MainWindow;

class QtUi final : public Ui {
public:
    // The window is attached once it exists; before that dialogs have no parent
    // and refresh only lets events run.
    void attach(MainWindow* w) { window_ = w; }

    Answer message(const std::string& text, const std::string& title, Buttons buttons, Icon icon,
                   int defaultButton) override;
    std::string input(const std::string& prompt, const std::string& title, const std::string& proposed) override;
    std::string choose(const std::string& prompt, const std::string& title, const std::string& proposed,
                       const std::vector<std::string>& offers) override;
    void beep() override;
    void refresh() override;

private:
    MainWindow* window_ = nullptr;
};

} // namespace qv
