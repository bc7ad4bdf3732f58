// The modal dialog under which the update check runs on the meter worker. It posts the check from
// its own initialisation with itself as reply window and ends when the check's done message
// arrives (result 2) or when the user cancels (result 0). A cancel ends the check's transfer in the
// worker, which stores and announces the (empty) result as it does for a failed check.
#pragma once

#include "core/ControlHost.h"
#include "platform/WinTypes.h"
#include "platform/WindowHandle.h"
#include "platform/qt/WindowMessageHandler.h"

#include <QDialog>
#include <QIcon>

#include <map>

class CKZARN_LMCtrl;
class CStaticIcon;
class QLabel;
class QProgressBar;
class QPushButton;

class CDURING_COMMUNICATION_DIALOG : public QDialog, public ControlHost, public WindowMessageHandler {
    Q_OBJECT
public:
    static constexpr int kDialogId = 217;
    static constexpr int kMessageId = 1006;
    static constexpr int kProgressId = 1196;
    static constexpr int kCancelId = 2;
    static constexpr int kServerPictureId = 1004;
    static constexpr int kPcPictureId = 1005;
    static constexpr int kEndedByReply = 2;
    static constexpr int kCancelled = 0;

    // Loads the two pictures.
    explicit CDURING_COMMUNICATION_DIALOG(QWidget* parent = nullptr);
    ~CDURING_COMMUNICATION_DIALOG() override;

    void SetCommCtrl(CKZARN_LMCtrl* ctrl) { ctrl_ = ctrl; }
    // Initialises the dialog (posting the check) and runs it: 2 when the check ended, 0 when the
    // user cancelled.
    int DoModal();

    // ControlHost
    QWidget* HostWidget() override { return this; }
    QWidget* FindControl(int id) const override;
    // WindowMessageHandler
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    HWND Handle() const { return handle_; }
    CKZARN_LMCtrl* CommCtrl() const { return ctrl_; }

    // Esc and the close command cancel, as the cancel button does.
    void reject() override { OnCancel(); }
    void accept() override {}

protected:
    BOOL OnInitDialog();
    void SetTexts();
    LRESULT OnUpdateCheckDone(WPARAM wParam, LPARAM lParam);
    void OnCancel();

private:
    // Ends the dialog with the result: the bar full, the worker forgotten, no later reply taken.
    void End(int result);

    CKZARN_LMCtrl* ctrl_ = nullptr;
    QLabel* message_;
    QProgressBar* progress_;
    QPushButton* cancelButton_;
    CStaticIcon* serverPicture_;
    CStaticIcon* pcPicture_;
    QIcon serverIcon_;
    QIcon pcIcon_;
    std::map<int, QWidget*> controls_;
    HWND handle_;
};
