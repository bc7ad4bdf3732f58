#include "ui/wizard/CKZARN_WizArea4CineModeForm.h"

#include "core/CKZARN_Common.h"
#include "ui/wizard/CKZARN_WizardDlg.h"
#include "ui/wizard/WizardData.h"
#include "ui/wizard/WizardGroupBox.h"

#include <QButtonGroup>
#include <QRadioButton>

namespace {

constexpr DialogLayoutItem kLayout[] = {
    {CKZARN_WizArea4CineModeForm::kTemplateId, 0, 0, 0, 250, 270},
    {1238, 158, 10, 25, 230, 100},
    {1239, 159, 30, 50, 190, 30},
    {1240, 160, 30, 80, 190, 30},
    {0, 0, 0, 0, 0, 0},
};

} // namespace

CKZARN_WizArea4CineModeForm::CKZARN_WizArea4CineModeForm(QWidget* parent)
    : CKZARN_WizAreaBaseForm(kTemplateId, parent),
      normal_(new QRadioButton(this)),
      cine_(new QRadioButton(this)),
      group_(new WizardGroupBox(this))
{
    group_->lower();
    auto* buttons = new QButtonGroup(this);
    buttons->addButton(normal_);
    buttons->addButton(cine_);
    AddControl(kNormalId, normal_);
    AddControl(kCineId, cine_);
    AddControl(kGroupId, group_);
    connect(normal_, &QRadioButton::clicked, this, [this] { OnNormalClicked(); });
    connect(cine_, &QRadioButton::clicked, this, [this] { OnCineClicked(); });
}

BOOL CKZARN_WizArea4CineModeForm::OnInitDialog()
{
    if (owner == nullptr)
        return TRUE;
    CKZARN_Common::ApplyDialogLayout(this, kLayout, FALSE);
    if (settings != nullptr)
        settings->cineMode = 0;
    Refresh();
    return TRUE;
}

void CKZARN_WizArea4CineModeForm::Refresh()
{
    if (settings == nullptr)
        return;
    if (settings->cineMode == 0)
        normal_->setChecked(true);
    else if (settings->cineMode == 1)
        cine_->setChecked(true);
}

void CKZARN_WizArea4CineModeForm::ShowReadingRows(bool cine)
{
    if (owner == nullptr)
        return;
    for (int id : kShutterControls)
        if (QWidget* control = owner->FindReadingControl(id))
            control->setVisible(!cine);
    for (int id : kCineControls)
        if (QWidget* control = owner->FindReadingControl(id))
            control->setVisible(cine);
}

void CKZARN_WizArea4CineModeForm::OnNormalClicked()
{
    ShowReadingRows(false);
    if (settings != nullptr)
        settings->cineMode = 0;
    if (owner != nullptr)
        owner->SetInstructionText(3029);
}

void CKZARN_WizArea4CineModeForm::OnCineClicked()
{
    ShowReadingRows(true);
    if (settings != nullptr)
        settings->cineMode = 1;
    if (owner != nullptr)
        owner->SetInstructionText(3059);
}
