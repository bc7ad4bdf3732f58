// The result table of step 5: EV and 8-bit level of the five characteristic points in nine fields.
// Editable only for an added condition (mode 1); a typed value is applied when its field loses the
// focus, Enter applies it and keeps the focus. Every edit goes to the wizard's SetResultValue.
#pragma once

#include "ui/wizard/CKZARN_WizAreaBaseForm.h"
#include "ui/wizard/WizardResultTablePage.h"

#include <string>

class CCustomEdit;
class CHAlignLabel;
class QKeyEvent;

class CKZARN_WizArea4GraphForm : public CKZARN_WizAreaBaseForm, public WizardResultTablePage {
    Q_OBJECT
public:
    static constexpr int kTemplateId = 135;
    // The field of each edit kind (0..4 EVs, 5..9 levels of CPM, DRM, CNT, DRP, CPP; 0 none).
    static constexpr int kFieldOfKind[10] = {1032, 1027, 0, 1024, 1023, 1070, 1069, 1068, 1067, 1066};

    explicit CKZARN_WizArea4GraphForm(QWidget* parent = nullptr);
    ~CKZARN_WizArea4GraphForm() override;

    void FillTable(const CharacteristicPoints* points) override;
    void SetEditable(int readOnly) override;
    void ShowValue(int kind, double value) override;
    void ApplyEdit(CCustomEdit* edit, int kind);
    void OnKillFocusEdit(int kind);
    // Enter in an editable field applies its value as a keyboard step and is consumed (TRUE).
    BOOL PreTranslateMessage(QObject* field, QKeyEvent* event);

    CCustomEdit* Field(int kind) const { return kind >= 0 && kind < 10 ? fields_[kind] : nullptr; }

protected:
    BOOL OnInitDialog() override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void InitControls();
    int KindOf(QObject* field) const;
    // The number typed into a field; a text that is not one is refused (beep, shown value back).
    bool ReadField(int kind, double* value);

    CHAlignLabel* captions_[5] = {};
    CCustomEdit* fields_[10] = {};
    // What ShowValue last wrote into each field.
    std::string shown_[10];
};
