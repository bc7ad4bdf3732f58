// The single reference view: one saved profile, or one slot of a meter backup file, read-only as
// a data table and (for a saved profile) as a graph, for the chosen light source and metering
// block. The shown file is held locked while it is shown.
#pragma once

#include "ui/controls/CKZARN_ModalBaseDlg.h"

#include <string>
#include <vector>

class CKZARN_RefDataForm;
class CKZARN_RefGraphForm;
class CNoContextEdit;
class QComboBox;
class QPushButton;
class QTabWidget;

class CKZARN_RefSingleDlg : public CKZARN_ModalBaseDlg {
    Q_OBJECT
public:
    static constexpr int kTemplateId = 145;
    static constexpr int kProfileComboId = 1031;
    static constexpr int kSlotComboId = 1033;
    static constexpr int kTabId = 1120;

    explicit CKZARN_RefSingleDlg(QWidget* parent = nullptr);
    ~CKZARN_RefSingleDlg() override;

    // Backup mode: the backup file and the names of its slots (before the dialog runs).
    void SetBackupProfiles(const std::string& path, const std::vector<std::string>& names, int count);

    BOOL OnInitDialog();
    int exec() override;
    void InitForms();
    void OnTabChange();
    void OnProfileChange();
    void OnLightOrPhotoChange();
    // The light and photo combos: the page of the current tab is shown again.
    void OnLightChange();
    void OnPhotoChange();
    // The page-setup button: the print dialog in its setup-only form.
    void OnPageSetup();
    void OnSlotChange();
    void OnBack();
    int OnPrint();
    int OnPreview();
    // Ends the view (a backup that cannot be read); before the dialog runs it does not run at all.
    void EndView();

    int IsBackupMode() const { return backupMode; }
    void GetSelection(std::string* pathOut, int* light, int* photo) const;
    void GetBackupSelection(std::string* pathOut, int* light, int* photo, int* slot, std::string* slotName) const;

    CKZARN_RefDataForm* DataForm() const { return dataForm; }
    CKZARN_RefGraphForm* GraphForm() const { return graphForm; }
    QComboBox* ProfileCombo() const { return profileCombo; }
    QComboBox* SlotCombo() const { return slotCombo; }
    QComboBox* LightCombo() const { return lightCombo; }
    QComboBox* PhotoCombo() const { return photoCombo; }
    QTabWidget* Tab() const { return tab; }
    CNoContextEdit* FileEdit() const { return fileEdit; }
    const std::string& Path() const { return path; }
    const std::vector<std::string>& SlotNames() const { return slotNames; }

public slots:
    // The close box and Escape end the view with IDCANCEL; the back button ends it with IDOK.
    void reject() override;

private:
    QComboBox* profileCombo = nullptr;
    QComboBox* photoCombo = nullptr;
    QComboBox* lightCombo = nullptr;
    QTabWidget* tab = nullptr;
    QComboBox* slotCombo = nullptr;
    CNoContextEdit* fileEdit = nullptr;
    CKZARN_RefDataForm* dataForm = nullptr;
    CKZARN_RefGraphForm* graphForm = nullptr;
    std::string path;
    int backupMode = 0;
    std::vector<std::string> slotNames;
    bool initialised = false;
    bool endRequested = false;
};
