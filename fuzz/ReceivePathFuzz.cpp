// Arbitrary bytes as received lines through the whole path: the serial receive
// handler, the replay of quorvel.imp, the classifier, every decoder, tracking,
// records and the file writer with every map-file family on, in a temporary
// working directory. Slots 1 and 2 are tracked and auto-assignment fills them
// with the first two stations heard, so every input reaches the file writer.
#include "core/Station.h"
#include "intake/ImportReplay.h"
#include "platform/Clock.h"
#include "platform/SerialPort.h"
#include "platform/Ui.h"
#include "shell/App.h"

#include <cstddef>
#include <cstdint>
#include <deque>
#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

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

const fs::path& workdir() {
    static const fs::path dir = [] {
        fs::path d = fs::temp_directory_path() / ("quorvel-fuzz-" + std::to_string(::getpid()));
        fs::create_directories(d);
        return d;
    }();
    return dir;
}

void emptyWorkdir() {
    std::error_code ec;
    for (const auto& e : fs::directory_iterator(workdir(), ec))
        fs::remove_all(e.path(), ec);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    emptyWorkdir();
    const std::string bytes(reinterpret_cast<const char*>(data), size);

    StepClock clock;
    DefaultUi ui;
    FedSerial serial;
    qv::App app(workdir(), ui, clock);
    app.ctx.serial = &serial;
    app.st.marks.windowVisible = false;
    app.st.tracking.autoassigncheckbox = true;
    app.st.slots[1].track = true;
    app.st.slots[2].track = true;
    auto& m = app.st.map;
    m.menucreatemaptechfiles = m.menucreatestreetatlasfiles = m.menucreatenatgeotopofiles = true;
    m.menucreateozifiles = m.menucreatenatgeotopoNowCallfile = m.ODFcheckbox = true;

    // The replay cuts the file into lines itself.
    {
        std::ofstream(workdir() / qv::kReplayFile, std::ios::binary) << bytes;
        qv::ImportReplay replay(app.ctx, app.receive);
        replay.run();
    }

    // The same bytes arriving at the serial port in uneven chunks.
    std::size_t at = 0, chunk = 1;
    while (at < bytes.size()) {
        const std::size_t n = std::min(chunk, bytes.size() - at);
        serial.in.insert(serial.in.end(), bytes.begin() + static_cast<std::ptrdiff_t>(at),
                         bytes.begin() + static_cast<std::ptrdiff_t>(at + n));
        at += n;
        app.receive.MSComm1_OnComm();
        chunk = chunk % 97 + 13;
    }
    return 0;
}
