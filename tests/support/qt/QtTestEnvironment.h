// One Qt application object for every test of a test program, created before the first test and
// destroyed after the last; optionally with the program's own UI texts loaded, so that dialogs show
// the texts a user sees. A test program registers it once:
//   ::testing::AddGlobalTestEnvironment(new QtTestEnvironment<QApplication>(QtTestTexts::Load));
#pragma once

#include "core/util/CLangTable.h"

#include <gtest/gtest.h>

#include <memory>

enum class QtTestTexts { None, Load };

template <class Application>
class QtTestEnvironment final : public ::testing::Environment {
public:
    explicit QtTestEnvironment(QtTestTexts texts) : texts_(texts) {}

    void SetUp() override
    {
        static int argc = 1;
        static char name[] = "zarn_tests";
        static char* argv[] = {name, nullptr};
        app_ = std::make_unique<Application>(argc, argv);
        if (texts_ == QtTestTexts::Load) {
            CLangTable::GetInstance()->Load(ZARN_SOURCE_DIR "/data/String.txt");
        }
    }
    void TearDown() override
    {
        if (texts_ == QtTestTexts::Load) {
            CLangTable::Free();
        }
        app_.reset();
    }

private:
    QtTestTexts texts_;
    std::unique_ptr<Application> app_;
};
