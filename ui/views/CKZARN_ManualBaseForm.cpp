#include "ui/views/CKZARN_ManualBaseForm.h"

#include "core/util/CThemeApi.h"

#include <QKeyEvent>

namespace {

constexpr DWORD kThemeDialogTextureEnableTab = 6;

} // namespace

CKZARN_ManualBaseForm::CKZARN_ManualBaseForm(int templateId, QWidget* parent) : QWidget(parent), templateId_(templateId) {}

CKZARN_ManualBaseForm::~CKZARN_ManualBaseForm() = default;

BOOL CKZARN_ManualBaseForm::OnInitDialog()
{
    CThemeApi* theme = CThemeApi::GetInstance();
    if (theme->EnableThemeDialogTexture != nullptr) {
        theme->EnableThemeDialogTexture(this, kThemeDialogTextureEnableTab);
    }
    return TRUE;
}

QWidget* CKZARN_ManualBaseForm::FindControl(int id) const
{
    const auto it = controls_.find(id);
    return it != controls_.end() ? it->second : nullptr;
}

void CKZARN_ManualBaseForm::AddControl(int id, QWidget* control)
{
    controls_[id] = control;
}

void CKZARN_ManualBaseForm::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        event->accept(); // discarded
        return;
    }
    event->ignore(); // Escape and everything else go on to the owning dialog
}
