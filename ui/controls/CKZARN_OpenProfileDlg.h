// The profile chooser: lists the profiles of the Profile folder and either lets the user pick one or
// more existing profiles (mode 1) or type the name of a new one (mode 0), checked against the naming
// rules. Owners set it up through the setters and the two filters before DoModal; the results stay
// readable afterwards.
#pragma once

#include "core/ControlHost.h"
#include "platform/WinTypes.h"

#include <QDialog>

#include <map>
#include <string>
#include <vector>

class CKZARN_ProfileListCtrl;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

class CKZARN_OpenProfileDlg : public QDialog, public ControlHost {
    Q_OBJECT
public:
    static constexpr int kTemplateId = 152;
    static constexpr int kPromptId = 1143;
    static constexpr int kNameEditId = 1105;
    static constexpr int kVersionLabelId = 1144;
    static constexpr int kVersionComboId = 1031;
    static constexpr int kListId = 1002;
    static constexpr int kOkId = 1145;
    static constexpr int kCancelId = 1146;

    CKZARN_OpenProfileDlg(int mode, QWidget* parent);
    ~CKZARN_OpenProfileDlg() override;

    void SetMultiSelect(BOOL flag) { multiSelect_ = flag; }
    void SetPresetName(const std::string& name) { presetName_ = name; }
    // The name a rename starts from: also shown in the edit.
    void SetRenameSource(const std::string& name);
    void SetTextIds(int captionId, int promptId);
    void ShowVersionChoice(BOOL flag) { showVersion_ = flag; }

    int DoModal();
    virtual BOOL OnInitDialog();

    std::string GetSelectedName() const;
    int GetSelectedNames(std::vector<std::string>* names) const;
    std::string GetSelectedProfilePath() const;
    int GetKpfVersion() const { return kpfVersion_; }

    // Filters of CKZARN_Common::ListProfileNames (0 any; major 1 only 2, 2 only 3; minor 1 only 0,
    // 2 only 1); the callers set them directly.
    int majorFilter = 0;
    int minorFilter = 0;

    // The default push button: checks the text and ends the dialog when it is accepted.
    void OnOK();
    CKZARN_ProfileListCtrl* List() const { return list_; }

    QWidget* HostWidget() override { return this; }
    QWidget* FindControl(int id) const override;

public slots:
    // Enter and the dialog's own accept end the dialog as Cancel: only button 1145 accepts.
    void accept() override;
    // Esc and the close box: IDCANCEL.
    void reject() override;

private:
    void OnItemChanged();
    void OnVersionChanged();
    void FillList(int version);
    void ShowChosenNames();
    void Message(const std::string& text, UINT type);

    QLabel* prompt_;
    QLineEdit* nameEdit_;
    QLabel* versionLabel_;
    QComboBox* versionCombo_;
    CKZARN_ProfileListCtrl* list_;
    QPushButton* ok_;
    QPushButton* cancel_;
    int mode_;
    BOOL multiSelect_ = FALSE;
    std::string presetName_;
    std::vector<std::string> chosen_;
    std::string startingName_;
    int captionId_ = 0;
    int promptId_ = 0;
    BOOL showVersion_ = FALSE;
    int kpfVersion_ = 3;
    bool refilling_ = false;
    std::vector<int> selectedRows_;
    std::map<int, QWidget*> controls_;
};
