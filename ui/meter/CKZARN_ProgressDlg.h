// The modal dialog that runs one meter command on the worker and waits for its reply without
// blocking the user-interface thread. Two pictures show the direction of the transfer, a bar
// follows the progress messages, and the reply shows a result text. The command is posted from the
// dialog's own initialisation with the dialog as reply window, so it cannot start before the dialog
// exists. Until the reply has come the user cannot end the dialog: Enter, Esc and the close
// command do nothing and the OK button is hidden.
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

class CKZARN_ProgressDlg : public QDialog, public ControlHost, public WindowMessageHandler {
    Q_OBJECT
public:
    static constexpr int kDialogId = 148;
    static constexpr int kMessageId = 1147;
    static constexpr int kOkButtonId = 1024;
    static constexpr int kProgressId = 1035;
    static constexpr int kLeftPictureId = 1198;
    static constexpr int kRightPictureId = 1197;
    // Dialog results.
    static constexpr int kIdOk = 1;
    // The result when no worker was set: no reply could ever come (a system code: no such device).
    static constexpr int kNoWorkerError = 19;

    explicit CKZARN_ProgressDlg(QWidget* parent = nullptr);
    ~CKZARN_ProgressDlg() override;

    void SetCommCtrl(CKZARN_LMCtrl* ctrl) { ctrl_ = ctrl; }
    void SetCommand(int code, int value)
    {
        code_ = code;
        value_ = value;
    }
    // The command restores the meter's factory profiles: its completion says that the meter was
    // reset (the reset commands 19 and 29 always do).
    void SetFactoryReset(bool reset) { factoryReset_ = reset; }
    // Initialises the dialog (posting the command) and runs it; IDOK when it has ended.
    int DoModal();
    // The reply's result: 0 success, else a meter result code or a system error code.
    int HasError() const { return result_; }

    // ControlHost
    QWidget* HostWidget() override { return this; }
    QWidget* FindControl(int id) const override;
    // WindowMessageHandler
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    // The dialog's handle for window messages (null before initialisation).
    HWND Handle() const { return handle_; }

protected:
    BOOL OnInitDialog();
    LRESULT OnProgress(WPARAM wParam, LPARAM lParam);
    LRESULT OnCommandDone(WPARAM wParam, LPARAM lParam);
    void OnOKButton();

public:
    // Enter and Esc (and the window's close command, which ends in reject) do nothing.
    void accept() override {}
    void reject() override {}

private:
    // The texts and pictures of one group of command codes.
    struct CommandTexts {
        bool toMeter;
        int runCaption, runMessage, okCaption, okMessage, failCaption, failMessage;
        bool endsOnSuccess;
    };
    static const CommandTexts* TextsOf(int code, bool factoryReset);
    void LoadPictures();

    QLabel* message_;
    QPushButton* okButton_;
    QProgressBar* progress_;
    CStaticIcon* leftPicture_;
    CStaticIcon* rightPicture_;
    CKZARN_LMCtrl* ctrl_ = nullptr;
    int code_ = 0;
    int value_ = 0;
    bool factoryReset_ = false;
    int result_ = 0;
    QIcon pcIcon_, t310Icon_, t140Icon_, t520Icon_;
    int pcWidth_ = 0, pcHeight_ = 0, t310Width_ = 0, t310Height_ = 0;
    int t140Width_ = 0, t140Height_ = 0, t520Width_ = 0, t520Height_ = 0;
    std::map<int, QWidget*> controls_;
    HWND handle_;
};
