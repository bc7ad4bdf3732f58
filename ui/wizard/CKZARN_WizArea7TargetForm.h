// The chart choice of step 0: Gradus I, Gradus II, ColorChecker (with its three variants) or
// SpyderCHECKR, each with a picture of the chart that chooses it too.
#pragma once

#include "ui/wizard/CKZARN_WizAreaBaseForm.h"

class CCustomRadioButton;
class CStaticIcon;
class QGroupBox;
class QRadioButton;
class WizardClickableLabel;

class CKZARN_WizArea7TargetForm : public CKZARN_WizAreaBaseForm {
    Q_OBJECT
public:
    static constexpr int kTemplateId = 139;
    static constexpr int kGradus1Id = 1029;
    static constexpr int kGradus2Id = 1030;
    static constexpr int kColorCheckerId = 1031;
    static constexpr int kSpyderId = 1032;
    static constexpr int kPassportId = 1246;
    static constexpr int kClassicId = 1247;
    static constexpr int kMiniId = 1248;
    static constexpr int kVariantGroupId = 1249;

    explicit CKZARN_WizArea7TargetForm(QWidget* parent = nullptr);

    void Refresh() override;
    // Clicks of the chart radios (0..3 for 1029, 1030, 1031, 1032), the variant radios (0..2) and
    // the pictures (0..3 for 1148..1151; 1190 acts as 1151).
    void OnChartClicked(int index);
    void OnVariantClicked(int variant);
    void OnPictureClicked(int index);

protected:
    BOOL OnInitDialog() override;

private:
    void EnableVariants(bool enable);
    void ShowVariant();

    CCustomRadioButton* charts_[4] = {};
    QRadioButton* variants_[3] = {};
    QGroupBox* variantGroup_;
    CStaticIcon* markLeft_;
    CStaticIcon* markRight_;
    WizardClickableLabel* pictures_[4] = {};
    WizardClickableLabel* spyderLabel_;
};
