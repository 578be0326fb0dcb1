// The application: owns the station state, the working directory, the error
// log and every subsystem, and wires the steps one subsystem calls in another.
#pragma once

#include "core/Context.h"
#include "core/ErrorLog.h"
#include "core/Station.h"
#include "core/Steps.h"
#include "core/WorkDir.h"

#include <filesystem>

namespace qv {

class App final : public Steps {
public:
    App(const std::filesystem::path& workdir, Ui& ui, Clock& clock);
    ~App() override;
    App(const App&) = delete;
    App& operator=(const App&) = delete;

    Station st;
    WorkDir dir;
    ErrorLog log;
    Context ctx;
};

} // namespace qv
