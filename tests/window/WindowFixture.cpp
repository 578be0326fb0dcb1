// One application object for the whole test run, gone before the program's
// own exit handlers run (Qt's globals do not survive a later destruction).
#include "WindowFixture.h"

#include <memory>

namespace qv::test {

namespace {

int argc = 1;
char name[] = "test_window";
char* argv[] = {name, nullptr};
std::unique_ptr<QApplication> app;

class QtEnvironment final : public ::testing::Environment {
public:
    void TearDown() override { app.reset(); }
};

[[maybe_unused]] auto* const environment = ::testing::AddGlobalTestEnvironment(new QtEnvironment);

} // namespace

QApplication& qtApp() {
    if (!app) app = std::make_unique<QApplication>(argc, argv);
    return *app;
}

} // namespace qv::test
