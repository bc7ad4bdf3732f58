#include "ui/wizard/CKZARN_WizArea4ExpExpandForm.h"

#include "core/CKZARN_Common.h"
#include "ui/wizard/CKZARN_WizardDlg.h"
#include "ui/wizard/WizardData.h"
#include "ui/wizard/WizardGroupBox.h"

#include <QButtonGroup>
#include <QRadioButton>

namespace {

constexpr DialogLayoutItem kLayout[] = {
    {CKZARN_WizArea4ExpExpandForm::kTemplateId, 0, 0, 0, 250, 270},
    {1217, 155, 10, 25, 230, 100},
    {1029, 156, 30, 50, 190, 30},
    {1030, 157, 30, 80, 190, 30},
    {0, 0, 0, 0, 0, 0},
};

} // namespace

CKZARN_WizArea4ExpExpandForm::CKZARN_WizArea4ExpExpandForm(QWidget* parent)
    : CKZARN_WizAreaBaseForm(kTemplateId, parent),
      normal_(new QRadioButton(this)),
      expanded_(new QRadioButton(this)),
      group_(new WizardGroupBox(this))
{
    group_->lower();
    auto* buttons = new QButtonGroup(this);
    buttons->addButton(normal_);
    buttons->addButton(expanded_);
    AddControl(kNormalId, normal_);
    AddControl(kExpandedId, expanded_);
    AddControl(kGroupId, group_);
    connect(normal_, &QRadioButton::clicked, this, [this] { OnRangeClicked(0); });
    connect(expanded_, &QRadioButton::clicked, this, [this] { OnRangeClicked(1); });
}

BOOL CKZARN_WizArea4ExpExpandForm::OnInitDialog()
{
    if (owner == nullptr)
        return TRUE;
    CKZARN_Common::ApplyDialogLayout(this, kLayout, FALSE);
    const bool mode1 = owner->GetMode() == 1;
    normal_->setEnabled(mode1);
    expanded_->setEnabled(mode1);
    group_->setEnabled(mode1);
    if (settings != nullptr)
        settings->expandedRange = 0;
    Refresh();
    return TRUE;
}

void CKZARN_WizArea4ExpExpandForm::Refresh()
{
    if (settings == nullptr)
        return;
    if (settings->expandedRange == 0)
        normal_->setChecked(true);
    else if (settings->expandedRange == 1)
        expanded_->setChecked(true);
}

void CKZARN_WizArea4ExpExpandForm::OnRangeClicked(int expanded)
{
    if (owner != nullptr && owner->GetMode() == 1 && settings != nullptr)
        settings->expandedRange = expanded;
}
