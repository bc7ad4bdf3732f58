// Numbers the wizard writes into its fields show the application's decimal character, never the one
// the C library's locale happens to hold, so that they read back as typed.
#include "ui/controls/CCustomEdit.h"
#include "ui/wizard/CKZARN_WizArea4ExifForm.h"
#include "ui/wizard/CKZARN_WizArea6Form.h"
#include "ui/wizard/WizardAppLink.h"

#include <gtest/gtest.h>

#include <clocale>

namespace {

TEST(WizardNumberTexts, FollowTheApplicationsDecimalCharacterNotTheCLibrarysLocale)
{
    if (std::setlocale(LC_ALL, "de_DE.UTF-8") == nullptr)
        GTEST_SKIP() << "locale de_DE.UTF-8 is missing (scripts/setup.sh generates it)";
    for (const char decimal : {'.', ','}) {
        CCustomEdit::SetApplicationDecimalChar(decimal);
        WizardAppLink::SetDecimalChar(decimal);
        const std::string point(1, decimal);
        EXPECT_EQ(CKZARN_WizArea6Form::FrameRateText(25.5, 24), "25" + point + "500");
        EXPECT_EQ(CKZARN_WizArea6Form::ShutterAngleText(172.8, 0), "172" + point + "800");
        EXPECT_EQ(CKZARN_WizArea4ExifForm::BrightnessText(-1.25), "-1" + point + "3");
    }
    WizardAppLink::SetDecimalChar(0);
    CCustomEdit::SetApplicationDecimalChar(0);
    std::setlocale(LC_ALL, "C");
}

} // namespace
