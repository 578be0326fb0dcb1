// A program starter that records what would have been started, with a
// scripted environment and set of installed programs.
#pragma once

#include "platform/ProcessRunner.h"

#include <map>
#include <set>
#include <string>
#include <vector>

namespace qv::test {

class FakeProcess final : public ProcessRunner {
public:
    struct Started {
        std::string program;
        std::vector<std::string> args;
    };
    std::vector<Started> started;
    std::map<std::string, std::string> env;
    std::set<std::string> installed;
    std::set<std::string> failing; // programs whose start fails

    bool start(const std::string& program, const std::vector<std::string>& args) override {
        if (failing.count(program)) return false;
        started.push_back({program, args});
        return true;
    }
    std::string environment(const std::string& name) override {
        auto it = env.find(name);
        return it == env.end() ? std::string() : it->second;
    }
    bool available(const std::string& program) override { return installed.count(program) > 0; }
};

} // namespace qv::test
