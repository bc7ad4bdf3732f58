// The ISO page of the multiple reference view: one saved profile at up to five ISO speeds, one
// curve each. ISO speeds with a table of their own carry an icon in all five ISO combos.
#pragma once

#include "ui/views/CET_GraphLine.h"
#include "ui/views/CKZARN_RefBaseForm.h"

#include <string>
#include <vector>

class CKZARN_RefMultiDlg;
class CStaticHLine;
class QComboBox;

class CKZARN_RefIsoForm : public CKZARN_RefBaseForm {
    Q_OBJECT
public:
    static constexpr int kTemplateId = 151;
    static constexpr int kProfileComboId = 1031;
    static constexpr int kLockId = 100;

    CKZARN_RefIsoForm(CKZARN_RefMultiDlg* owner, QWidget* parent);
    ~CKZARN_RefIsoForm() override;

    BOOL OnInitDialog() override;
    void InitControls();
    void BuildCurves(std::vector<CET_GraphLine*>* curves, int light, int photo);
    void GetProfileName(std::string* name) const;
    void OnProfileChange();
    void OnIsoChange();
    void SetIsoMark(int iso, int flag);
    void ClearIsoMarks();

    // Slot 1 to 5: its ISO combo and its line sample.
    QComboBox* IsoCombo(int slot) const;
    CStaticHLine* Sample(int slot) const;
    QComboBox* ProfileCombo() const { return profileCombo; }
    bool IsoMarked(int iso) const;

private:
    CKZARN_RefMultiDlg* owner;
    // In member order: the combos 1216, 1215, 1214, 1213, 1212.
    QComboBox* isoCombos[5] = {};
    QComboBox* profileCombo = nullptr;
    CStaticHLine* samples[7] = {};
    int isoMarkPass = 1;
};
