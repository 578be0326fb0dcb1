// The one failure type of the program: an error number with its description,
// thrown by any step and caught by the guard that writes the error entry.
#pragma once

#include <stdexcept>
#include <string>

namespace qv {

class Failure : public std::runtime_error {
public:
    Failure(int number, std::string description);
    explicit Failure(int number);

    int number() const { return number_; }
    const std::string& description() const { return description_; }

    // The usual description of a failure number ("Type mismatch" for 13 ...).
    static std::string describe(int number);

private:
    int number_;
    std::string description_;
};

// Frequently used numbers, named after what they mean.
namespace err {
inline constexpr int InvalidCall = 5;       // Invalid procedure call or argument
inline constexpr int Overflow = 6;          // Overflow
inline constexpr int SubscriptRange = 9;    // Subscript out of range
inline constexpr int TypeMismatch = 13;     // Type mismatch
inline constexpr int FileNotFound = 53;     // File not found
inline constexpr int BadFileMode = 54;      // Bad file mode
inline constexpr int FileAlreadyOpen = 55;  // File already open
inline constexpr int DiskFull = 61;         // Disk full
inline constexpr int InputPastEnd = 62;     // Input past end of file
inline constexpr int PermissionDenied = 70; // Permission denied
inline constexpr int PathFileAccess = 75;   // Path/File access error
inline constexpr int PathNotFound = 76;     // Path not found
inline constexpr int NoSuchPort = 8002;     // Invalid port number
inline constexpr int PortInUse = 8005;      // Port already open
inline constexpr int WrongState = 40006;    // Wrong protocol or connection state
} // namespace err

} // namespace qv
