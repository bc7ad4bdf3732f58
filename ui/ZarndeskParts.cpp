#include "ui/ZarndeskParts.h"

#include "core/CKestrinZarnApp.h"
#include "ui/meter/CZarnManager.h"
#include "ui/ZarndeskMainWindow.h"
#include "ui/controls/CCustomEdit.h"

std::unique_ptr<ZarnMainWindow> ZarndeskParts::CreateMainWindow()
{
    // Every numeric edit of the windows copies the decimal character noted at start-up.
    if (CKestrinZarnApp* app = CKestrinZarnApp::GetApp()) {
        CCustomEdit::SetApplicationDecimalChar(app->GetDecimalChar());
    }
    return std::make_unique<ZarndeskMainWindow>();
}

void ZarndeskParts::DestroyMeterFacade()
{
    CZarnManager::DestroyInstance();
}
