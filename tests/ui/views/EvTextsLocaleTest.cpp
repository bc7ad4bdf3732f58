// EV texts show the application's decimal character, never the one the C library's locale happens
// to hold: a process whose locale was changed after start-up shows the same texts.
#include "ui/controls/CCustomEdit.h"
#include "ui/views/CET_ChartData.h"
#include "ui/views/CET_GraphDraw.h"
#include "ui/views/CKZARN_EditValueRules.h"

#include <gtest/gtest.h>

#include <clocale>

namespace {

TEST(EvTexts, FollowTheApplicationsDecimalCharacterNotTheCLibrarysLocale)
{
    if (std::setlocale(LC_ALL, "de_DE.UTF-8") == nullptr)
        GTEST_SKIP() << "locale de_DE.UTF-8 is missing (scripts/setup.sh generates it)";
    CET_ChartData row;
    row.hasValues = 1;
    row.values[0] = 1.54;
    row.values[1] = -0.04;
    for (const char decimal : {'.', ','}) {
        CCustomEdit::SetApplicationDecimalChar(decimal);
        const std::string point(1, decimal);
        EXPECT_EQ(CET_GraphDraw::FormatEv(-2.46), "-2" + point + "5EV");
        EXPECT_EQ(row.GetText(0), "+1" + point + "5");
        EXPECT_EQ(row.GetText(1), "0" + point + "0");
        EXPECT_EQ(CKZARN_EditValueRules::FormatEv(1.54, decimal), "+1" + point + "5");
    }
    CCustomEdit::SetApplicationDecimalChar(0);
    std::setlocale(LC_ALL, "C");
}

} // namespace
