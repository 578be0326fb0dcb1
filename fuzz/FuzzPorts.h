// Ports for the fuzz targets: a clock that moves on a minute per reading, a
// user interface that answers every question with its default, a serial port
// fed by hand, and a scratch working directory emptied for every input.
#pragma once

#include "core/Failure.h"
#include "platform/Clock.h"
#include "platform/SerialPort.h"
#include "platform/Ui.h"

#include <cstdlib>
#include <deque>
#include <filesystem>
#include <string>
#include <unistd.h>

namespace fuzz {

// Time moves on a minute per line, so stamps, the overdue monitor and the
// movement test see reports at different times.
class StepClock final : public qv::Clock {
public:
    qv::DateTime now() override {
        qv::DateTime t{2026, 12, 7, 9, 0, 0};
        t.minute = static_cast<int>(ticks_ % 60);
        t.hour = static_cast<int>((9 + ticks_ / 60) % 24);
        ++ticks_;
        return t;
    }

private:
    unsigned ticks_ = 0;
};

class DefaultUi final : public qv::Ui {
public:
    qv::Answer message(const std::string&, const std::string&, qv::Buttons b, qv::Icon, int d) override {
        return qv::defaultAnswer(b, d);
    }
    std::string input(const std::string&, const std::string&, const std::string& proposed) override { return proposed; }
    void beep() override {}
    void refresh() override {}
};

// A serial port whose received bytes are handed in by the fuzzer.
class FedSerial final : public qv::SerialPort {
public:
    std::deque<char> in;
    void setPort(const std::string&) override {}
    std::string port() const override { return "1"; }
    void setSettings(const std::string&) override {}
    std::string settings() const override { return "9600,N,8,1"; }
    void open() override {}
    void close() override {}
    bool isOpen() const override { return true; }
    int inBufferCount() const override { return static_cast<int>(in.size()); }
    char readChar() override {
        if (in.empty()) throw qv::Failure(qv::err::InputPastEnd);
        const char c = in.front();
        in.pop_front();
        return c;
    }
    void write(const std::string&) override {}
    Event lastEvent() const override { return Event::Receive; }
};

inline const std::filesystem::path& workdir() {
    namespace fs = std::filesystem;
    static const fs::path dir = [] {
        fs::path d = fs::temp_directory_path() / ("quorvel-fuzz-" + std::to_string(::getpid()));
        fs::create_directories(d);
        std::atexit([] {
            std::error_code ec;
            std::filesystem::remove_all(workdir(), ec);
        });
        return d;
    }();
    return dir;
}

inline void emptyWorkdir() {
    std::error_code ec;
    for (const auto& e : std::filesystem::directory_iterator(workdir(), ec))
        std::filesystem::remove_all(e.path(), ec);
}

} // namespace fuzz
