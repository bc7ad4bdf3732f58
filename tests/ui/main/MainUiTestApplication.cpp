// One QApplication for every test of this executable, with the program's own UI texts loaded.
#include "core/util/CLangTable.h"

#include <gtest/gtest.h>

#include <QApplication>

#include <memory>

namespace {

class MainUiTestApplication final : public ::testing::Environment {
public:
    void SetUp() override
    {
        static int argc = 1;
        static char name[] = "test_ui_main";
        static char* argv[] = {name, nullptr};
        app_ = std::make_unique<QApplication>(argc, argv);
        CLangTable::GetInstance()->Load(ZARN_SOURCE_DIR "/data/String.txt");
    }
    void TearDown() override
    {
        CLangTable::Free();
        app_.reset();
    }

private:
    std::unique_ptr<QApplication> app_;
};

[[maybe_unused]] ::testing::Environment* const g_environment =
    ::testing::AddGlobalTestEnvironment(new MainUiTestApplication);

} // namespace
