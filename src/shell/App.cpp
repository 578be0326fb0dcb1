// Wiring of the subsystems.
#include "shell/App.h"

namespace qv {

App::App(const std::filesystem::path& workdir, Ui& ui, Clock& clock)
    : dir(workdir), log(dir, clock), ctx{st, dir, log, ui, clock, *this} {}

App::~App() = default;

} // namespace qv
