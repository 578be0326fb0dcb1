// Copies to or from a shared mapping of a file that another program may cut
// short at any moment: a load or store past the file's new end raises SIGBUS,
// which here ends the copy and reports it instead of ending the program.
#pragma once

#include <cstddef>

namespace qv {

// False when the copy met the end of the file (some of it may have landed).
bool copyGuarded(char* to, const char* from, std::size_t size);

} // namespace qv
