// A user interface for benchmarks: every question gets its default answer, and
// nothing is shown or printed, so only the program's own work is measured.
#pragma once

#include "platform/Ui.h"

#include <string>

namespace qv::bench {

class QuietUi final : public Ui {
public:
    Answer message(const std::string&, const std::string&, Buttons b, Icon, int d) override {
        return defaultAnswer(b, d);
    }
    std::string input(const std::string&, const std::string&, const std::string& p) override { return p; }
    void beep() override {}
    void refresh() override {}
};

} // namespace qv::bench
