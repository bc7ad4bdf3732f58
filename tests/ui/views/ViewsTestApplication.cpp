// One QApplication for every test of this program, with the program's own UI texts loaded.
#include "tests/support/qt/QtTestEnvironment.h"

#include <QApplication>

namespace {

[[maybe_unused]] ::testing::Environment* const g_environment =
    ::testing::AddGlobalTestEnvironment(new QtTestEnvironment<QApplication>(QtTestTexts::Load));

} // namespace
