// Running without a window:
// `quorvel --headless [--telnet] [--tnc SPEC] [--workdir DIR] [--snapshot FILE [--snapshot-size WxH]] [import|t]`.
// Questions are answered with their defaults on standard error; what was done
// and which files were written goes to standard output.
#pragma once

#include <filesystem>
#include <iosfwd>
#include <string>
#include <vector>

namespace qv {

struct CommandLine {
    bool headless = false;
    std::filesystem::path workdir = ".";
    std::string command;                            // "import", "t" or empty
    bool telnet = false;                            // connect to the APRS-IS server once started
    std::string tnc;                                // the TNC of this run in place of the saved one ("" keeps that)
    std::string snapshot;                           // --snapshot FILE: the situation map as a picture at the end
    int snapshotWidth = 1024, snapshotHeight = 768; // --snapshot-size WxH
    std::string error;                              // why the arguments were refused; empty when fine
};

CommandLine parseCommandLine(const std::vector<std::string>& args);

// Needs a QCoreApplication, a QGuiApplication for --snapshot. Returns the exit code.
int runHeadless(const CommandLine& cl, std::ostream& out, std::ostream& err);

} // namespace qv
