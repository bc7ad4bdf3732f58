// The exposure-range choice of step 0: the normal range or the expanded one, which needs more
// photographs. Only the added-condition mode (mode 1) offers the choice.
#pragma once

#include "ui/wizard/CKZARN_WizAreaBaseForm.h"

class QGroupBox;
class QRadioButton;

class CKZARN_WizArea4ExpExpandForm : public CKZARN_WizAreaBaseForm {
    Q_OBJECT
public:
    static constexpr int kTemplateId = 196;
    static constexpr int kNormalId = 1029;
    static constexpr int kExpandedId = 1030;
    static constexpr int kGroupId = 1217;

    explicit CKZARN_WizArea4ExpExpandForm(QWidget* parent = nullptr);

    void Refresh() override;
    void OnRangeClicked(int expanded);

protected:
    BOOL OnInitDialog() override;

private:
    QRadioButton* normal_;
    QRadioButton* expanded_;
    QGroupBox* group_;
};
