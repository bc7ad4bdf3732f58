// Base of the two forms of the manual profile entry: child forms of the dialog.
#pragma once

#include "ui/views/ZarnViewChildForm.h"

class CKZARN_ManualBaseForm : public ZarnViewChildForm {
    Q_OBJECT
public:
    CKZARN_ManualBaseForm(int templateId, QWidget* parent);
    ~CKZARN_ManualBaseForm() override;
};
