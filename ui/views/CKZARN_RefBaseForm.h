// Base of the pages of the reference views: a child form placed on a tab control.
#pragma once

#include "ui/views/ZarnViewChildForm.h"

class CKZARN_RefBaseForm : public ZarnViewChildForm {
    Q_OBJECT
public:
    CKZARN_RefBaseForm(int templateId, QWidget* parent);
    ~CKZARN_RefBaseForm() override;
};
