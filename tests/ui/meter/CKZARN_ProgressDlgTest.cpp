// The progress dialog against scripted replies: the test plays the worker by posting the worker's
// messages to the dialog's handle while the dialog runs modally.
#include "core/CKZARN_Common.h"
#include "core/util/CLangTable.h"
#include "meter/CKZARN_LMCtrl.h"
#include "meter/ZarnMeterMessages.h"
#include "ui/meter/CKZARN_ProgressDlg.h"
#include "platform/qt/QtMessageSink.h"
#include "tests/ui/meter/DialogScript.h"
#include "tests/ui/meter/ProgressDialogWatcher.h"
#include "tests/support/RecordingMessageSink.h"
#include "ui/controls/CStaticIcon.h"

#include <gtest/gtest.h>

#include <QKeyEvent>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>

namespace {

QString Text(int id)
{
    return QString::fromStdString(GetLangString(id));
}

void Post(CKZARN_ProgressDlg* dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    ASSERT_TRUE(QtMessageSink::Instance().PostMessage(dialog->Handle(), message, wParam, lParam));
}

QProgressBar* Bar(CKZARN_ProgressDlg* d)
{
    return static_cast<QProgressBar*>(d->FindControl(CKZARN_ProgressDlg::kProgressId));
}
QPushButton* Ok(CKZARN_ProgressDlg* d)
{
    return static_cast<QPushButton*>(d->FindControl(CKZARN_ProgressDlg::kOkButtonId));
}
CStaticIcon* Picture(CKZARN_ProgressDlg* d, int id)
{
    return static_cast<CStaticIcon*>(d->FindControl(id));
}

// A worker that is never started: the dialog's post just waits in its queue.
struct IdleWorker {
    RecordingMessageSink sink;
    CKZARN_LMCtrl ctrl{sink};
};

struct CodeCase {
    int code;
    bool factoryReset; // the write restores the factory profiles
    int runCaption, runMessage, okCaption, okMessage;
    bool endsItself;
    bool toMeter;
    int meterWidth, meterHeight;
};

constexpr CodeCase kCases[] = {
    {2, false, 7000, 7001, 7005, 7006, false, true, 30, 52},
    {12, false, 7000, 7001, 7005, 7006, false, true, 54, 54},
    {2, true, 7000, 7001, 7053, 7054, false, true, 30, 52},
    {19, true, 7000, 7001, 7053, 7054, false, true, 54, 54},
    {29, true, 7000, 7001, 7053, 7054, false, true, 48, 48},
    {16, false, 7000, 7015, 7005, 7017, false, true, 54, 54},
    {28, false, 7000, 7021, 7005, 7023, false, true, 48, 48},
    {3, false, 7002, 7003, 7007, 7008, false, false, 30, 52},
    {4, false, 7002, 7004, 7007, 7009, true, false, 30, 52},
    {14, false, 7002, 7004, 7007, 7009, true, false, 54, 54},
    {25, false, 7002, 7016, 7007, 7018, true, false, 48, 48},
    {17, false, 7002, 7022, 7007, 7024, true, false, 54, 54},
};

TEST(ProgressDialog, TextsPicturesAndEndingFollowTheCommandCode)
{
    for (const CodeCase& c : kCases) {
        SCOPED_TRACE(c.code);
        IdleWorker worker;
        ProgressDialogWatcher watcher;
        QString runCaption, runMessage;
        int leftWidth = 0, leftHeight = 0, rightWidth = 0, rightHeight = 0;
        bool okHiddenWhileRunning = false;
        DialogScript<CKZARN_ProgressDlg> script([&](CKZARN_ProgressDlg* d) {
            runCaption = d->windowTitle();
            runMessage = static_cast<QLabel*>(d->FindControl(CKZARN_ProgressDlg::kMessageId))->text();
            const CStaticIcon* left = Picture(d, CKZARN_ProgressDlg::kLeftPictureId);
            const CStaticIcon* right = Picture(d, CKZARN_ProgressDlg::kRightPictureId);
            leftWidth = left->iconWidth;
            leftHeight = left->iconHeight;
            rightWidth = right->iconWidth;
            rightHeight = right->iconHeight;
            okHiddenWhileRunning = Ok(d)->isHidden() && !Bar(d)->isHidden();
            Post(d, WM_ZARN_COMMAND_DONE, 0, 0);
        });
        CKZARN_ProgressDlg dialog;
        dialog.SetCommCtrl(&worker.ctrl);
        dialog.SetCommand(c.code, 0);
        dialog.SetFactoryReset(c.factoryReset && c.code == 2);
        EXPECT_EQ(dialog.DoModal(), 1);
        EXPECT_EQ(dialog.HasError(), 0);

        EXPECT_EQ(runCaption, Text(c.runCaption));
        EXPECT_EQ(runMessage, Text(c.runMessage));
        EXPECT_TRUE(okHiddenWhileRunning);
        // The PC (50 x 40) is the source of a write and the destination of a read.
        const int pcSideWidth = c.toMeter ? leftWidth : rightWidth;
        const int pcSideHeight = c.toMeter ? leftHeight : rightHeight;
        const int meterSideWidth = c.toMeter ? rightWidth : leftWidth;
        const int meterSideHeight = c.toMeter ? rightHeight : leftHeight;
        EXPECT_EQ(pcSideWidth, 50);
        EXPECT_EQ(pcSideHeight, 40);
        EXPECT_EQ(meterSideWidth, c.meterWidth);
        EXPECT_EQ(meterSideHeight, c.meterHeight);

        ASSERT_EQ(watcher.Runs().size(), 1u);
        EXPECT_EQ(watcher.Last().caption, Text(c.okCaption));
        EXPECT_EQ(watcher.Last().message, Text(c.okMessage));
        // Reads of identity and settings end by themselves; everything else waits for OK.
        EXPECT_EQ(watcher.Last().pressedOk, !c.endsItself);
    }
}

TEST(ProgressDialog, FailureShowsTheErrorTextFocusesOkAndWaitsForIt)
{
    IdleWorker worker;
    ProgressDialogWatcher watcher;
    DialogScript<CKZARN_ProgressDlg> script(
        [](CKZARN_ProgressDlg* d) { Post(d, WM_ZARN_COMMAND_DONE, 0, 0x20000005); });
    CKZARN_ProgressDlg dialog;
    dialog.SetCommCtrl(&worker.ctrl);
    dialog.SetCommand(14, 0);
    EXPECT_EQ(dialog.DoModal(), 1);
    EXPECT_EQ(dialog.HasError(), 0x20000005);
    const ProgressDialogWatcher::Run& run = watcher.Last();
    EXPECT_TRUE(run.pressedOk); // a failed read does not end by itself
    EXPECT_TRUE(run.okFocused);
    EXPECT_EQ(run.caption, Text(7012));
    EXPECT_EQ(run.message, Text(7014) + "\n" + QString::fromStdString(CKZARN_Common::GetErrorMessage(0x20000005)));
    EXPECT_FALSE(GetLangString(10018).empty()); // the error text itself is there
    EXPECT_TRUE(run.message.endsWith(Text(10018)));
}

TEST(ProgressDialog, BarFollowsTheTotalOfEveryProgressMessageCutTo16Bits)
{
    IdleWorker worker;
    ProgressDialogWatcher watcher;
    std::vector<std::pair<int, int>> seen; // (maximum, value) after each message
    bool okShownAfterReply = false;
    DialogScript<CKZARN_ProgressDlg> script([&](CKZARN_ProgressDlg* d) {
        EXPECT_EQ(Bar(d)->maximum(), 10);
        EXPECT_EQ(Bar(d)->value(), 0);
        const std::pair<WPARAM, LPARAM> steps[] = {{1, 3000}, {1500, 3000}, {2, 0x10000 + 4000}, {3000, 3000}};
        for (const auto& [done, total] : steps) {
            QtMessageSink::Instance().SendMessage(d->Handle(), WM_ZARN_PROGRESS, done, total);
            seen.emplace_back(Bar(d)->maximum(), Bar(d)->value());
        }
        QtMessageSink::Instance().SendMessage(d->Handle(), WM_ZARN_COMMAND_DONE, 0, 0);
        okShownAfterReply = Bar(d)->isHidden() && !Ok(d)->isHidden();
        Ok(d)->click();
    });
    CKZARN_ProgressDlg dialog;
    dialog.SetCommCtrl(&worker.ctrl);
    dialog.SetCommand(13, 0);
    EXPECT_EQ(dialog.DoModal(), 1);
    const std::vector<std::pair<int, int>> expected = {{3000, 1}, {3000, 1500}, {4000, 2}, {3000, 3000}};
    EXPECT_EQ(seen, expected);
    EXPECT_TRUE(okShownAfterReply);
}

TEST(ProgressDialog, EscEnterAndCloseDoNothingWhileTheCommandRuns)
{
    IdleWorker worker;
    ProgressDialogWatcher watcher;
    bool stillOpen = false;
    DialogScript<CKZARN_ProgressDlg> script([&](CKZARN_ProgressDlg* d) {
        for (const int key : {Qt::Key_Escape, Qt::Key_Return, Qt::Key_Enter}) {
            QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
            QApplication::sendEvent(d, &press);
        }
        d->close();
        d->reject();
        d->accept();
        stillOpen = d->isVisible() && d->result() == 0;
        Post(d, WM_ZARN_COMMAND_DONE, 0, 0);
    });
    CKZARN_ProgressDlg dialog;
    dialog.SetCommCtrl(&worker.ctrl);
    dialog.SetCommand(12, 1023);
    EXPECT_EQ(dialog.DoModal(), 1);
    EXPECT_TRUE(stillOpen);
    EXPECT_TRUE(watcher.Last().pressedOk);
}

TEST(ProgressDialog, WithoutAWorkerTheDialogEndsWithAFailureInsteadOfWaitingForever)
{
    ProgressDialogWatcher watcher;
    CKZARN_ProgressDlg dialog;
    dialog.SetCommand(14, 0);
    EXPECT_EQ(dialog.DoModal(), 1);
    EXPECT_EQ(dialog.HasError(), CKZARN_ProgressDlg::kNoWorkerError);
}

} // namespace
