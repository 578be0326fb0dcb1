// One application object for the whole test run.
#include "WindowFixture.h"

namespace qv::test {

QApplication& qtApp() {
    static int argc = 1;
    static char name[] = "test_window";
    static char* argv[] = {name, nullptr};
    static QApplication app(argc, argv);
    return app;
}

} // namespace qv::test
