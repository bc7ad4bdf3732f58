// The update-check dialog: it ends with 2 on the check's done message and with 0 when the user
// cancels, after which a late done message reaches nothing.
#include "core/util/CLangTable.h"
#include "meter/CKZARN_LMCtrl.h"
#include "meter/ZarnMeterMessages.h"
#include "ui/meter/CDURING_COMMUNICATION_DIALOG.h"
#include "platform/qt/QtMessageSink.h"
#include "tests/ui/meter/DialogScript.h"
#include "tests/support/LoopbackHttpServer.h"
#include "tests/support/RecordingMessageSink.h"

#include <gtest/gtest.h>

#include <QKeyEvent>
#include <QLabel>
#include <QProgressBar>

#include <chrono>
#include <QPushButton>

namespace {

QString Text(int id)
{
    return QString::fromStdString(GetLangString(id));
}

struct IdleWorker {
    RecordingMessageSink sink;
    CKZARN_LMCtrl ctrl{sink};
};

QProgressBar* Bar(CDURING_COMMUNICATION_DIALOG* d)
{
    return static_cast<QProgressBar*>(d->FindControl(CDURING_COMMUNICATION_DIALOG::kProgressId));
}

TEST(UpdateCheckDialog, EndsWithTwoWhenTheCheckEnds)
{
    IdleWorker worker;
    QString caption, message, button;
    int maximum = 0, valueWhileRunning = -1;
    DialogScript<CDURING_COMMUNICATION_DIALOG> script([&](CDURING_COMMUNICATION_DIALOG* d) {
        caption = d->windowTitle();
        message = static_cast<QLabel*>(d->FindControl(CDURING_COMMUNICATION_DIALOG::kMessageId))->text();
        button = static_cast<QPushButton*>(d->FindControl(CDURING_COMMUNICATION_DIALOG::kCancelId))->text();
        maximum = Bar(d)->maximum();
        valueWhileRunning = Bar(d)->value();
        QtMessageSink::Instance().PostMessage(d->Handle(), WM_ZARN_UPDATE_CHECK_DONE, 0, 0);
    });
    CDURING_COMMUNICATION_DIALOG dialog;
    dialog.SetCommCtrl(&worker.ctrl);
    EXPECT_EQ(dialog.DoModal(), CDURING_COMMUNICATION_DIALOG::kEndedByReply);
    EXPECT_EQ(caption, Text(50118));
    EXPECT_EQ(message, Text(50117));
    EXPECT_EQ(button, Text(11));
    EXPECT_EQ(maximum, 1000);
    EXPECT_EQ(valueWhileRunning, 0);
    EXPECT_EQ(Bar(&dialog)->value(), 1000);
    EXPECT_EQ(dialog.CommCtrl(), nullptr);
}

TEST(UpdateCheckDialog, CancelEndsWithZeroAndALateReplyReachesNothing)
{
    for (const int way : {0, 1, 2}) { // the button, Esc, the close command
        SCOPED_TRACE(way);
        IdleWorker worker;
        HWND handle;
        DialogScript<CDURING_COMMUNICATION_DIALOG> script([&](CDURING_COMMUNICATION_DIALOG* d) {
            handle = d->Handle();
            if (way == 0) {
                static_cast<QPushButton*>(d->FindControl(CDURING_COMMUNICATION_DIALOG::kCancelId))->click();
            } else if (way == 1) {
                QKeyEvent esc(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
                QApplication::sendEvent(d, &esc);
            } else {
                d->close();
            }
        });
        CDURING_COMMUNICATION_DIALOG dialog;
        dialog.SetCommCtrl(&worker.ctrl);
        EXPECT_EQ(dialog.DoModal(), CDURING_COMMUNICATION_DIALOG::kCancelled);
        EXPECT_EQ(Bar(&dialog)->value(), 1000);
        EXPECT_EQ(dialog.CommCtrl(), nullptr);
        EXPECT_FALSE(QtMessageSink::Instance().PostMessage(handle, WM_ZARN_UPDATE_CHECK_DONE, 0, 0));
    }
}

// Against a server that keeps the check alive with a byte every two seconds, the cancel button ends
// the check itself in the worker within a second (its list notice comes), not only the dialog.
TEST(UpdateCheckDialog, CancelEndsTheCheckInTheWorker)
{
    LoopbackHttpServer::IgnoreEnvironmentProxies();
    LoopbackHttpServer server;
    server.SetRoute("/version.txt", LoopbackHttpServer::Drip());
    IdleWorker worker;
    const HWND main = worker.sink.CreateWindow();
    worker.ctrl.SetNotifyWindow(main);
    worker.ctrl.SetUpdateRequest(server.BaseUrl(), server.BaseUrl() + "/version.txt", ZarnProxySettings());
    worker.ctrl.Start();
    std::chrono::steady_clock::time_point cancelled;
    DialogScript<CDURING_COMMUNICATION_DIALOG> script([&](CDURING_COMMUNICATION_DIALOG* d) {
        if (!server.WaitForRequests(1)) return;
        cancelled = std::chrono::steady_clock::now();
        static_cast<QPushButton*>(d->FindControl(CDURING_COMMUNICATION_DIALOG::kCancelId))->click();
    });
    CDURING_COMMUNICATION_DIALOG dialog;
    dialog.SetCommCtrl(&worker.ctrl);
    EXPECT_EQ(dialog.DoModal(), CDURING_COMMUNICATION_DIALOG::kCancelled);
    ASSERT_TRUE(worker.sink.WaitForCount(WM_ZARN_UPDATE_LIST_READY, 1, 1000));
    EXPECT_LT(std::chrono::steady_clock::now() - cancelled, std::chrono::seconds(1));
    worker.ctrl.Stop();
    server.Stop();
}

} // namespace
