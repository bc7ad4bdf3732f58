#include "ui/main/CKZARN_SetProxyConfigDlg.h"

#include "core/CKZARN_Common.h"
#include "core/DialogLayoutItem.h"
#include "platform/PromptService.h"
#include "ui/controls/CCustomEdit.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace {

using D = CKZARN_SetProxyConfigDlg;

constexpr DialogLayoutItem kLayout[] = {
    {D::kTemplateId, 8200, 0, 0, 340, 260},
    {1231, 8201, 5, 5, 310, 170},
    {D::kUseProxyId, 8202, 20, 20, 220, 26},
    {1232, 8203, 30, 50, 120, 20},
    {D::kServerId, 0, 160, 50, 140, 20},
    {1233, 8204, 30, 80, 120, 20},
    {D::kPortId, 0, 160, 80, 80, 20},
    {1229, 8205, 30, 110, 120, 20},
    {D::kUserId, 0, 160, 110, 140, 20},
    {1230, 8206, 30, 140, 120, 20},
    {D::kPasswordId, 0, 160, 140, 140, 20},
    {D::kOkId, 10, 10, 180, 88, 23},
    {D::kCancelId, 11, 110, 180, 88, 23},
    {0, 0, 0, 0, 0, 0},
};

} // namespace

CKZARN_SetProxyConfigDlg::CKZARN_SetProxyConfigDlg(ZarnProxySettings* settings, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint),
      settings_(settings)
{
    auto* group = new QGroupBox(this);
    controls_[1231] = group;
    useProxy_ = new QCheckBox(this);
    controls_[kUseProxyId] = useProxy_;
    for (const int id : {1232, 1233, 1229, 1230}) controls_[id] = new QLabel(this);
    server_ = new QLineEdit(this);
    controls_[kServerId] = server_;
    port_ = new CCustomEdit(this);
    controls_[kPortId] = port_;
    user_ = new QLineEdit(this);
    controls_[kUserId] = user_;
    password_ = new QLineEdit(this);
    password_->setEchoMode(QLineEdit::Password);
    // Every character of the password shows as an asterisk, whatever the style's own mask.
    password_->setStyleSheet(QStringLiteral("QLineEdit { lineedit-password-character: 42; }"));
    controls_[kPasswordId] = password_;
    ok_ = new QPushButton(this);
    ok_->setDefault(true);
    ok_->setEnabled(false);
    controls_[kOkId] = ok_;
    auto* cancel = new QPushButton(this);
    cancel->setAutoDefault(false);
    controls_[kCancelId] = cancel;

    connect(useProxy_, &QCheckBox::clicked, this, [this] { OnUseProxy(); });
    connect(server_, &QLineEdit::textChanged, this, [this] { UpdateOkButton(); });
    connect(port_, &QLineEdit::textChanged, this, [this] { UpdateOkButton(); });
    connect(ok_, &QPushButton::clicked, this, [this] { OnOK(); });
    connect(cancel, &QPushButton::clicked, this, [this] { OnCancel(); });
}

CKZARN_SetProxyConfigDlg::~CKZARN_SetProxyConfigDlg() = default;

QWidget* CKZARN_SetProxyConfigDlg::FindControl(int id) const
{
    const auto it = controls_.find(id);
    return it == controls_.end() ? nullptr : it->second;
}

int CKZARN_SetProxyConfigDlg::DoModal()
{
    OnInitDialog();
    return exec();
}

BOOL CKZARN_SetProxyConfigDlg::OnInitDialog()
{
    if (initialised_) return TRUE;
    initialised_ = true;
    CKZARN_Common::ApplyDialogLayout(this, kLayout, FALSE);
    port_->inputMode = 11;
    port_->setMaxLength(5);
    useProxy_->setChecked(settings_->useProxy == 1);
    server_->setText(CKZARN_Common::ToWidgetText(settings_->server));
    port_->setText(CKZARN_Common::ToWidgetText(settings_->port));
    user_->setText(CKZARN_Common::ToWidgetText(settings_->user));
    password_->setText(CKZARN_Common::ToWidgetText(settings_->password));
    UpdateOkButton();
    EnableEdits(useProxy_->isChecked());
    return TRUE;
}

void CKZARN_SetProxyConfigDlg::EnableEdits(bool enable)
{
    server_->setEnabled(enable);
    port_->setEnabled(enable);
    user_->setEnabled(enable);
    password_->setEnabled(enable);
}

void CKZARN_SetProxyConfigDlg::UpdateOkButton()
{
    ok_->setEnabled(!(useProxy_->isChecked() && (server_->text().isEmpty() || port_->text().isEmpty())));
}

void CKZARN_SetProxyConfigDlg::OnUseProxy()
{
    UpdateOkButton();
    EnableEdits(useProxy_->isChecked());
}

void CKZARN_SetProxyConfigDlg::OnOK()
{
    settings_->useProxy = useProxy_->isChecked() ? 1 : 0;
    settings_->server = server_->text().toStdString();
    settings_->port = port_->text().toStdString();
    settings_->user = user_->text().toStdString();
    settings_->password = password_->text().toStdString();
    done(IDOK);
}

void CKZARN_SetProxyConfigDlg::OnCancel()
{
    done(IDCANCEL);
}

void CKZARN_SetProxyConfigDlg::reject()
{
    OnCancel();
}
