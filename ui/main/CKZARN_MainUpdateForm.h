// The update page (fourth tab): for now its frame and the connection notice that the main window
// gives this page alone.
#pragma once

#include "ui/main/CKZARN_MainBaseForm.h"

class CKZARN_MainUpdateForm : public CKZARN_MainBaseForm {
    Q_OBJECT
public:
    static constexpr int kTemplateId = 195;

    explicit CKZARN_MainUpdateForm(QWidget* parent = nullptr);
    ~CKZARN_MainUpdateForm() override;

    // connected: 1 a meter became present, 0 it went away.
    virtual BOOL OnConnectionChanged(int connected);
};
