#include "ui/views/ZarnViewChildForm.h"

#include "core/util/CThemeApi.h"

#include <QKeyEvent>

namespace {

constexpr DWORD kThemeDialogTextureEnableTab = 6;

} // namespace

ZarnViewChildForm::ZarnViewChildForm(int templateId, QWidget* parent) : QWidget(parent), templateId_(templateId) {}

ZarnViewChildForm::~ZarnViewChildForm() = default;

BOOL ZarnViewChildForm::OnInitDialog()
{
    CThemeApi* theme = CThemeApi::GetInstance();
    if (theme->EnableThemeDialogTexture != nullptr) {
        theme->EnableThemeDialogTexture(this, kThemeDialogTextureEnableTab);
    }
    return TRUE;
}

QWidget* ZarnViewChildForm::FindControl(int id) const
{
    const auto it = controls_.find(id);
    return it != controls_.end() ? it->second : nullptr;
}

void ZarnViewChildForm::AddControl(int id, QWidget* control)
{
    controls_[id] = control;
}

void ZarnViewChildForm::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        event->accept(); // discarded
        return;
    }
    event->ignore(); // Escape and everything else go on to the owning dialog
}
