// Steps that record which procedure ran, in order, and run an optional hook
// for each (a decoder hook fills the position fields, for example).
#pragma once

#include "core/Steps.h"

#include <functional>
#include <map>
#include <string>
#include <vector>

namespace qv::test {

class RecordingSteps : public Steps {
public:
    std::vector<std::string> calls;
    std::map<std::string, std::function<void()>> hooks;
    std::vector<std::string> captions; // message-window captions

    void inspectdataline() override { run("inspectdataline"); }
    void showMessageWindow(const std::string& caption) override {
        captions.push_back(caption);
        run("showMessageWindow");
    }
    void micencoded() override { run("micencoded"); }
    void gpgga() override { run("gpgga"); }
    void APRSmoving() override { run("APRSmoving"); }
    void APRSfixed() override { run("APRSfixed"); }
    void gprmc() override { run("gprmc"); }
    void gpwgt() override { run("gpwgt"); }
    void gpwpl() override { run("gpwpl"); }
    void APRScompressed() override { run("APRScompressed"); }
    void APRSobject() override { run("APRSobject"); }
    void autoassign() override { run("autoassign"); }
    void assigncolor() override { run("assigncolor"); }
    void assigntime() override { run("assigntime"); }
    void makestrings() override { run("makestrings"); }
    void assigncoords() override { run("assigncoords"); }
    void savefiles() override { run("savefiles"); }

    bool called(const std::string& name) const {
        for (const auto& c : calls)
            if (c == name) return true;
        return false;
    }

private:
    void run(const std::string& name) {
        calls.push_back(name);
        if (auto it = hooks.find(name); it != hooks.end() && it->second) it->second();
    }
};

} // namespace qv::test
