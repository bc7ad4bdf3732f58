#include "ui/main/CKZARN_MainUpdateForm.h"

#include "core/CKZARN_Common.h"
#include "core/DialogLayoutItem.h"
#include "meter/ZarnMeterMessages.h"
#include "ui/main/CKZARN_MainDlg.h"
#include "ui/main/CKZARN_MainUpdateImplDialog.h"
#include "ui/meter/CZarnManager.h"

#include <QPushButton>

namespace {

constexpr DialogLayoutItem kLayout[] = {
    {CKZARN_MainUpdateForm::kTemplateId, 0, 0, 0, 802, 469},
    {CKZARN_MainUpdateForm::kUpdateButtonId, 1600, 50, 50, 250, 30},
    {0, 0, 0, 0, 0, 0},
};

} // namespace

CKZARN_MainUpdateForm::CKZARN_MainUpdateForm(QWidget* parent) : CKZARN_MainBaseForm(kTemplateId, parent)
{
    updateButton_ = new QPushButton(this);
    AddControl(kUpdateButtonId, updateButton_);
    connect(updateButton_, &QPushButton::clicked, this, [this] { OnUpdateButton(); });
}

CKZARN_MainUpdateForm::~CKZARN_MainUpdateForm() = default;

BOOL CKZARN_MainUpdateForm::OnInitDialog()
{
    CKZARN_MainBaseForm::OnInitDialog();
    CKZARN_Common::ApplyDialogLayout(this, kLayout, FALSE);
    return TRUE;
}

int CKZARN_MainUpdateForm::RunDialog(CKZARN_MainUpdateImplDialog& dialog)
{
    return dialog.DoModal();
}

void CKZARN_MainUpdateForm::RunUpdateCheck()
{
    CZarnManager::GetInstance()->RunUpdateCheck();
}

void CKZARN_MainUpdateForm::RunUpdateDialog(bool check)
{
    if (updateDialog != nullptr) return;
    CKZARN_MainUpdateImplDialog dialog;
    dialog.SetMainWindowNumber(Owner() != nullptr ? Owner()->GetProgramNumber() : 0);
    updateDialog = &dialog;
    if (check) RunUpdateCheck();
    RunDialog(dialog);
    updateDialog = nullptr;
}

void CKZARN_MainUpdateForm::OnUpdateButton()
{
    RunUpdateDialog(true);
}

void CKZARN_MainUpdateForm::ShowUpdateDialog()
{
    RunUpdateDialog(false);
}

BOOL CKZARN_MainUpdateForm::OnUpdateListReady(WPARAM, LPARAM)
{
    if (updateDialog != nullptr) {
        // The list can arrive during the update check, before the dialog has been set up.
        if (updateDialog->IsInitialised()) updateDialog->OnUpdateListRefresh(0, 0);
    } else if (CZarnManager::GetInstance()->ShouldNotifyUpdate(0) == 1 && noticeShown == 0) {
        noticeShown = 1;
        ShowUpdateDialog();
    }
    return TRUE;
}

BOOL CKZARN_MainUpdateForm::OnMeterInfoChanged()
{
    if (updateDialog != nullptr) {
        if (updateDialog->IsInitialised()) updateDialog->SendMessage(WM_ZARN_T310_INFO, 0, 0);
    } else if (CZarnManager::GetInstance()->ShouldNotifyUpdate(1) == 1 && noticeShown == 0) {
        noticeShown = 1;
        ShowUpdateDialog();
    }
    return TRUE;
}

BOOL CKZARN_MainUpdateForm::OnConnectionChanged(int connected)
{
    if (connected == 0) noticeShown = 0;
    return TRUE;
}

BOOL CKZARN_MainUpdateForm::OnExternalProgramStarting(const std::string&, const std::string&)
{
    if (updateDialog != nullptr) updateDialog->OnBusy(0, 0);
    return TRUE;
}

BOOL CKZARN_MainUpdateForm::OnExternalProgramEnded(WPARAM, LPARAM)
{
    if (updateDialog != nullptr) updateDialog->OnIdle(0, 0);
    return TRUE;
}

BOOL CKZARN_MainUpdateForm::OnMainClosing()
{
    if (updateDialog != nullptr) {
        updateDialog->EndNow();
        updateDialog = nullptr;
    }
    return TRUE;
}
