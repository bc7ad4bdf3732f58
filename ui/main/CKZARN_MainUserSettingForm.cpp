#include "ui/main/CKZARN_MainUserSettingForm.h"

CKZARN_MainUserSettingForm::CKZARN_MainUserSettingForm(QWidget* parent)
    : CKZARN_MainBaseForm(kTemplateId, parent)
{
}

CKZARN_MainUserSettingForm::~CKZARN_MainUserSettingForm() = default;

void CKZARN_MainUserSettingForm::Refresh(int /*connected*/) {}
