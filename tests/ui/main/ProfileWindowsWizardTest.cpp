// The profile commands open the wizard: NEW with the chosen mode, the wizard command with the
// profile to add a condition to. The wizard runs modally and starts at its first step.
#include "platform/SystemFolders.h"
#include "tests/support/ScratchFolder.h"
#include "ui/main/CKZARN_ProfileWindows.h"
#include "ui/wizard/CKZARN_WizardDlg.h"

#include <QApplication>
#include <QTimer>

#include <gtest/gtest.h>

namespace {

TEST(ProfileWindowsWizard, OpensTheWizardModallyInTheChosenMode)
{
    ScratchFolder data;
    SystemFolders::SetLocalAppDataOverride(data.Path());
    CKZARN_ProfileWindows::Reset();
    for (int mode : {0, 1}) {
        int seenMode = -1, seenStep = -1;
        QTimer::singleShot(0, [&] {
            if (auto* wizard = qobject_cast<CKZARN_WizardDlg*>(QApplication::activeModalWidget())) {
                seenMode = wizard->GetMode();
                seenStep = wizard->GetStep();
                wizard->OnCancel();
            }
        });
        CKZARN_ProfileWindows::Current().openWizard(nullptr, mode, std::string());
        EXPECT_EQ(mode, seenMode);
        EXPECT_EQ(0, seenStep);
    }
    SystemFolders::SetLocalAppDataOverride(std::string());
}

} // namespace
