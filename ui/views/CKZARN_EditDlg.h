// The profile editor: the user picks a saved profile, a light source, a metering block and an ISO
// speed, and adjusts the five points of that table by dragging their markers in the graph or by
// typing an EV or a level. Accepted changes go into the profile in memory at once; the file is
// written when the user confirms saving on leaving or on choosing another profile. The file shown
// is held locked against other writers while it is shown.
#pragma once

#include "profilelib/ZarnLib_PatchKey.h"
#include "profilelib/ZarnLib_Profile.h"
#include "ui/controls/CKZARN_ModalBaseDlg.h"
#include "ui/views/CET_GraphLine.h"
#include "ui/views/CET_GraphStyle.h"
#include "ui/views/CKZARN_EditValueRules.h"
#include "ui/views/CKZARN_ProfileTableAccess.h"

#include <functional>
#include <memory>
#include <string>

class CCustomEdit;
class CHAlignLabel;
class CKZARN_GparhWindow;
class CStaticDeltaSymbol;
class QComboBox;
class QPushButton;

class CKZARN_EditDlg : public CKZARN_ModalBaseDlg {
    Q_OBJECT
public:
    static constexpr int kTemplateId = 144;
    static constexpr int kIsoComboId = 1154;
    static constexpr int kProfileComboId = 1031;
    static constexpr int kBackId = 1046;
    static constexpr int kMeteringComboId = 1119;
    static constexpr int kLightComboId = 1118;
    static constexpr int kGraphId = 1095;

    explicit CKZARN_EditDlg(QWidget* parent = nullptr);
    ~CKZARN_EditDlg() override;

    // Builds the controls, fills the combos and shows the empty graph. exec() calls it first.
    BOOL OnInitDialog();
    int exec() override;

    void RefreshGraph();
    void ApplyValue(int controlId, double value, int mode);
    int RebuildCurve(int newLevel);
    // 1 when the dialog may go on (nothing to save, saved or discarded), 0 to stay.
    int ConfirmSave();
    void OnProfileChange();
    void OnBack();
    // The graph window's marker callback: markers 0, 1, 3, 4 are CPM, DRM, DRP, CPP.
    static void OnMarkerMoved(void* context, int marker, double ev);
    // Enter in a field (mode 1) or the field left (mode 2): its text applied as a number.
    void OnFieldEntered(int controlId, int mode);
    // A field left: its text applied as when Enter is pressed, in mode 2.
    void OnEditKillFocus(int controlId);
    // Escape and the close box: the back button's question, then the end with IDOK.
    void OnCancel();

    // Asks for a name to save under (the profile chooser); false when cancelled. Replaceable so
    // that the program's chooser can be handed in.
    std::function<bool(const std::string& preset, std::string* chosen)> askSaveName;

    int IsModified() const { return modified; }
    const std::string& ProfileName() const { return profileName; }
    int IsLoaded() const { return loaded; }
    ZarnLib_Profile& Profile() { return profile; }
    const CKZARN_EditValueRules& Rules() const { return rules; }
    CCustomEdit* Field(int controlId) const;
    QComboBox* ProfileCombo() const { return profileCombo; }
    QComboBox* IsoCombo() const { return isoCombo; }
    QComboBox* LightCombo() const { return lightCombo; }
    QComboBox* MeteringCombo() const { return meteringCombo; }
    int BeepCount() const { return beeps; }
    CKZARN_GparhWindow* GraphWindow() const { return graphWindow; }
    // How many times the ISO icons were worked out (tests check when that happens).
    int IsoIconPasses() const { return isoIconPasses; }

public slots:
    void accept() override; // Enter never closes the editor
    void reject() override; // Escape and the close box ask as the back button does

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void BuildControls();
    void FillProfileCombo();
    void SelectProfileName(const std::string& name);
    void ShowPointFields(int point);
    void ShowAllFields();
    void UpdateIsoIcons();
    void Beep();
    void PostProfilesChanged();
    // Hands the curve and the current points to the graph window and redraws it.
    void ShowGraph();
    // Takes the locks of the shown file again (after a save, or a save that did not happen).
    void RelockShownFile();

    QComboBox* isoCombo = nullptr;
    QComboBox* profileCombo = nullptr;
    QPushButton* backButton = nullptr;
    QComboBox* meteringCombo = nullptr;
    QComboBox* lightCombo = nullptr;
    CCustomEdit* drpEv = nullptr;
    CCustomEdit* drpLevel = nullptr;
    CCustomEdit* drmEv = nullptr;
    CCustomEdit* drmLevel = nullptr;
    CCustomEdit* cntLevel = nullptr;
    CCustomEdit* cppEv = nullptr;
    CCustomEdit* cppLevel = nullptr;
    CCustomEdit* cpmEv = nullptr;
    CCustomEdit* cpmLevel = nullptr;
    CStaticDeltaSymbol* triangles[4] = {};
    CHAlignLabel* labels[5] = {};
    int isoIcons = 1;
    int modified = 0;
    CKZARN_GparhWindow* graphWindow = nullptr;
    ZarnLib_PatchKey key;
    int block = 0;
    CET_GraphStyle style;
    CET_GraphLine curve;
    CKZARN_EditValueRules rules;
    std::unique_ptr<CKZARN_ProfileTableAccess> access;
    std::string profileName;
    ZarnLib_Profile profile;
    int loaded = 0;
    bool initialised = false;
    bool inFieldApply = false;
    int beeps = 0;
    int isoIconPasses = 0;
};
