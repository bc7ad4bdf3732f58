// The manual profile entry: a profile typed in by hand, ISO by ISO, for each light source and
// metering block, with a compact graph of the selected row's points above the grid. Mode 0 makes a
// new profile (saved as format 3.1 under a name asked for once); mode 2 edits a saved one in place.
#pragma once

#include "ui/controls/CKZARN_ModalBaseDlg.h"
#include "ui/views/CharacteristicPoints.h"

#include <functional>
#include <string>

class CKZARN_ManualDataForm;
class CKZARN_ManualGraphForm;
class QComboBox;
class QPushButton;

class CKZARN_ManualDlg : public CKZARN_ModalBaseDlg {
    Q_OBJECT
public:
    static constexpr int kTemplateId = 197;
    static constexpr int kCancelId = 1049;
    static constexpr int kSaveId = 1047;

    explicit CKZARN_ManualDlg(QWidget* parent = nullptr);
    ~CKZARN_ManualDlg() override;

    // 0 new, 2 edit; only before the dialog starts.
    void SetMode(int newMode);
    void SetProfileName(const std::string& name) { profileName = name; }

    BOOL OnInitDialog();
    int exec() override;
    void InitForms();

    int GetLight() const;
    int GetPhoto() const;
    int GetMode() const { return mode; }
    const std::string& GetProfileName() const { return profileName; }
    int GetSelectedIso() const;
    void GetSelectedRowPoints(CharacteristicPoints* points) const;

    static int OnGridValue(void* context, int column, double value);
    static int OnRedrawGraph(void* context);
    static int OnRowActivated(void* context);
    static void OnMarkerMoved(void* context, int marker, double ev);

    void OnLightChange();
    void OnPhotoChange();
    void OnCancel();
    void OnSave();
    // TRUE once the profile was written; FALSE when nothing was (not modified, empty, name dialog
    // cancelled, or the write failed, which is reported).
    BOOL Save();

    // Asks for a new profile's name; false when cancelled. Replaceable so tests can answer.
    std::function<bool(std::string* chosen)> askSaveName;

    int IsModified() const { return modified; }
    CKZARN_ManualDataForm* DataForm() const { return dataForm; }
    CKZARN_ManualGraphForm* GraphForm() const { return graphForm; }
    QComboBox* LightCombo() const { return lightCombo; }
    QComboBox* PhotoCombo() const { return photoCombo; }
    QPushButton* SaveButton() const { return saveButton; }

public slots:
    void accept() override; // Enter never closes the dialog
    void reject() override; // Escape and the close box ask as Cancel does

private:
    void AfterAcceptedChange();
    void RedrawGraph();

    QComboBox* photoCombo = nullptr;
    QComboBox* lightCombo = nullptr;
    int modified = 0;
    int mode = 0;
    std::string profileName;
    CKZARN_ManualDataForm* dataForm = nullptr;
    CKZARN_ManualGraphForm* graphForm = nullptr;
    CharacteristicPoints points;
    QPushButton* saveButton = nullptr;
    bool initialised = false;
    bool endRequested = false;
};
