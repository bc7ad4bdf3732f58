// The small dialog that offers two or three ways of doing NEW, REF or EDIT: one button and one
// description per way, taken from a row of the choice table. DoModal returns the chosen way's
// result, or -1 for Enter, Esc and the close box.
#pragma once

#include "core/ControlHost.h"
#include "platform/WinTypes.h"

#include <QDialog>

#include <map>

class QLabel;
class QPushButton;

class CKZARN_SelModeDlg : public QDialog, public ControlHost {
    Q_OBJECT
public:
    static constexpr int kTemplateId = 143;

    // {type, caption, result of 1038, text of 1038, text of 1157, result of 1039, text of 1039,
    //  text of 1158, result of 1040, text of 1040, text of 1159, result of OK and Cancel, height}
    struct ChoiceRow {
        int type;
        int caption;
        int result1038;
        int text1038;
        int text1157;
        int result1039;
        int text1039;
        int text1158;
        int result1040;
        int text1040;
        int text1159;
        int resultOkCancel;
        int height;
    };

    explicit CKZARN_SelModeDlg(QWidget* parent);
    ~CKZARN_SelModeDlg() override;

    // Picks the row of type 0, 1 or 2 before the window is set up; FALSE otherwise.
    BOOL SetType(int type);
    int DoModal();
    virtual BOOL OnInitDialog();
    const ChoiceRow* Row() const { return row_; }

    QWidget* HostWidget() override { return this; }
    QWidget* FindControl(int id) const override;

public slots:
    void accept() override;
    void reject() override;

private:
    const ChoiceRow* row_ = nullptr;
    bool initialised_ = false;
    std::map<int, QWidget*> controls_;
};
