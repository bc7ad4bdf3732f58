#include "ui/main/CKZARN_MainCustomSettingForm.h"

CKZARN_MainCustomSettingForm::CKZARN_MainCustomSettingForm(QWidget* parent)
    : CKZARN_MainBaseForm(kTemplateId, parent)
{
}

CKZARN_MainCustomSettingForm::~CKZARN_MainCustomSettingForm() = default;

void CKZARN_MainCustomSettingForm::Refresh(int /*connected*/) {}
