// The proxy settings: whether the update check goes through an HTTP proxy, and its address, port,
// user name and password. OK writes the edits into the record being edited; Cancel leaves it.
#pragma once

#include "core/ControlHost.h"
#include "core/util/ZarnProxySettings.h"
#include "platform/WinTypes.h"

#include <QDialog>

#include <map>

class CCustomEdit;
class QCheckBox;
class QLineEdit;
class QPushButton;

class CKZARN_SetProxyConfigDlg : public QDialog, public ControlHost {
    Q_OBJECT
public:
    static constexpr int kTemplateId = 202;
    static constexpr int kUseProxyId = 1235;
    static constexpr int kServerId = 1023;
    static constexpr int kPortId = 1025;
    static constexpr int kUserId = 1026;
    static constexpr int kPasswordId = 1027;
    static constexpr int kOkId = 1024;
    static constexpr int kCancelId = 1049;

    explicit CKZARN_SetProxyConfigDlg(ZarnProxySettings* settings, QWidget* parent = nullptr);
    ~CKZARN_SetProxyConfigDlg() override;

    int DoModal();
    BOOL OnInitDialog();
    void OnUseProxy();
    void UpdateOkButton();
    void OnOK();
    void OnCancel();
    // Esc and the close box come here.
    void reject() override;

    QWidget* HostWidget() override { return this; }
    QWidget* FindControl(int id) const override;

private:
    void EnableEdits(bool enable);

    std::map<int, QWidget*> controls_;
    QCheckBox* useProxy_ = nullptr;
    QLineEdit* server_ = nullptr;
    QLineEdit* user_ = nullptr;
    QLineEdit* password_ = nullptr;
    QPushButton* ok_ = nullptr;
    CCustomEdit* port_ = nullptr;
    ZarnProxySettings* settings_;
    bool initialised_ = false;
};
