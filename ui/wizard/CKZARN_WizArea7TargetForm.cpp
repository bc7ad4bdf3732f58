#include "ui/wizard/CKZARN_WizArea7TargetForm.h"

#include "core/CKZARN_Common.h"
#include "core/util/CLangTable.h"
#include "ui/controls/CCustomRadioButton.h"
#include "ui/controls/CStaticIcon.h"
#include "ui/wizard/WizardChartPictures.h"
#include "ui/wizard/WizardClickableLabel.h"
#include "ui/wizard/WizardData.h"
#include "ui/wizard/WizardGroupBox.h"
#include "ui/wizard/WizardPictures.h"

#include <QButtonGroup>
#include <QRadioButton>

namespace {

constexpr DialogLayoutItem kLayout[] = {
    {CKZARN_WizArea7TargetForm::kTemplateId, 0, 0, 0, 596, 433},
    {1029, 102, 395, 40, 300, 20},
    {1148, 0, 411, 70, 195, 119},
    {1030, 103, 30, 40, 300, 20},
    {1149, 0, 50, 70, 189, 122},
    {1031, 154, 30, 217, 300, 26},
    {1150, 0, 50, 270, 195, 119},
    // Tall enough that the last variant (Mini) stays inside the frame.
    {1249, 0, 260, 270, 120, 86},
    {1246, 163, 270, 290, 100, 20},
    {1247, 164, 270, 310, 100, 20},
    {1248, 165, 270, 330, 100, 20},
    // The chart names with their registered marks, centred under the two pictures.
    {1188, 0, 102, 394, 225, 20},
    {1032, 171, 395, 220, 287, 20},
    {1190, 172, 412, 240, 287, 20},
    {1151, 0, 411, 270, 195, 119},
    {1189, 0, 402, 394, 225, 20},
    {0, 0, 0, 0, 0, 0},
};

constexpr int kChartIds[4] = {1029, 1030, 1031, 1032};
constexpr int kChartTexts[4] = {102, 103, 154, 171};
constexpr int kChartTargets[4] = {0, 1, 2, 5};
constexpr int kPictureIds[4] = {1148, 1149, 1150, 1151};
// The picture of each radio: 1148 shows the chart of 1029 (Gradus I) and so on.
constexpr int kPictureCharts[4] = {1, 2, 3, 6};

} // namespace

CKZARN_WizArea7TargetForm::CKZARN_WizArea7TargetForm(QWidget* parent)
    : CKZARN_WizAreaBaseForm(kTemplateId, parent),
      variantGroup_(new WizardGroupBox(this)),
      markLeft_(new CStaticIcon(this)),
      markRight_(new CStaticIcon(this)),
      spyderLabel_(new WizardClickableLabel(this))
{
    auto* chartGroup = new QButtonGroup(this);
    for (int i = 0; i < 4; ++i) {
        charts_[i] = new CCustomRadioButton(this);
        chartGroup->addButton(charts_[i]);
        AddControl(kChartIds[i], charts_[i]);
        connect(charts_[i], &QRadioButton::clicked, this, [this, i] { OnChartClicked(i); });
        pictures_[i] = new WizardClickableLabel(this);
        pictures_[i]->setPixmap(WizardChartPictures::Draw(kPictureCharts[i], 195, 119));
        pictures_[i]->setScaledContents(true);
        AddControl(kPictureIds[i], pictures_[i]);
        connect(pictures_[i], &WizardClickableLabel::clicked, this, [this, i] { OnPictureClicked(i); });
    }
    auto* variantButtons = new QButtonGroup(this);
    for (int v = 0; v < 3; ++v) {
        variants_[v] = new QRadioButton(this);
        variantButtons->addButton(variants_[v]);
        AddControl(kPassportId + v, variants_[v]);
        connect(variants_[v], &QRadioButton::clicked, this, [this, v] { OnVariantClicked(v); });
    }
    variantGroup_->lower();
    AddControl(kVariantGroupId, variantGroup_);
    AddControl(1188, markLeft_);
    AddControl(1189, markRight_);
    AddControl(1190, spyderLabel_);
    connect(spyderLabel_, &WizardClickableLabel::clicked, this, [this] { OnPictureClicked(3); });
}

BOOL CKZARN_WizArea7TargetForm::OnInitDialog()
{
    CKZARN_Common::ApplyDialogLayout(this, kLayout, FALSE);
    if (settings != nullptr && settings->target != 2)
        EnableVariants(false);
    markLeft_->SetIcon(WizardPictures::Load(WizardPictures::kChartMarkLeft), 225, 20);
    markRight_->SetIcon(WizardPictures::Load(WizardPictures::kChartMarkRight), 225, 20);
    if (settings != nullptr)
        settings->colorCheckerVariant = 0;
    Refresh();
    for (int i = 0; i < 4; ++i)
        charts_[i]->SetText(GetLangString(kChartTexts[i]));
    spyderLabel_->setText(CKZARN_Common::ToWidgetText(GetLangString(172)));
    return TRUE;
}

void CKZARN_WizArea7TargetForm::EnableVariants(bool enable)
{
    for (QRadioButton* radio : variants_)
        radio->setEnabled(enable);
    variantGroup_->setEnabled(enable);
}

void CKZARN_WizArea7TargetForm::ShowVariant()
{
    if (settings == nullptr || settings->colorCheckerVariant < 0 || settings->colorCheckerVariant > 2)
        return;
    // Checked one at a time, so the group's exclusiveness never blocks clearing the others.
    for (int v = 0; v < 3; ++v)
        variants_[v]->setChecked(v == settings->colorCheckerVariant);
}

void CKZARN_WizArea7TargetForm::OnChartClicked(int index)
{
    if (settings == nullptr || !IsShownPage())
        return;
    settings->target = kChartTargets[index];
    if (index == 2) {
        ShowVariant();
        EnableVariants(true);
    } else {
        EnableVariants(false);
    }
}

void CKZARN_WizArea7TargetForm::OnVariantClicked(int variant)
{
    if (settings != nullptr)
        settings->colorCheckerVariant = variant;
}

void CKZARN_WizArea7TargetForm::OnPictureClicked(int index)
{
    charts_[index]->setChecked(true);
    charts_[index]->setFocus();
    OnChartClicked(index);
}

void CKZARN_WizArea7TargetForm::Refresh()
{
    if (settings == nullptr)
        return;
    int index = 0;
    switch (settings->target) {
    case 1: index = 1; break;
    case 2: index = 2; break;
    case 5: index = 3; break;
    default: index = 0; break;
    }
    OnPictureClicked(index);
    EnableVariants(settings->target == 2);
    if (settings->target == 2)
        ShowVariant();
}
