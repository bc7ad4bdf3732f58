#include "ui/wizard/CKZARN_WizArea6Form.h"

#include "core/CKZARN_Common.h"
#include "core/util/CLangTable.h"
#include "core/util/DecimalText.h"
#include "core/util/TextUtility.h"
#include "ui/wizard/CKZARN_WizardDlg.h"
#include "ui/wizard/WizardAppLink.h"
#include "ui/wizard/WizardData.h"
#include "ui/wizard/WizardGroupBox.h"

#include <QLabel>


namespace {

constexpr DialogLayoutItem kLayout[] = {
    {CKZARN_WizArea6Form::kTemplateId, 0, 0, 0, 630, 132},
    {1071, 101, 15, 8, 75, 13},
    {1073, 0, 100, 8, 180, 13},
    {1075, 0, 300, 8, 100, 13},
    {1072, 105, 425, 8, 150, 13},
    {1074, 0, 555, 8, 105, 13},
    {1052, 114, 15, 26, 150, 13},
    {1055, 0, 210, 26, 105, 13},
    {1149, 109, 15, 43, 335, 82},
    {1081, 115, 65, 57, 160, 13},
    {1082, 0, 265, 57, 40, 13},
    {1243, 161, 65, 57, 160, 13},
    {1093, 0, 265, 57, 50, 13},
    {1241, 162, 65, 74, 160, 13},
    {1092, 0, 265, 74, 50, 13},
    {1079, 116, 65, 91, 160, 13},
    {1080, 0, 265, 91, 40, 13},
    {1083, 117, 65, 108, 160, 13},
    {1084, 0, 265, 108, 40, 13},
    {1148, 110, 375, 43, 335, 82},
    {1087, 115, 425, 57, 160, 13},
    {1088, 0, 625, 57, 40, 13},
    {1244, 161, 425, 57, 160, 13},
    {1096, 0, 625, 57, 50, 13},
    {1242, 162, 425, 74, 160, 13},
    {1094, 0, 625, 74, 50, 13},
    {1085, 116, 425, 91, 160, 13},
    {1086, 0, 625, 91, 40, 13},
    {1089, 117, 425, 108, 160, 13},
    {1090, 0, 625, 108, 40, 13},
    {0, 0, 0, 0, 0, 0},
};

constexpr int kLabelIds[] = {1071, 1073, 1075, 1072, 1074, 1052, 1055, 1081, 1082, 1243, 1093, 1241, 1092, 1079,
                             1080, 1083, 1084, 1087, 1088, 1244, 1096, 1242, 1094, 1085, 1086, 1089, 1090};
// Reading rows as (label, value) pairs: shutter, frame rate, shutter angle, aperture, tenths.
constexpr int kIncidentRows[5][2] = {{1081, 1082}, {1243, 1093}, {1241, 1092}, {1079, 1080}, {1083, 1084}};
constexpr int kReflectedRows[5][2] = {{1087, 1088}, {1244, 1096}, {1242, 1094}, {1085, 1086}, {1089, 1090}};

} // namespace

CKZARN_WizArea6Form::CKZARN_WizArea6Form(QWidget* parent)
    : CKZARN_WizAreaBaseForm(kTemplateId, parent), incidentGroup_(new WizardGroupBox(this)), reflectedGroup_(new WizardGroupBox(this))
{
    AddControl(1149, incidentGroup_);
    AddControl(1148, reflectedGroup_);
    for (int id : kLabelIds)
        AddControl(id, new QLabel(this));
}

QLabel* CKZARN_WizArea6Form::Label(int id) const
{
    return qobject_cast<QLabel*>(FindControl(id));
}

BOOL CKZARN_WizArea6Form::OnInitDialog()
{
    if (owner == nullptr)
        return TRUE;
    CKZARN_Common::ApplyDialogLayout(this, kLayout, FALSE);
    FitTextRowsToFont();
    incidentGroup_->lower();
    reflectedGroup_->lower();
    return TRUE;
}

std::string CKZARN_WizArea6Form::FrameRateText(double typed, int code)
{
    if (typed != 0.0)
    {
        return DecimalText::Fixed(typed, 3, WizardAppLink::DecimalChar());
    }
    const std::string text = CKZARN_Common::FrameRateToText(code);
    return text == "24" ? "24.000" : text;
}

std::string CKZARN_WizArea6Form::ShutterAngleText(double typed, int code)
{
    if (typed != 999.999)
    {
        return DecimalText::Fixed(typed, 3, WizardAppLink::DecimalChar());
    }
    const std::string text = CKZARN_Common::ShutterAngleToText(code);
    return text == "180" ? "180.000" : text;
}

void CKZARN_WizArea6Form::Refresh()
{
    if (owner == nullptr || settings == nullptr)
        return;
    const WizardData& s = *settings;
    const int step = owner->GetStep();
    const bool mode1 = owner->GetMode() == 1;

    // Every text first.
    int chartText = 0;
    switch (s.target) {
    case 0: chartText = 102; break;
    case 1: chartText = 103; break;
    case 2: chartText = 154; break;
    case 5: chartText = 170; break;
    default: break;
    }
    const std::string chartName = ReplaceAll(GetLangString(chartText), "\n", " ");
    std::string variant;
    if (s.target == 2 && s.colorCheckerVariant >= 0 && s.colorCheckerVariant <= 2)
        variant = GetLangString(163 + s.colorCheckerVariant);
    const std::string light = GetLangString(s.lightSource == 0 ? 106 : 107);
    const std::string iso = CKZARN_Common::IsoToText(s.isoSpeed);
    const std::string incident[5] = {CKZARN_Common::ShutterTimeToText(s.ilShutterIndex),
                                     FrameRateText(s.ilFrameRate, s.ilFrameRateCode),
                                     ShutterAngleText(s.ilShutterAngle, s.ilShutterAngleCode),
                                     CKZARN_Common::ApertureToText(s.ilApertureIndex),
                                     CKZARN_Common::GetDigitText(s.ilTenths)};
    const std::string reflected[5] = {CKZARN_Common::ShutterTimeToText(s.rlShutterIndex),
                                      FrameRateText(s.rlFrameRate, s.rlFrameRateCode),
                                      ShutterAngleText(s.rlShutterAngle, s.rlShutterAngleCode),
                                      CKZARN_Common::ApertureToText(s.rlApertureIndex),
                                      CKZARN_Common::GetDigitText(s.rlTenths)};

    const bool showChart = step >= 1 && step <= 5;
    const bool showLight = mode1 && step >= 2 && step <= 5;
    const bool showReadings = step >= 3 && step <= 5;

    const auto set = [this](int id, const std::string& text) { Label(id)->setText(CKZARN_Common::ToWidgetText(text)); };
    set(1073, chartName);
    set(1075, variant);
    set(1074, light);
    set(1055, iso);
    for (int r = 0; r < 5; ++r) {
        set(kIncidentRows[r][1], incident[r]);
        set(kReflectedRows[r][1], reflected[r]);
    }

    Label(1071)->setVisible(showChart);
    Label(1073)->setVisible(showChart);
    if (s.target == 5) {
        Label(1073)->setGeometry(100, Label(1073)->y(), 320, Label(1073)->height());
        Label(1075)->setVisible(false);
    } else {
        Label(1073)->setGeometry(100, Label(1073)->y(), 200, Label(1073)->height());
        Label(1075)->setVisible(showChart);
    }
    Label(1072)->setVisible(showLight);
    Label(1074)->setVisible(showLight);
    Label(1052)->setVisible(showReadings);
    Label(1055)->setVisible(showReadings);
    incidentGroup_->setVisible(showReadings);
    reflectedGroup_->setVisible(showReadings);
    const auto showRow = [this](const int row[2], bool visible) {
        Label(row[0])->setVisible(visible);
        Label(row[1])->setVisible(visible);
    };
    for (const auto* rows : {kIncidentRows, kReflectedRows}) {
        if (!showReadings) {
            for (int r = 0; r < 5; ++r)
                showRow(rows[r], false);
            continue;
        }
        showRow(rows[3], true);
        showRow(rows[4], true);
        if (s.cineMode == 0 || s.cineMode == 1) {
            const bool cine = s.cineMode == 1;
            showRow(rows[0], !cine);
            showRow(rows[1], cine);
            showRow(rows[2], cine);
        }
    }
}
