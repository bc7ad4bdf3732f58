// The custom-settings page (second tab): for now its frame and the refresh the main window calls
// with every connection message.
#pragma once

#include "ui/main/CKZARN_MainBaseForm.h"

class CKZARN_MainCustomSettingForm : public CKZARN_MainBaseForm {
    Q_OBJECT
public:
    static constexpr int kTemplateId = 194;

    explicit CKZARN_MainCustomSettingForm(QWidget* parent = nullptr);
    ~CKZARN_MainCustomSettingForm() override;

    // connected: 1 a meter became present, 0 it went away.
    virtual void Refresh(int connected);
};
