// The error file quorvel.err, the debug log quorvel.log, and the guard that
// runs one step, writes an error entry when it fails and lets the caller go on.
#pragma once

#include "core/Failure.h"

#include <cstddef>
#include <exception>
#include <string>
#include <string_view>

namespace qv {

class Clock;
class WorkDir;

class ErrorLog {
public:
    ErrorLog(const WorkDir& dir, Clock& clock) : dir_(dir), clock_(clock) {}

    // Appends an empty line and "ERROR" + " <number>" + description + marker +
    // date and time. A failure while writing the entry is swallowed.
    void entry(int number, std::string_view description, std::string_view marker);
    void entry(const Failure& f, std::string_view marker) { entry(f.number(), f.description(), marker); }

    // The text of the entry line, without the empty line before it.
    std::string entryLine(int number, std::string_view description, std::string_view marker);

    // Runs `step`; on any failure writes the entry with `marker` and returns
    // false, so the caller skips whatever depended on the step.
    template <class Step> bool guard(std::string_view marker, Step&& step) {
        try {
            step();
            return true;
        } catch (const Failure& f) {
            entry(f, marker);
        } catch (const std::bad_alloc&) {
            entry(7, Failure::describe(7), marker);
        } catch (const std::exception& e) {
            entry(5, Failure::describe(5), marker);
        }
        return false;
    }

    // Keeps the last 1001 lines of quorvel.err (start-up trimming). Lines
    // longer than kMaxErrorLine come out cut there.
    void errorfileresize();
    static constexpr std::size_t kKeptLines = 1001;
    static constexpr std::size_t kMaxErrorLine = 8192;

    // Appends one line to quorvel.log; failures are swallowed.
    void debugLine(std::string_view line);

private:
    const WorkDir& dir_;
    Clock& clock_;
};

inline constexpr const char* kErrorFile = "quorvel.err";
inline constexpr const char* kDebugLogFile = "quorvel.log";

} // namespace qv
