// Starting other programs: always with an argument list, never through a
// shell, so file names with blanks or shell characters arrive unharmed.
#pragma once

#include <string>
#include <vector>

namespace qv {

// How a started program's window first appears, where the desktop honours it.
enum class WindowStyle { Normal, MinimizedNoFocus, MaximizedFocus };

class ProcessRunner {
public:
    virtual ~ProcessRunner() = default;

    // Starts `program` detached with `args`; false when it could not be started.
    virtual bool start(const std::string& program, const std::vector<std::string>& args) = 0;
    // The same, running in `workingDirectory` (programs that leave their
    // answer in a file beside them). A runner that cannot choose the
    // directory or window style starts the program as start() does.
    virtual bool startIn(const std::string& program, const std::vector<std::string>& args,
                         const std::string& workingDirectory, WindowStyle style) {
        (void)workingDirectory;
        (void)style;
        return start(program, args);
    }
    // The value of an environment variable, "" when unset.
    virtual std::string environment(const std::string& name) = 0;
    // Whether `program` names an executable file or one found on the search path.
    virtual bool available(const std::string& program) = 0;
};

// The real thing, with QProcess.
class QtProcessRunner final : public ProcessRunner {
public:
    bool start(const std::string& program, const std::vector<std::string>& args) override;
    // The window style is the window manager's business on this platform.
    bool startIn(const std::string& program, const std::vector<std::string>& args, const std::string& workingDirectory,
                 WindowStyle style) override;
    std::string environment(const std::string& name) override;
    bool available(const std::string& program) override;
};

// Opens `file` in the user's text editor: $VISUAL, else $EDITOR inside a
// terminal, else the desktop's default application for the file. An editor
// variable may hold options ("gvim -f"); they are split at blanks. False when
// no editor could be started.
bool openInTextEditor(ProcessRunner& runner, const std::string& file);

} // namespace qv
