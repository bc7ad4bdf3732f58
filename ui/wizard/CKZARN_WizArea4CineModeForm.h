// The switch of step 2 between normal readings (shutter speeds) and cine readings (frame rates and
// shutter angles); it shows the matching rows of the meter-readings page.
#pragma once

#include "ui/wizard/CKZARN_WizAreaBaseForm.h"

class QGroupBox;
class QRadioButton;

class CKZARN_WizArea4CineModeForm : public CKZARN_WizAreaBaseForm {
    Q_OBJECT
public:
    static constexpr int kTemplateId = 203;
    static constexpr int kNormalId = 1239;
    static constexpr int kCineId = 1240;
    static constexpr int kGroupId = 1238;
    // The readings page's controls: shutter-speed labels and combos, frame-rate labels and combos,
    // shutter-angle labels and combos (incident, reflected).
    static constexpr int kShutterControls[4] = {1081, 1087, 1099, 1040};
    static constexpr int kCineControls[8] = {1243, 1244, 1102, 1042, 1241, 1242, 1031, 1033};

    explicit CKZARN_WizArea4CineModeForm(QWidget* parent = nullptr);

    void Refresh() override;
    void OnNormalClicked();
    void OnCineClicked();

protected:
    BOOL OnInitDialog() override;

private:
    void ShowReadingRows(bool cine);

    QRadioButton* normal_;
    QRadioButton* cine_;
    QGroupBox* group_;
};
