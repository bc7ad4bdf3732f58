// The calculation's progress dialog: the bar follows the progress messages, the dialog cannot be
// closed while the run goes on, and it ends with the run's result code.
#include "meter/ZarnMeterMessages.h"
#include "ui/wizard/CKZARN_ProgressThreadDlg.h"

#include <QProgressBar>
#include <QTimer>

#include <gtest/gtest.h>

namespace {

TEST(ProgressThreadDialog, FollowsProgressAndCannotBeClosedWhileRunning)
{
    CKZARN_ProgressThreadDlg dialog;
    int barMax = -1, barValue = -1;
    bool visibleAfterEsc = false;
    QTimer::singleShot(0, [&] {
        dialog.WindowProc(WM_ZARN_PROGRESS, 3, 11);
        barMax = dialog.ProgressBar()->maximum();
        barValue = dialog.ProgressBar()->value();
        dialog.reject();
        dialog.accept();
        visibleAfterEsc = dialog.isVisible();
    });
    // Without a thread the dialog reports a failed run at once, after the checks above.
    EXPECT_EQ(1, dialog.DoModal());
    EXPECT_EQ(11, barMax);
    EXPECT_EQ(3, barValue);
    EXPECT_TRUE(visibleAfterEsc) << "Esc, Enter and the close box do nothing during a run";
    EXPECT_EQ(1, dialog.Result());
}

} // namespace
