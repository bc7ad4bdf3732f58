// The wizard's summary panel: the chart, the light source, the ISO speed and both meter readings
// chosen so far, shown as far as the current step has asked for them.
#pragma once

#include "ui/wizard/CKZARN_WizAreaBaseForm.h"

#include <string>

class QGroupBox;
class QLabel;

class CKZARN_WizArea6Form : public CKZARN_WizAreaBaseForm {
    Q_OBJECT
public:
    static constexpr int kTemplateId = 136;

    explicit CKZARN_WizArea6Form(QWidget* parent = nullptr);

    void Refresh() override;
    QLabel* Label(int id) const;

    // The shown texts of a typed or coded frame rate and shutter angle.
    static std::string FrameRateText(double typed, int code);
    static std::string ShutterAngleText(double typed, int code);

protected:
    BOOL OnInitDialog() override;

private:
    QGroupBox* incidentGroup_;
    QGroupBox* reflectedGroup_;
};
