#include "ui/views/CKZARN_RefBaseForm.h"

#include "core/util/CThemeApi.h"

#include <QKeyEvent>

namespace {

constexpr DWORD kThemeDialogTextureEnableTab = 6;

} // namespace

CKZARN_RefBaseForm::CKZARN_RefBaseForm(int templateId, QWidget* parent) : QWidget(parent), templateId_(templateId) {}

CKZARN_RefBaseForm::~CKZARN_RefBaseForm() = default;

BOOL CKZARN_RefBaseForm::OnInitDialog()
{
    CThemeApi* theme = CThemeApi::GetInstance();
    if (theme->EnableThemeDialogTexture != nullptr) {
        theme->EnableThemeDialogTexture(this, kThemeDialogTextureEnableTab);
    }
    return TRUE;
}

QWidget* CKZARN_RefBaseForm::FindControl(int id) const
{
    const auto it = controls_.find(id);
    return it != controls_.end() ? it->second : nullptr;
}

void CKZARN_RefBaseForm::AddControl(int id, QWidget* control)
{
    controls_[id] = control;
}

void CKZARN_RefBaseForm::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        event->accept(); // discarded
        return;
    }
    event->ignore(); // Escape and everything else go on to the owning dialog
}
