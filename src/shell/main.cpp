// Quorvel's entry point.
#include "shell/Headless.h"
#include "shell/window/WindowMain.h"

#include <QApplication>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QIcon>

#include <iostream>
#include <memory>

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    const qv::CommandLine cl = qv::parseCommandLine(args);
    if (!cl.error.empty()) {
        std::cerr << "quorvel: " << cl.error << "\n"
                  << "usage: quorvel [--headless [--snapshot FILE.png [--snapshot-size WxH]]] [--telnet] [--tnc SPEC] "
                     "[--workdir DIR] [import|t]\n";
        return 2;
    }
    if (cl.headless && !cl.snapshot.empty()) {
        // The map is drawn with fonts, which need a GUI application; a
        // headless one never opens a display for it.
        qputenv("QT_QPA_PLATFORM", "offscreen");
        QGuiApplication app(argc, argv);
        return qv::runHeadless(cl, std::cout, std::cerr);
    }
    if (cl.headless) {
        QCoreApplication app(argc, argv);
        return qv::runHeadless(cl, std::cout, std::cerr);
    }
    QApplication app(argc, argv);
    // Lets the desktop match the window to its menu entry and installed icon.
    QGuiApplication::setDesktopFileName("io.github.quorvel.Quorvel");
    QApplication::setWindowIcon(QIcon::fromTheme("quorvel"));
    return qv::runWindowed(cl);
}
