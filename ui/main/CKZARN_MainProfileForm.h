// The profile page (first tab): for now its frame, the four profile commands the main window calls
// and a line that tells which meter is connected, or that none is.
#pragma once

#include "ui/main/CKZARN_MainBaseForm.h"

class QLabel;

class CKZARN_MainProfileForm : public CKZARN_MainBaseForm {
    Q_OBJECT
public:
    static constexpr int kTemplateId = 192;
    static constexpr int kMeterLineId = 1021;

    explicit CKZARN_MainProfileForm(QWidget* parent = nullptr);
    ~CKZARN_MainProfileForm() override;

    // The page's NEW, REF, EDIT and TX buttons; the main window's menu and keys run the same.
    virtual void OnBnClickedNew();
    virtual void OnBnClickedRef();
    virtual void OnBnClickedEdit();
    virtual void OnBnClickedTx();
    // TRUE when the send list holds something the connected meter can take.
    virtual BOOL CanTransmit();
    // The meter list follows the connected meter; the PC list follows the Profile folder.
    virtual void RefreshMeterList();
    virtual void RefreshPcList();

    BOOL OnMeterInfoChanged() override;
    BOOL OnExternalProgramEnded(WPARAM wParam, LPARAM lParam) override;

private:
    void ShowMeterLine();

    QLabel* meterLine_;
};
