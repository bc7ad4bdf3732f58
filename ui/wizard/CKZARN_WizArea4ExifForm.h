// The photograph-data page of steps 3 and 4: the exposure values of the selected photograph, the
// brightness adjustment that goes into the calculation (typed at step 3) and the slider that only
// brightens or darkens the displayed picture (step 4).
#pragma once

#include "ui/wizard/CKZARN_WizAreaBaseForm.h"
#include "ui/wizard/WizardPhotoDataPage.h"

#include <string>

class CCustomEdit;
class CHAlignLabel;
class CNoContextEdit;
class QGroupBox;
class QLabel;
class QSlider;

class CKZARN_WizArea4ExifForm : public CKZARN_WizAreaBaseForm, public WizardPhotoDataPage {
    Q_OBJECT
public:
    static constexpr int kTemplateId = 134;
    static constexpr int kFileNameId = 1026;
    static constexpr int kIsoId = 1023;
    static constexpr int kShutterId = 1024;
    static constexpr int kFrameRateId = 1027;
    static constexpr int kShutterAngleId = 1028;
    static constexpr int kApertureId = 1025;
    static constexpr int kAdjustCaptionId = 1058;
    static constexpr int kAdjustId = 1059;
    static constexpr int kSliderId = 1184;
    static constexpr int kBrightnessCaptionId = 1185;
    static constexpr int kMinusId = 1199;
    static constexpr int kPlusId = 1200;

    explicit CKZARN_WizArea4ExifForm(QWidget* parent = nullptr);
    ~CKZARN_WizArea4ExifForm() override;

    void Refresh() override;
    void ShowPhoto(const std::string& path, const ExifInputValues* record) override;
    double GetBrightnessAdjust() override { return brightnessAdjust_; }

    double ParseBrightness();
    void OnKillFocusBrightness();
    void OnBrightnessSlider();

    // Tenths rounded half away from zero, and the text of a brightness adjustment ("%.1f" for 0,
    // "%+.1f" otherwise).
    static double RoundTenths(double value);
    static std::string BrightnessText(double value);
    // The picture's brightness level of a slider position, and the position of a level.
    static int LevelOfPosition(int position);
    static int PositionOfLevel(int level);

protected:
    BOOL OnInitDialog() override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    CHAlignLabel* plusEnd_;
    CHAlignLabel* minusEnd_;
    CHAlignLabel* brightnessCaption_;
    QSlider* slider_;
    CNoContextEdit* fileName_;
    CNoContextEdit* iso_;
    QLabel* shutterCaption_;
    CNoContextEdit* shutter_;
    QLabel* frameRateCaption_;
    CNoContextEdit* frameRate_;
    QLabel* shutterAngleCaption_;
    CNoContextEdit* shutterAngle_;
    CNoContextEdit* aperture_;
    CHAlignLabel* adjustCaption_;
    CCustomEdit* adjust_;
    double brightnessAdjust_ = 0.0;
    int busy_ = 0;
};
