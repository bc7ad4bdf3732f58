// The modal dialog that shows the progress of the wizard's calculation thread. It starts the
// thread itself once it is up, follows its progress messages and ends only after the thread has
// ended; the run cannot be cancelled, so Enter, Esc and the close box do nothing meanwhile.
#pragma once

#include "core/ControlHost.h"
#include "platform/WinTypes.h"
#include "platform/WindowHandle.h"
#include "platform/qt/WindowMessageHandler.h"

#include <QDialog>

#include <map>

class QLabel;
class QProgressBar;
class QPushButton;
class WizardCalcThread;

class CKZARN_ProgressThreadDlg : public QDialog, public ControlHost, public WindowMessageHandler {
    Q_OBJECT
public:
    static constexpr int kTemplateId = 191;
    static constexpr int kOkButtonId = 1;
    static constexpr int kMessageId = 1147;
    static constexpr int kProgressId = 1196;

    explicit CKZARN_ProgressThreadDlg(QWidget* parent = nullptr);
    ~CKZARN_ProgressThreadDlg() override;

    void SetThread(WizardCalcThread* thread) { thread_ = thread; }
    // Initialises the dialog (which starts the thread) and runs it; 1 once the thread has ended.
    int DoModal();
    // The result code of the thread's last done message.
    int Result() const { return result_; }
    // The dialog's handle for the thread's messages (valid from initialisation on).
    HWND Handle() const { return handle_; }
    QProgressBar* ProgressBar() const { return progress_; }

    QWidget* HostWidget() override { return this; }
    QWidget* FindControl(int id) const override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    void accept() override;
    void reject() override;

protected:
    BOOL OnInitDialog();
    LRESULT OnProgress(WPARAM wParam, LPARAM lParam);
    LRESULT OnWorkerDone(WPARAM wParam, LPARAM lParam);

private:
    QPushButton* okButton_;
    QLabel* message_;
    QProgressBar* progress_;
    WizardCalcThread* thread_ = nullptr;
    int result_ = 0;
    std::map<int, QWidget*> controls_;
    HWND handle_;
};
