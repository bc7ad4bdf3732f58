// The wizard's step list: one row per step of the mode, each a button that goes back to its step
// and a mark that tells whether the step is done, current or still ahead.
#pragma once

#include "ui/wizard/CKZARN_WizAreaBaseForm.h"

#include <QIcon>

class CStaticIcon;
class QPushButton;

class CKZARN_WizArea3Form : public CKZARN_WizAreaBaseForm {
    Q_OBJECT
public:
    static constexpr int kTemplateId = 101;
    static constexpr int kRowCount = 9;
    static constexpr int kRowButtonIds[kRowCount] = {1040, 1041, 1042, 1043, 1044, 1029, 1045, 1031, 1032};
    static constexpr int kFirstIconId = 1170;

    explicit CKZARN_WizArea3Form(QWidget* parent = nullptr);

    void Refresh() override;
    // The step of a row (-1: none).
    int RowStep(int row) const { return row >= 0 && row < kRowCount ? rowStep_[row] : -1; }
    QPushButton* RowButton(int row) const { return buttons_[row]; }
    // Which mark a row shows: 165 current, 166 later, 167 done.
    int RowMark(int row) const { return marks_[row]; }
    void OnRowClicked(int row);

protected:
    BOOL OnInitDialog() override;

private:
    void SetMark(int row, int mark);

    QPushButton* buttons_[kRowCount] = {};
    CStaticIcon* icons_[kRowCount] = {};
    int rowStep_[kRowCount] = {-1, -1, -1, -1, -1, -1, -1, -1, -1};
    int marks_[kRowCount] = {};
    QIcon done_, current_, later_;
};
