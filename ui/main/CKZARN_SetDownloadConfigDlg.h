// The download settings: whether the program tells of new firmware and of a new program version,
// and (through Advanced) the proxy of the update check. The caller reads the results after OK.
#pragma once

#include "core/ControlHost.h"
#include "core/util/ZarnProxySettings.h"
#include "platform/WinTypes.h"

#include <QDialog>

#include <map>

class QComboBox;

class CKZARN_SetDownloadConfigDlg : public QDialog, public ControlHost {
    Q_OBJECT
public:
    static constexpr int kTemplateId = 201;
    static constexpr int kFirmwareNoticeId = 1031;
    static constexpr int kZarnNoticeId = 1032;
    static constexpr int kOkId = 1024;
    static constexpr int kCancelId = 1049;
    static constexpr int kAdvancedId = 3;

    CKZARN_SetDownloadConfigDlg(int notifyFirmware, int notifyZarn, const ZarnProxySettings* proxy,
                                QWidget* parent = nullptr);
    ~CKZARN_SetDownloadConfigDlg() override;

    int DoModal();
    BOOL OnInitDialog();
    void OnOK();
    void OnCancel();
    void reject() override;
    // Runs the proxy dialog on this dialog's copy of the proxy settings.
    void OnAdvanced();

    int GetNotifyFirmware() const { return notifyFirmware; }
    int GetNotifyZarn() const { return notifyZarn; }
    const ZarnProxySettings& GetProxySettings() const { return proxy; }

    QWidget* HostWidget() override { return this; }
    QWidget* FindControl(int id) const override;

    int notifyFirmware;
    int notifyZarn;
    ZarnProxySettings proxy;

protected:
    // Runs the proxy dialog modally on the settings; IDOK when they were changed. Tests stand in.
    virtual int RunProxyDialog(ZarnProxySettings* settings);

private:
    std::map<int, QWidget*> controls_;
    QComboBox* firmwareNotice_ = nullptr;
    QComboBox* zarnNotice_ = nullptr;
    bool initialised_ = false;
};
