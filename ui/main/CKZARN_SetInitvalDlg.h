// The dialog of the five initial output levels that the profile tools start from (CPM, DRM, CNT,
// DRP, CPP). It shows the user's levels, offers the program's defaults, and stores the user's levels
// on OK when each is a whole number from 0 to 255 and they do not decrease from CPM to CPP.
#pragma once

#include "core/ControlHost.h"
#include "platform/WinTypes.h"

#include <QDialog>

#include <array>
#include <map>
#include <optional>
#include <string>

class CCustomEdit;
class CHAlignLabel;
class QPushButton;
struct ZarnAppSettings;

class CKZARN_SetInitvalDlg : public QDialog, public ControlHost {
    Q_OBJECT
public:
    static constexpr int kTemplateId = 159;
    static constexpr int kDefaultsId = 1024;
    // Edits of CPP, DRP, CNT, DRM, CPM.
    static constexpr int kCppEditId = 1066;
    static constexpr int kDrpEditId = 1067;
    static constexpr int kCntEditId = 1068;
    static constexpr int kDrmEditId = 1069;
    static constexpr int kCpmEditId = 1070;

    // settings: the levels to show and change; null takes the application's.
    explicit CKZARN_SetInitvalDlg(QWidget* parent, ZarnAppSettings* settings = nullptr);
    ~CKZARN_SetInitvalDlg() override;

    int DoModal();
    virtual BOOL OnInitDialog();
    void OnDefaults();
    void OnOK();

    // A level typed into an edit: a whole number of at most three digits, nothing else.
    static std::optional<int> ParseLevel(const std::string& text);

    QWidget* HostWidget() override { return this; }
    QWidget* FindControl(int id) const override;

public slots:
    void accept() override;

private:
    void ShowLevels(int cpm, int drm, int cnt, int drp, int cpp);

    QPushButton* defaults_;
    std::array<CCustomEdit*, 5> edits_{};
    std::array<CHAlignLabel*, 5> labels_{};
    ZarnAppSettings* settings_;
    std::map<int, QWidget*> controls_;
};
