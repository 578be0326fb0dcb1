// Quorvel's entry point.
#include "shell/Headless.h"

#include <QApplication>
#include <QCoreApplication>

#include <iostream>
#include <memory>

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    const qv::CommandLine cl = qv::parseCommandLine(args);
    if (!cl.error.empty()) {
        std::cerr << "quorvel: " << cl.error << "\n"
                  << "usage: quorvel [--headless] [--telnet] [--workdir DIR] [import|t]\n";
        return 2;
    }
    if (cl.headless) {
        QCoreApplication app(argc, argv);
        return qv::runHeadless(cl, std::cout, std::cerr);
    }
    // The window is not built yet: run the same start-up without one.
    QCoreApplication app(argc, argv);
    std::cerr << "quorvel: no window available yet, running headless\n";
    return qv::runHeadless(cl, std::cout, std::cerr);
}
