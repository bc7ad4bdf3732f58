// One QApplication, with the program's UI texts, for every test of this program.
#include "tests/support/qt/QtTestEnvironment.h"

#include <QApplication>

namespace {

[[maybe_unused]] ::testing::Environment* const g_environment =
    ::testing::AddGlobalTestEnvironment(new QtTestEnvironment<QApplication>(QtTestTexts::Load));

} // namespace
