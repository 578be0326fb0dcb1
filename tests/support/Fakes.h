// Fakes for the ports: a clock that stands still, a user interface that
// records every question and answers from a script, a temporary working directory.
#pragma once

#include "platform/Clock.h"
#include "platform/Ui.h"

#include <deque>
#include <filesystem>
#include <string>
#include <vector>

namespace qv::test {

class FakeClock final : public Clock {
public:
    DateTime t{2026, 12, 7, 9, 5, 42};
    DateTime now() override { return t; }
};

class FakeUi final : public Ui {
public:
    struct Shown {
        std::string title, text;
        Buttons buttons;
        Icon icon;
    };
    std::vector<Shown> messages;
    std::vector<std::string> prompts;
    std::deque<Answer> answers;     // next message answers; default button when empty
    std::deque<std::string> inputs; // next input answers; proposed text when empty
    int beeps = 0;
    int refreshes = 0;

    Answer message(const std::string& text, const std::string& title, Buttons buttons, Icon icon,
                   int defaultButton) override;
    std::string input(const std::string& prompt, const std::string& title, const std::string& proposed) override;
    // Records the list offered, then answers as an input box.
    std::vector<std::vector<std::string>> offered;
    std::string choose(const std::string& prompt, const std::string& title, const std::string& proposed,
                       const std::vector<std::string>& offers) override {
        offered.push_back(offers);
        return input(prompt, title, proposed);
    }
    void beep() override { ++beeps; }
    void refresh() override { ++refreshes; }
};

// A fresh directory under the system's temporary directory, removed afterwards.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    const std::filesystem::path& path() const { return path_; }
    // Whole content of a file in it, "" when missing.
    std::string read(const std::string& name) const;
    void write(const std::string& name, const std::string& content) const;

private:
    std::filesystem::path path_;
};

} // namespace qv::test
