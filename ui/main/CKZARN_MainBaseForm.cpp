#include "ui/main/CKZARN_MainBaseForm.h"

#include "core/util/CThemeApi.h"
#include "platform/qt/QtMessageSink.h"
#include "ui/main/CKZARN_MainDlg.h"

namespace {

constexpr DWORD kThemeDialogTextureEnableTab = 6;

} // namespace

CKZARN_MainBaseForm::CKZARN_MainBaseForm(int templateId, QWidget* parent) : QWidget(parent), templateId_(templateId)
{
}

CKZARN_MainBaseForm::~CKZARN_MainBaseForm() = default;

BOOL CKZARN_MainBaseForm::Create(int templateId, QWidget* tabControl, CKZARN_MainDlg* owner)
{
    templateId_ = templateId;
    owner_ = owner;
    setParent(tabControl);
    return OnInitDialog();
}

BOOL CKZARN_MainBaseForm::OnInitDialog()
{
    CThemeApi* theme = CThemeApi::GetInstance();
    if (theme->EnableThemeDialogTexture != nullptr) {
        theme->EnableThemeDialogTexture(this, kThemeDialogTextureEnableTab);
    }
    return TRUE;
}

BOOL CKZARN_MainBaseForm::CanCopy() { return FALSE; }
BOOL CKZARN_MainBaseForm::Cut() { return FALSE; }
BOOL CKZARN_MainBaseForm::CanCut() { return FALSE; }
BOOL CKZARN_MainBaseForm::CanPaste() { return FALSE; }
BOOL CKZARN_MainBaseForm::OnMeterInfoChanged() { return TRUE; }
BOOL CKZARN_MainBaseForm::OnMainClosing() { return TRUE; }
BOOL CKZARN_MainBaseForm::AcceptsReturnKey() { return FALSE; }

BOOL CKZARN_MainBaseForm::OnExternalProgramStarting(const std::string& /*program*/, const std::string& /*arguments*/)
{
    return TRUE;
}

BOOL CKZARN_MainBaseForm::OnExternalProgramEnded(WPARAM /*wParam*/, LPARAM /*lParam*/) { return TRUE; }
BOOL CKZARN_MainBaseForm::OnUpdateListReady(WPARAM /*wParam*/, LPARAM /*lParam*/) { return TRUE; }

BOOL CKZARN_MainBaseForm::PreTranslateMessage(const KeyMessage& msg)
{
    if (msg.message != WM_KEYDOWN) {
        return FALSE;
    }
    // Esc, and Enter unless the page wants it, reach the control without the page's dialog
    // handling; the main window ignores both, so neither closes anything.
    if (msg.virtualKey == VK_ESCAPE) {
        return FALSE;
    }
    if (msg.virtualKey == VK_RETURN && !AcceptsReturnKey()) {
        return FALSE;
    }
    if (msg.control && (msg.virtualKey == 'N' || msg.virtualKey == 'R' || msg.virtualKey == 'E' ||
                        msg.virtualKey == 'T')) {
        if (owner_ != nullptr) {
            QtMessageSink::Instance().SendMessage(owner_->GetSafeHwnd(), msg.message, msg.virtualKey, 0);
        }
        return FALSE;
    }
    return FALSE;
}

QWidget* CKZARN_MainBaseForm::FindControl(int id) const
{
    const auto it = controls_.find(id);
    return it == controls_.end() ? nullptr : it->second;
}

void CKZARN_MainBaseForm::AddControl(int id, QWidget* control)
{
    controls_[id] = control;
}
