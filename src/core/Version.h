// The program's version, taken once from the build (the project version in
// CMakeLists.txt) and shown to servers and written to the configuration file.
#pragma once

#include <string>

#ifndef QUORVEL_VERSION_MAJOR
#error "QUORVEL_VERSION_MAJOR comes from the build"
#endif

namespace qv::version {

inline constexpr int major = QUORVEL_VERSION_MAJOR;
inline constexpr int minor = QUORVEL_VERSION_MINOR;
inline constexpr int revision = QUORVEL_VERSION_PATCH;

// "V2.21.0" for version 2.21.0: the form the APRS-IS login line carries.
inline std::string text() {
    return "V" + std::to_string(major) + "." + std::to_string(minor) + "." + std::to_string(revision);
}

// 22100 for version 2.21.0: the QVVERSION value of the configuration file.
inline constexpr int QVVERSION = major * 10000 + minor * 100 + revision;

} // namespace qv::version
