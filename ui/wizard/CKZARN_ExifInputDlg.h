// The dialog in which the user supplies the exposure values a photograph's Exif data lacks: ISO,
// shutter time or (for cine readings) frame rate and shutter angle, and aperture. Values read from
// the photograph are shown read-only; missing ones are chosen from lists, and frame rate and shutter
// angle may also be typed as decimal numbers.
#pragma once

#include "core/ControlHost.h"
#include "platform/WinTypes.h"
#include "ui/wizard/ExifInputValues.h"

#include <QDialog>

#include <map>
#include <string>

class CNoContextEdit;
class QComboBox;
class QLabel;
class QPushButton;

class CKZARN_ExifInputDlg : public QDialog, public ControlHost {
    Q_OBJECT
public:
    static constexpr int kTemplateId = 168;
    static constexpr int kIsoComboId = 1122;
    static constexpr int kShutterComboId = 1032;
    static constexpr int kFrameRateComboId = 1034;
    static constexpr int kShutterAngleComboId = 1035;
    static constexpr int kApertureComboId = 1033;
    static constexpr int kFileNameEditId = 1023;
    static constexpr int kIsoEditId = 1024;
    static constexpr int kShutterEditId = 1025;
    static constexpr int kApertureEditId = 1026;
    static constexpr int kFrameRateEditId = 1027;
    static constexpr int kShutterAngleEditId = 1028;
    static constexpr std::size_t kFrameRateMaxLength = 8;
    static constexpr std::size_t kShutterAngleMaxLength = 7;

    explicit CKZARN_ExifInputDlg(QWidget* parent = nullptr);
    ~CKZARN_ExifInputDlg() override;

    void SetFileName(const std::string& name) { fileName_ = name; }
    void SetValues(const ExifInputValues& record) { values_.Assign(record); }
    ExifInputValues* GetValues() { return &values_; }
    int cineMode = 0;

    // Initialises and runs the dialog; IDOK or IDCANCEL.
    int DoModal();
    virtual BOOL OnInitDialog();

    // Whether a photograph's record lacks a value the calculation needs.
    static bool IsInputNeeded(const ExifInputValues& record, int cine);
    // The typed-number test with the application's decimal character.
    static bool IsValidDecimalText(const std::string& text, int maxLength);

    void OnSelChangeIso();
    void OnSelChangeShutter();
    void OnSelChangeFrameRate();
    void OnSelChangeShutterAngle();
    void OnSelChangeAperture();
    void OnEditUpdateFrameRate();
    void OnEditUpdateShutterAngle();
    void OnKillFocusFrameRate();
    void OnKillFocusShutterAngle();
    void UpdateOkButton();
    void UpdateOkButtonTyped();

    QWidget* HostWidget() override { return this; }
    QWidget* FindControl(int id) const override;
    QComboBox* Combo(int id) const;
    QPushButton* OkButton() const { return ok_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    static int SelectedData(QComboBox* combo);
    void EditUpdate(QComboBox* combo, std::size_t maxLength, std::string& lastValid, const char* fallback);
    void KillFocus(QComboBox* combo, double upper, std::string& committed, std::string& lastValid, double* typed);

    std::map<int, QWidget*> controls_;
    QPushButton* ok_;
    QPushButton* cancel_;
    std::string fileName_;
    ExifInputValues values_;
    std::string committedFrameRate_;
    std::string lastFrameRate_;
    std::string committedShutterAngle_;
    std::string lastShutterAngle_;
};
