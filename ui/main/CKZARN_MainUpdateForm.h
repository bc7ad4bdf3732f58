// The update page (fourth tab): one button runs the update check and opens the update dialog, and
// the page opens that dialog by itself, once per connected meter, when an update is available and
// the user asked to be told.
#pragma once

#include "ui/main/CKZARN_MainBaseForm.h"

class CKZARN_MainUpdateImplDialog;
class QPushButton;

class CKZARN_MainUpdateForm : public CKZARN_MainBaseForm {
    Q_OBJECT
public:
    static constexpr int kTemplateId = 195;
    static constexpr int kUpdateButtonId = 1025;

    explicit CKZARN_MainUpdateForm(QWidget* parent = nullptr);
    ~CKZARN_MainUpdateForm() override;

    BOOL OnMeterInfoChanged() override;
    BOOL OnMainClosing() override;
    BOOL OnExternalProgramStarting(const std::string& program, const std::string& arguments) override;
    BOOL OnExternalProgramEnded(WPARAM wParam, LPARAM lParam) override;
    BOOL OnUpdateListReady(WPARAM wParam, LPARAM lParam) override;
    // connected: 1 a meter became present, 0 it went away.
    virtual BOOL OnConnectionChanged(int connected);

    // The update check, then the dialog; nothing while a dialog is open.
    void OnUpdateButton();
    // Opens the dialog when none is open.
    void ShowUpdateDialog();

    CKZARN_MainUpdateImplDialog* updateDialog = nullptr; // while it runs modally
    int noticeShown = 0;

protected:
    BOOL OnInitDialog() override;
    // Runs the dialog modally; tests stand in.
    virtual int RunDialog(CKZARN_MainUpdateImplDialog& dialog);
    // The update check; tests stand in.
    virtual void RunUpdateCheck();

private:
    void RunUpdateDialog(bool check);

    QPushButton* updateButton_ = nullptr;
};
