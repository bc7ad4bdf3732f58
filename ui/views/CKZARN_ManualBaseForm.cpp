#include "ui/views/CKZARN_ManualBaseForm.h"

CKZARN_ManualBaseForm::CKZARN_ManualBaseForm(int templateId, QWidget* parent)
    : ZarnViewChildForm(templateId, parent)
{
}

CKZARN_ManualBaseForm::~CKZARN_ManualBaseForm() = default;
