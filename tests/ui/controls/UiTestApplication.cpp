// One QApplication for every test of this executable, created before the first test runs.
#include <gtest/gtest.h>

#include <QApplication>

#include <memory>

namespace {

class UiTestApplication final : public ::testing::Environment {
public:
    void SetUp() override
    {
        static int argc = 1;
        static char name[] = "test_ui_main";
        static char* argv[] = {name, nullptr};
        app_ = std::make_unique<QApplication>(argc, argv);
    }
    void TearDown() override { app_.reset(); }

private:
    std::unique_ptr<QApplication> app_;
};

[[maybe_unused]] ::testing::Environment* const g_environment =
    ::testing::AddGlobalTestEnvironment(new UiTestApplication);

} // namespace
