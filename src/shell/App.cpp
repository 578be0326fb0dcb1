// Wiring of the subsystems.
#include "shell/App.h"

#include "platform/SerialPort.h"
#include "platform/X11WindowKeys.h"

namespace qv {

App::App(const std::filesystem::path& workdir, Ui& ui, Clock& clock)
    : dir(workdir), log(dir, clock), ctx{st, dir, log, ui, clock, *this} {
    // The program starts with "Auto-assign incoming stations" checked, so a
    // first run without a configuration file fills the slots as stations are heard.
    st.tracking.autoassigncheckbox = true;
}

App::~App() { attachSerial(nullptr); }

void App::attachSerial(SerialPort* port, Timer* reopen) {
    if (ctx.serial) {
        link.detach();
        ctx.serial->onEvent = nullptr;
    }
    ctx.serial = port;
    ctx.timerTnc = port ? reopen : nullptr;
    if (port) {
        port->onEvent = [this] { receive.MSComm1_OnComm(); };
        port->setSettings(st.link.comSettings);
        link.attach();
    }
}

void App::attachPosting(Timer* timer1) {
    windowKeys = std::make_unique<X11WindowKeys>();
    oziApi = std::make_unique<MissingOziApi>();
    processRunner = std::make_unique<QtProcessRunner>();
    ctx.windows = windowKeys.get();
    ctx.ozi = oziApi.get();
    ctx.process = processRunner.get();
    ctx.timer1 = timer1;
    automation.attach();
}

} // namespace qv
