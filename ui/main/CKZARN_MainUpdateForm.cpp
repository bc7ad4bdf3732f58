#include "ui/main/CKZARN_MainUpdateForm.h"

CKZARN_MainUpdateForm::CKZARN_MainUpdateForm(QWidget* parent) : CKZARN_MainBaseForm(kTemplateId, parent) {}

CKZARN_MainUpdateForm::~CKZARN_MainUpdateForm() = default;

BOOL CKZARN_MainUpdateForm::OnConnectionChanged(int /*connected*/)
{
    return TRUE;
}
