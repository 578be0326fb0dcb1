// Arbitrary bytes as quorvel.cfg through start-up. Whatever start-up made of
// the file must survive being written back and read again unchanged: a file
// the program saves is never worse than the state it loaded.
#include "FuzzPorts.h"
#include "core/Station.h"
#include "shell/App.h"
#include "shell/Settings.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

namespace {

// Runs start-up on `cfg` as the configuration file and returns the file the
// program would save afterwards.
std::string loadAndSave(const std::string& cfg) {
    fuzz::emptyWorkdir();
    std::ofstream(fuzz::workdir() / qv::kConfigFile, std::ios::binary) << cfg;
    fuzz::StepClock clock;
    fuzz::DefaultUi ui;
    fuzz::FedSerial serial;
    qv::App app(fuzz::workdir(), ui, clock);
    app.st.marks.windowVisible = false;
    app.attachSerial(&serial);
    app.startup.Form_Load();
    std::string saved = qv::configText(app.st);
    app.attachSerial(nullptr);
    return saved;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string first = loadAndSave(std::string(reinterpret_cast<const char*>(data), size));
    const std::string second = loadAndSave(first);
    if (second != first) {
        std::fprintf(stderr, "saved settings changed on reading them back:\n--- first\n%s\n--- second\n%s\n",
                     first.c_str(), second.c_str());
        std::abort();
    }
    return 0;
}
