#include "ui/wizard/CKZARN_ProgressThreadDlg.h"

#include "core/CKZARN_Common.h"
#include "core/DialogLayoutItem.h"
#include "core/util/CLangTable.h"
#include "meter/ZarnMeterMessages.h"
#include "platform/qt/QtMessageSink.h"
#include "ui/wizard/WizardCalcThread.h"

#include <QLabel>
#include <QProgressBar>
#include <QPushButton>

namespace {

constexpr DialogLayoutItem kLayout[] = {
    {CKZARN_ProgressThreadDlg::kTemplateId, 0, 0, 0, 340, 170},
    {CKZARN_ProgressThreadDlg::kMessageId, 0, 15, 30, 290, 30},
    {CKZARN_ProgressThreadDlg::kProgressId, 0, 15, 80, 290, 23},
    {CKZARN_ProgressThreadDlg::kOkButtonId, 10, 120, 80, 88, 23},
    {0, 0, 0, 0, 0, 0},
};

} // namespace

CKZARN_ProgressThreadDlg::CKZARN_ProgressThreadDlg(QWidget* parent)
    : QDialog(parent), okButton_(new QPushButton(this)), message_(new QLabel(this)), progress_(new QProgressBar(this))
{
    message_->setWordWrap(true);
    progress_->setTextVisible(false);
    controls_ = {{kOkButtonId, okButton_}, {kMessageId, message_}, {kProgressId, progress_}};
    connect(okButton_, &QPushButton::clicked, this, [this] { accept(); });
}

CKZARN_ProgressThreadDlg::~CKZARN_ProgressThreadDlg()
{
    if (handle_)
        QtMessageSink::Instance().Unregister(handle_);
}

QWidget* CKZARN_ProgressThreadDlg::FindControl(int id) const
{
    const auto it = controls_.find(id);
    return it == controls_.end() ? nullptr : it->second;
}

int CKZARN_ProgressThreadDlg::DoModal()
{
    OnInitDialog();
    return exec();
}

BOOL CKZARN_ProgressThreadDlg::OnInitDialog()
{
    CKZARN_Common::ApplyDialogLayout(this, kLayout, FALSE);
    setWindowTitle(CKZARN_Common::ToWidgetText(GetLangString(3038)));
    message_->setText(CKZARN_Common::ToWidgetText(GetLangString(3039)));
    progress_->setRange(0, 10);
    progress_->setValue(0);
    progress_->show();
    okButton_->hide();
    handle_ = QtMessageSink::Instance().Register(this, this);
    if (thread_ != nullptr) {
        thread_->Resume();
    } else {
        // Nothing to wait for: end as a failed run at once.
        QtMessageSink::Instance().PostMessage(handle_, WM_ZARN_COMMAND_DONE, 0, 1);
    }
    return TRUE;
}

LRESULT CKZARN_ProgressThreadDlg::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_ZARN_PROGRESS: return OnProgress(wParam, lParam);
    case WM_ZARN_COMMAND_DONE: return OnWorkerDone(wParam, lParam);
    default: return 0;
    }
}

LRESULT CKZARN_ProgressThreadDlg::OnProgress(WPARAM wParam, LPARAM lParam)
{
    progress_->setRange(0, static_cast<int>(lParam));
    progress_->setValue(static_cast<int>(wParam));
    return 0;
}

LRESULT CKZARN_ProgressThreadDlg::OnWorkerDone(WPARAM /*wParam*/, LPARAM lParam)
{
    // The done message is the thread's last act, so the join that follows is immediate; the
    // dialog ends only after the thread, which uses the wizard's data, has ended.
    if (thread_ != nullptr)
        thread_->Wait();
    result_ = static_cast<int>(lParam);
    done(1);
    return 0;
}

void CKZARN_ProgressThreadDlg::accept()
{
    if (okButton_->isVisible())
        QDialog::accept();
}

void CKZARN_ProgressThreadDlg::reject()
{
    if (okButton_->isVisible())
        QDialog::reject();
}
