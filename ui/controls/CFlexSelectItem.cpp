#include "ui/controls/CFlexSelectItem.h"

#include "core/CKZARN_Common.h"

#include <QComboBox>

CFlexSelectItem::CFlexSelectItem() { type = kSelect; }
CFlexSelectItem::~CFlexSelectItem() = default;

std::string CFlexSelectItem::GetDisplayText() const
{
    return choices.GetTextAt(choices.FindByValue(value));
}

int CFlexSelectItem::BeginEdit(QWidget* editorWindow, const QRect& rect)
{
    auto* combo = qobject_cast<QComboBox*>(editorWindow);
    if (enabled != 1 || combo == nullptr) {
        return 0;
    }
    editor = combo;
    combo->clear();
    for (const std::string& text : choices.GetTexts()) {
        combo->addItem(CKZARN_Common::ToWidgetText(text));
    }
    combo->setCurrentIndex(choices.FindByValue(value));
    combo->setGeometry(rect);
    combo->show();
    combo->setFocus();
    return 1;
}

int CFlexSelectItem::EndEdit()
{
    if (editor == nullptr) {
        return 0;
    }
    editor->hide();
    const int selected = editor->currentIndex();
    value = selected >= 0 && selected < choices.GetCount() ? choices.GetValueAt(selected) : defaultValue;
    editor = nullptr;
    return 1;
}
