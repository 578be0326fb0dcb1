// Arbitrary bytes as received lines through the whole path: the serial receive
// handler, the replay of quorvel.imp, the classifier, every decoder, tracking,
// records and the file writer with every map-file family on, in a temporary
// working directory. Slots 1 and 2 are tracked and auto-assignment fills them
// with the first two stations heard, so every input reaches the file writer.
#include "FuzzPorts.h"
#include "core/Station.h"
#include "intake/ImportReplay.h"
#include "shell/App.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <fstream>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::emptyWorkdir();
    const std::string bytes(reinterpret_cast<const char*>(data), size);

    fuzz::StepClock clock;
    fuzz::DefaultUi ui;
    fuzz::FedSerial serial;
    qv::App app(fuzz::workdir(), ui, clock);
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
        std::ofstream(fuzz::workdir() / qv::kReplayFile, std::ios::binary) << bytes;
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
