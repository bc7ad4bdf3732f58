#include "ui/wizard/CKZARN_WizArea7LightForm.h"

#include "core/CKZARN_Common.h"
#include "ui/controls/CStaticIcon.h"
#include "ui/wizard/WizardData.h"
#include "ui/wizard/WizardPictures.h"

#include <QButtonGroup>
#include <QEvent>
#include <QMouseEvent>
#include <QRadioButton>

namespace {

constexpr DialogLayoutItem kLayout[] = {
    {CKZARN_WizArea7LightForm::kTemplateId, 0, 0, 0, 596, 433},
    {1096, 106, 120, 115, 200, 20},
    {1188, 0, 370, 90, 63, 69},
    {1097, 107, 120, 265, 200, 20},
    {1189, 0, 370, 240, 63, 69},
    {0, 0, 0, 0, 0, 0},
};

} // namespace

CKZARN_WizArea7LightForm::CKZARN_WizArea7LightForm(QWidget* parent)
    : CKZARN_WizAreaBaseForm(kTemplateId, parent),
      normal_(new QRadioButton(this)),
      flash_(new QRadioButton(this)),
      normalPicture_(new CStaticIcon(this)),
      flashPicture_(new CStaticIcon(this))
{
    auto* group = new QButtonGroup(this);
    group->addButton(normal_);
    group->addButton(flash_);
    AddControl(kNormalId, normal_);
    AddControl(kFlashId, flash_);
    AddControl(1188, normalPicture_);
    AddControl(1189, flashPicture_);
    connect(normal_, &QRadioButton::clicked, this, [this] { OnLightClicked(0); });
    connect(flash_, &QRadioButton::clicked, this, [this] { OnLightClicked(1); });
    normalPicture_->installEventFilter(this);
    flashPicture_->installEventFilter(this);
}

BOOL CKZARN_WizArea7LightForm::OnInitDialog()
{
    CKZARN_Common::ApplyDialogLayout(this, kLayout, FALSE);
    normalPicture_->SetIcon(WizardPictures::Load(WizardPictures::kDaylight), 63, 69);
    flashPicture_->SetIcon(WizardPictures::Load(WizardPictures::kFlash), 63, 69);
    return TRUE;
}

bool CKZARN_WizArea7LightForm::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::MouseButtonRelease &&
        static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
        if (watched == normalPicture_)
            OnPictureClicked(0);
        else if (watched == flashPicture_)
            OnPictureClicked(1);
    }
    return CKZARN_WizAreaBaseForm::eventFilter(watched, event);
}

void CKZARN_WizArea7LightForm::OnLightClicked(int lightSource)
{
    if (settings != nullptr && IsShownPage())
        settings->lightSource = lightSource;
}

void CKZARN_WizArea7LightForm::OnPictureClicked(int lightSource)
{
    QRadioButton* chosen = lightSource == 0 ? normal_ : flash_;
    chosen->setChecked(true);
    chosen->setFocus();
    OnLightClicked(lightSource);
}

void CKZARN_WizArea7LightForm::Refresh()
{
    if (settings == nullptr)
        return;
    (settings->lightSource == 0 ? normal_ : flash_)->setChecked(true);
}
