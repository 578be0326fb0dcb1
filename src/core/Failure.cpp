// Failure numbers and their descriptions.
#include "core/Failure.h"

namespace qv {

Failure::Failure(int number, std::string description)
    : std::runtime_error(description), number_(number), description_(std::move(description)) {}

Failure::Failure(int number) : Failure(number, describe(number)) {}

std::string Failure::describe(int number) {
    switch (number) {
    case 5: return "Invalid procedure call or argument";
    case 6: return "Overflow";
    case 7: return "Out of memory";
    case 9: return "Subscript out of range";
    case 11: return "Division by zero";
    case 13: return "Type mismatch";
    case 52: return "Bad file name or number";
    case 53: return "File not found";
    case 54: return "Bad file mode";
    case 55: return "File already open";
    case 57: return "Device I/O error";
    case 58: return "File already exists";
    case 61: return "Disk full";
    case 62: return "Input past end of file";
    case 67: return "Too many files";
    case 70: return "Permission denied";
    case 75: return "Path/File access error";
    case 76: return "Path not found";
    case 8002: return "Invalid port number";
    case 8005: return "Port already open";
    case 8012: return "The device is not open";
    case 8018: return "Operation valid only when the port is open";
    case 10061: return "Connection is forcefully rejected";
    case 10060: return "Connection timed out";
    case 40006: return "Wrong protocol or connection state for the requested transaction or request";
    default: return "Application-defined or object-defined error";
    }
}

} // namespace qv
