#include "ui/views/CKZARN_RefBaseForm.h"

CKZARN_RefBaseForm::CKZARN_RefBaseForm(int templateId, QWidget* parent) : ZarnViewChildForm(templateId, parent) {}

CKZARN_RefBaseForm::~CKZARN_RefBaseForm() = default;
