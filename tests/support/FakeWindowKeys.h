// A desktop of named windows for the posting tests: activation and typing are
// recorded in order, so a test can compare the whole conversation.
#pragma once

#include "core/Failure.h"
#include "core/Text.h"
#include "platform/WindowKeys.h"

#include <string>
#include <vector>

namespace qv::test {

class FakeWindowKeys final : public WindowKeys {
public:
    struct Win {
        std::string title;
        bool minimised = false;
        bool refusesActivation = false;
    };
    std::vector<Win> windows;
    std::string active;
    // "activate <title>" and "keys <events>" lines, in order.
    std::vector<std::string> log;
    bool sendFails = false;

    std::vector<std::string> windowTitles() override {
        std::vector<std::string> out;
        for (const auto& w : windows)
            if (!w.minimised) out.push_back(w.title);
        return out;
    }
    void activate(const std::string& title) override {
        log.push_back("activate " + title);
        for (const auto& w : windows)
            if (!w.minimised && text::iequals(w.title, title)) {
                if (w.refusesActivation) break;
                active = w.title;
                return;
            }
        throw Failure(err::InvalidCall);
    }
    void send(const std::vector<KeyEvent>& events) override;

    // The key lines only, each the readable form of one send.
    std::vector<std::string> keys() const {
        std::vector<std::string> out;
        for (const auto& l : log)
            if (l.rfind("keys ", 0) == 0) out.push_back(l.substr(5));
        return out;
    }
};

} // namespace qv::test
