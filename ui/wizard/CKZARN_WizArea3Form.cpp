#include "ui/wizard/CKZARN_WizArea3Form.h"

#include "core/CKZARN_Common.h"
#include "core/util/CLangTable.h"
#include "ui/controls/CStaticIcon.h"
#include "ui/wizard/CKZARN_WizardDlg.h"
#include "ui/wizard/WizardPictures.h"

#include <QPushButton>

#include <algorithm>
#include <vector>

namespace {

constexpr int kMode0Steps[9] = {0, 2, 3, 4, 5, 6, -1, -1, -1};
constexpr int kMode1Steps[9] = {0, 1, 2, 3, 4, 5, 6, -1, -1};

} // namespace

CKZARN_WizArea3Form::CKZARN_WizArea3Form(QWidget* parent) : CKZARN_WizAreaBaseForm(kTemplateId, parent)
{
    for (int row = 0; row < kRowCount; ++row) {
        buttons_[row] = new QPushButton(this);
        buttons_[row]->setAutoDefault(false);
        buttons_[row]->setStyleSheet(QStringLiteral("text-align: left; padding-left: 6px;"));
        icons_[row] = new CStaticIcon(this);
        AddControl(kRowButtonIds[row], buttons_[row]);
        AddControl(kFirstIconId + row, icons_[row]);
        connect(buttons_[row], &QPushButton::clicked, this, [this, row] { OnRowClicked(row); });
    }
}

BOOL CKZARN_WizArea3Form::OnInitDialog()
{
    if (owner == nullptr)
        return TRUE;
    const int* steps = owner->GetMode() == 1 ? kMode1Steps : kMode0Steps;
    // Rows 33 pixels apart, 28 high, as long as every row of the mode fits into the area the page
    // shows in (the wizard makes it lower than the page); otherwise closer and lower, so that the
    // last row ("Save") is never cut off.
    const int rows = static_cast<int>(std::count_if(steps, steps + kRowCount, [](int step) { return step >= 0; }));
    const int shown = parentWidget() != nullptr && parentWidget()->height() > 0 ? parentWidget()->height() : 310;
    const int pitch = std::min(33, (shown - 10) / std::max(rows, 1));
    const int height = std::min(28, pitch - 3);
    std::vector<DialogLayoutItem> layout{{kTemplateId, 0, 0, 0, 250, 310}};
    for (int k = 0; k < kRowCount; ++k) {
        layout.push_back({kFirstIconId + k, 0, 10, 10 + pitch * k + (height - 16) / 2, 16, 16});
        layout.push_back({kRowButtonIds[k], 0, 35, 10 + pitch * k, 205, height});
    }
    layout.push_back({0, 0, 0, 0, 0, 0});
    CKZARN_Common::ApplyDialogLayout(this, layout, FALSE);

    done_ = WizardPictures::Load(WizardPictures::kStepDone);
    current_ = WizardPictures::Load(WizardPictures::kStepCurrent);
    later_ = WizardPictures::Load(WizardPictures::kStepLater);
    for (int row = 0; row < kRowCount; ++row) {
        rowStep_[row] = steps[row];
        const int stepText = rowStep_[row] >= 0 ? 3011 + rowStep_[row] : 0;
        buttons_[row]->setText(CKZARN_Common::ToWidgetText(GetLangString(3002 + row) + GetLangString(stepText)));
        if (rowStep_[row] < 0) {
            buttons_[row]->hide();
            icons_[row]->hide();
        }
    }
    return TRUE;
}

void CKZARN_WizArea3Form::SetMark(int row, int mark)
{
    marks_[row] = mark;
    const QIcon& icon = mark == WizardPictures::kStepDone ? done_ : mark == WizardPictures::kStepCurrent ? current_ : later_;
    icons_[row]->SetIcon(icon, 16, 16);
}

void CKZARN_WizArea3Form::Refresh()
{
    if (owner == nullptr)
        return;
    const int step = owner->GetStep();
    for (int row = 0; row < kRowCount; ++row) {
        const int rowStep = rowStep_[row];
        if (step == 6 || rowStep > step) {
            buttons_[row]->setEnabled(false);
            SetMark(row, WizardPictures::kStepLater);
        } else if (rowStep == step) {
            buttons_[row]->setEnabled(true);
            SetMark(row, WizardPictures::kStepCurrent);
        } else {
            buttons_[row]->setEnabled(true);
            SetMark(row, WizardPictures::kStepDone);
        }
    }
}

void CKZARN_WizArea3Form::OnRowClicked(int row)
{
    if (owner != nullptr && rowStep_[row] >= 0)
        owner->GoToStep(rowStep_[row]);
}
