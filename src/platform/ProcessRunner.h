// Starting other programs: always with an argument list, never through a
// shell, so file names with blanks or shell characters arrive unharmed.
#pragma once

#include <string>
#include <vector>

namespace qv {

class ProcessRunner {
public:
    virtual ~ProcessRunner() = default;

    // Starts `program` detached with `args`; false when it could not be started.
    virtual bool start(const std::string& program, const std::vector<std::string>& args) = 0;
    // The value of an environment variable, "" when unset.
    virtual std::string environment(const std::string& name) = 0;
    // Whether `program` names an executable file or one found on the search path.
    virtual bool available(const std::string& program) = 0;
};

// The real thing, with QProcess.
class QtProcessRunner final : public ProcessRunner {
public:
    bool start(const std::string& program, const std::vector<std::string>& args) override;
    std::string environment(const std::string& name) override;
    bool available(const std::string& program) override;
};

// Opens `file` in the user's text editor: $VISUAL, else $EDITOR inside a
// terminal, else the desktop's default application for the file. An editor
// variable may hold options ("gvim -f"); they are split at blanks. False when
// no editor could be started.
bool openInTextEditor(ProcessRunner& runner, const std::string& file);

} // namespace qv
