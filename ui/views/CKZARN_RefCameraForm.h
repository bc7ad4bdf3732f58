// The camera page of the multiple reference view: up to five saved profiles, one curve each, at one
// ISO speed. Each slot's line sample shows its curve's colour, solid or dotted.
#pragma once

#include "ui/views/CET_GraphLine.h"
#include "ui/views/CKZARN_RefBaseForm.h"

#include <vector>

class CKZARN_RefMultiDlg;
class CStaticHLine;
class QComboBox;

class CKZARN_RefCameraForm : public CKZARN_RefBaseForm {
    Q_OBJECT
public:
    static constexpr int kTemplateId = 150;
    static constexpr int kIsoComboId = 1122;

    CKZARN_RefCameraForm(CKZARN_RefMultiDlg* owner, QWidget* parent);
    ~CKZARN_RefCameraForm() override;

    BOOL OnInitDialog() override;
    void InitControls();
    // Appends the curve of every chosen profile at the chosen ISO; locks their files.
    void BuildCurves(std::vector<CET_GraphLine*>* curves, int light, int photo);
    int GetIso() const;
    void OnIsoChange();
    void OnProfileChange(QComboBox* combo);

    // Slot 1 to 5: its profile combo and its line sample.
    QComboBox* ProfileCombo(int slot) const;
    CStaticHLine* Sample(int slot) const;
    QComboBox* IsoCombo() const { return isoCombo; }

private:
    CKZARN_RefMultiDlg* owner;
    // In member order: the combos 1036, 1035, 1034, 1032, 1031.
    QComboBox* profileCombos[5] = {};
    QComboBox* isoCombo = nullptr;
    CStaticHLine* samples[7] = {};
};
