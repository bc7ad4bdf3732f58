#include "ui/main/MeterSettingPageTools.h"

#include "ui/controls/CFlexItem.h"
#include "ui/controls/CFlexListCtrl.h"
#include "ui/meter/CKZARN_ProgressDlg.h"
#include "ui/meter/CZarnManager.h"

int MeterSettingPageTools::RunMeterCommand(int code)
{
    CKZARN_ProgressDlg dialog;
    dialog.SetCommCtrl(CZarnManager::GetInstance()->GetLMCtrl());
    dialog.SetCommand(code, 0);
    dialog.DoModal();
    return dialog.HasError();
}

CFlexItem* MeterSettingPageTools::FindItem(CFlexListCtrl* list, const std::string& key)
{
    for (CFlexItem* item : list->GetItemList().GetItems()) {
        if (item->key == key) {
            return item;
        }
    }
    return nullptr;
}

bool MeterSettingPageTools::AnyMeterConnected()
{
    CZarnManager* facade = CZarnManager::GetInstance();
    return facade->GetT140State() == 1 || facade->GetT310State() == 1 || facade->GetT520State() == 1;
}
