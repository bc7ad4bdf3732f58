// One QApplication for every test of this program.
#include "tests/support/qt/QtTestEnvironment.h"

#include <QApplication>

namespace {

[[maybe_unused]] ::testing::Environment* const g_environment =
    ::testing::AddGlobalTestEnvironment(new QtTestEnvironment<QApplication>(QtTestTexts::None));

} // namespace
