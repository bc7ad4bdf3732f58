#include "ui/views/ZarnViewProfileCombo.h"

#include "core/CKZARN_Common.h"
#include "core/CKestrinZarnApp.h"
#include "core/util/CLangTable.h"
#include "platform/PromptService.h"
#include "ui/controls/QtPromptService.h"

#include <QComboBox>

namespace {

constexpr int kPlaceholderTextId = 132;

} // namespace

void ZarnViewProfileCombo::Fill(QComboBox* combo, int subVersionFilter)
{
    CKZARN_Common::FillProfileCombo(combo, 1, 2, subVersionFilter);
    combo->insertItem(0, CKZARN_Common::ToWidgetText(GetLangString(kPlaceholderTextId)));
    combo->setCurrentIndex(0);
}

void ZarnViewProfileCombo::RejectChoice(QComboBox* combo)
{
    QtPromptService::Current().MessageBox(HWND{}, CKZARN_Common::CannotLoadProfileText(combo->currentText().toStdString()),
                                          GetLangString(CKestrinZarnApp::kMainTitleTextId), MB_OK | MB_ICONEXCLAMATION);
    combo->setCurrentIndex(
        combo->findText(CKZARN_Common::ToWidgetText(GetLangString(kPlaceholderTextId)), Qt::MatchFixedString));
}
