// The meter-readings page of step 2: the ISO setting and the incident-light and reflected-light
// readings (shutter time, or frame rate and shutter angle for cine readings, aperture and tenths).
// Choices go straight into the wizard's settings block; frame rates and shutter angles may also be
// typed as decimal numbers, which are committed when their field loses the focus. The ISO list
// marks the ISO speeds that already have a result in the wizard's temporary profile.
#pragma once

#include "ui/wizard/CKZARN_WizAreaBaseForm.h"

#include <string>

class CStaticIcon;
class QComboBox;

class CKZARN_WizArea7MeasureForm : public CKZARN_WizAreaBaseForm {
    Q_OBJECT
public:
    static constexpr int kTemplateId = 141;
    static constexpr int kIsoId = 1154;
    static constexpr int kRlApertureId = 1041;
    static constexpr int kIlApertureId = 1100;
    static constexpr int kRlTenthsId = 1032;
    static constexpr int kIlTenthsId = 1101;
    static constexpr int kRlShutterId = 1040;
    static constexpr int kIlShutterId = 1099;
    static constexpr int kRlFrameRateId = 1042;
    static constexpr int kIlFrameRateId = 1102;
    static constexpr int kRlShutterAngleId = 1033;
    static constexpr int kIlShutterAngleId = 1031;

    explicit CKZARN_WizArea7MeasureForm(QWidget* parent = nullptr);
    ~CKZARN_WizArea7MeasureForm() override;

    void Refresh() override;

    void OnSelChangeIso();
    void OnSelChangeIlShutter();
    void OnSelChangeRlShutter();
    void OnSelChangeIlAperture();
    void OnSelChangeRlAperture();
    void OnSelChangeIlTenths();
    void OnSelChangeRlTenths();
    void OnSelChangeIlFrameRate();
    void OnSelChangeRlFrameRate();
    void OnSelChangeIlShutterAngle();
    void OnSelChangeRlShutterAngle();
    void OnEditUpdateIlFrameRate();
    void OnEditUpdateRlFrameRate();
    void OnEditUpdateIlShutterAngle();
    void OnEditUpdateRlShutterAngle();
    void OnKillFocusIlFrameRate();
    void OnKillFocusRlFrameRate();
    void OnKillFocusIlShutterAngle();
    void OnKillFocusRlShutterAngle();

    static bool IsValidDecimalText(const std::string& text, int maxLength);

    QComboBox* Combo(int id) const;

protected:
    BOOL OnInitDialog() override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // The typed texts: incident frame rate, incident shutter angle, reflected frame rate,
    // reflected shutter angle.
    enum Typed { kIlRate = 0, kIlAngle = 1, kRlRate = 2, kRlAngle = 3 };

    void InitControls();
    bool Active() const;
    int SelectedData(int id) const;
    void SelectFrameRate(Typed which, int* code, double* typed);
    void SelectShutterAngle(Typed which, int* code, double* typed);
    void EditUpdate(Typed which, int maxLength);
    // format: 1 frame rate ("%4.3f"), 2 shutter angle ("%3.3f").
    void Commit(Typed which, double low, double high, int format, double* value);
    void ShowTyped(Typed which, int comboId, double typed, double none, int code);
    static int ComboIdOf(Typed which);

    QComboBox* iso_;
    CStaticIcon* incidentPicture_;
    CStaticIcon* reflectedPicture_;
    std::string committed_[4];
    std::string lastValid_[4];
};
