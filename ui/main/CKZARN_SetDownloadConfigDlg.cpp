#include "ui/main/CKZARN_SetDownloadConfigDlg.h"

#include "core/CKZARN_Common.h"
#include "core/ComboTextItem.h"
#include "core/DialogLayoutItem.h"
#include "platform/PromptService.h"
#include "ui/main/CKZARN_SetProxyConfigDlg.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>

namespace {

using D = CKZARN_SetDownloadConfigDlg;

constexpr DialogLayoutItem kLayout[] = {
    {D::kTemplateId, 8100, 0, 0, 440, 170},
    {1236, 8101, 5, 5, 410, 88},
    {1228, 8103, 30, 30, 220, 24},
    {D::kZarnNoticeId, 0, 260, 30, 140, 24},
    {1227, 8102, 30, 60, 220, 24},
    {D::kFirmwareNoticeId, 0, 260, 60, 140, 24},
    {D::kOkId, 10, 10, 100, 88, 23},
    {D::kCancelId, 11, 110, 100, 88, 23},
    {D::kAdvancedId, 8104, 300, 100, 108, 23},
    {0, 0, 0, 0, 0, 0},
};

constexpr ComboTextItem kNoticeRows[] = {{300, 1}, {301, 0}, {0, 0}};

} // namespace

CKZARN_SetDownloadConfigDlg::CKZARN_SetDownloadConfigDlg(int notifyFirmwareIn, int notifyZarnIn,
                                                         const ZarnProxySettings* proxyIn, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint),
      notifyFirmware(notifyFirmwareIn), notifyZarn(notifyZarnIn)
{
    if (proxyIn != nullptr) proxy.Assign(*proxyIn);
    controls_[1236] = new QGroupBox(this);
    controls_[1228] = new QLabel(this);
    controls_[1227] = new QLabel(this);
    zarnNotice_ = new QComboBox(this);
    controls_[kZarnNoticeId] = zarnNotice_;
    firmwareNotice_ = new QComboBox(this);
    controls_[kFirmwareNoticeId] = firmwareNotice_;
    auto* ok = new QPushButton(this);
    ok->setDefault(true);
    controls_[kOkId] = ok;
    auto* cancel = new QPushButton(this);
    cancel->setAutoDefault(false);
    controls_[kCancelId] = cancel;
    auto* advanced = new QPushButton(this);
    advanced->setAutoDefault(false);
    controls_[kAdvancedId] = advanced;
    connect(ok, &QPushButton::clicked, this, [this] { OnOK(); });
    connect(cancel, &QPushButton::clicked, this, [this] { OnCancel(); });
    connect(advanced, &QPushButton::clicked, this, [this] { OnAdvanced(); });
}

CKZARN_SetDownloadConfigDlg::~CKZARN_SetDownloadConfigDlg() = default;

QWidget* CKZARN_SetDownloadConfigDlg::FindControl(int id) const
{
    const auto it = controls_.find(id);
    return it == controls_.end() ? nullptr : it->second;
}

int CKZARN_SetDownloadConfigDlg::DoModal()
{
    OnInitDialog();
    return exec();
}

BOOL CKZARN_SetDownloadConfigDlg::OnInitDialog()
{
    if (initialised_) return TRUE;
    initialised_ = true;
    CKZARN_Common::ApplyDialogLayout(this, kLayout, FALSE);
    for (QComboBox* combo : {firmwareNotice_, zarnNotice_}) {
        CKZARN_Common::FillComboFromTable(combo, kNoticeRows);
        combo->model()->sort(0); // the list sorts its entries by text
        combo->setCurrentIndex(-1);
    }
    CKZARN_Common::SelectComboItemByData(firmwareNotice_, notifyFirmware);
    CKZARN_Common::SelectComboItemByData(zarnNotice_, notifyZarn);
    return TRUE;
}

void CKZARN_SetDownloadConfigDlg::OnOK()
{
    notifyFirmware = CKZARN_Common::GetComboItemData(firmwareNotice_, firmwareNotice_->currentIndex()) == 1 ? 1 : 0;
    notifyZarn = CKZARN_Common::GetComboItemData(zarnNotice_, zarnNotice_->currentIndex()) == 1 ? 1 : 0;
    done(IDOK);
}

void CKZARN_SetDownloadConfigDlg::OnCancel()
{
    done(IDCANCEL);
}

void CKZARN_SetDownloadConfigDlg::reject()
{
    OnCancel();
}

int CKZARN_SetDownloadConfigDlg::RunProxyDialog(ZarnProxySettings* settings)
{
    CKZARN_SetProxyConfigDlg dialog(settings, this);
    return dialog.DoModal();
}

void CKZARN_SetDownloadConfigDlg::OnAdvanced()
{
    // The proxy dialog edits a scratch copy, so that its Cancel leaves this dialog's copy as it was.
    ZarnProxySettings edited = proxy;
    if (RunProxyDialog(&edited) == IDOK) proxy.Assign(edited);
}
