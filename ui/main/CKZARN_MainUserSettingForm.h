// The user-settings page (third tab): for now its frame and the refresh the main window calls
// with every connection message.
#pragma once

#include "ui/main/CKZARN_MainBaseForm.h"

class CKZARN_MainUserSettingForm : public CKZARN_MainBaseForm {
    Q_OBJECT
public:
    static constexpr int kTemplateId = 193;

    explicit CKZARN_MainUserSettingForm(QWidget* parent = nullptr);
    ~CKZARN_MainUserSettingForm() override;

    // connected: 1 a meter became present, 0 it went away.
    virtual void Refresh(int connected);
};
