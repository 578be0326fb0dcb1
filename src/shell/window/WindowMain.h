// The windowed program: the application with the real ports, the main window
// over it, start-up, then the event loop until the program ends.
#pragma once

#include "shell/Headless.h"

namespace qv {

// Needs a QApplication. Returns the exit code.
int runWindowed(const CommandLine& cl);

} // namespace qv
