#include "ui/main/CKZARN_MainProfileForm.h"

#include "core/CKZARN_Common.h"
#include "core/util/CLangTable.h"
#include "meter/CKZARN_LMCtrl.h"
#include "ui/meter/CZarnManager.h"

#include <QLabel>

namespace {

constexpr int kNoMeterTextId = 1098;

} // namespace

CKZARN_MainProfileForm::CKZARN_MainProfileForm(QWidget* parent)
    : CKZARN_MainBaseForm(kTemplateId, parent), meterLine_(new QLabel(this))
{
    meterLine_->setGeometry(313, 344, 203, 17);
    AddControl(kMeterLineId, meterLine_);
    ShowMeterLine();
}

CKZARN_MainProfileForm::~CKZARN_MainProfileForm() = default;

void CKZARN_MainProfileForm::OnBnClickedNew() {}
void CKZARN_MainProfileForm::OnBnClickedRef() {}
void CKZARN_MainProfileForm::OnBnClickedEdit() {}
void CKZARN_MainProfileForm::OnBnClickedTx() {}

BOOL CKZARN_MainProfileForm::CanTransmit()
{
    return FALSE;
}

void CKZARN_MainProfileForm::RefreshMeterList()
{
    ShowMeterLine();
}

void CKZARN_MainProfileForm::RefreshPcList() {}

BOOL CKZARN_MainProfileForm::OnMeterInfoChanged()
{
    ShowMeterLine();
    return TRUE;
}

BOOL CKZARN_MainProfileForm::OnExternalProgramEnded(WPARAM /*wParam*/, LPARAM /*lParam*/)
{
    ShowMeterLine();
    return TRUE;
}

void CKZARN_MainProfileForm::ShowMeterLine()
{
    // The page may be built before the meter facade exists (and outlive it): without a worker,
    // CreateInstance only reports the facade that exists, creating none.
    CZarnManager* facade = CZarnManager::CreateInstance(nullptr);
    const bool connected = facade != nullptr &&
                           (facade->GetT310State() == 1 || facade->GetT140State() == 1 || facade->GetT520State() == 1);
    std::string text = GetLangString(kNoMeterTextId);
    if (connected) {
        text = facade->GetPhotometerType();
    }
    meterLine_->setText(CKZARN_Common::ToWidgetText(text));
}
