#include "ui/controls/CFlexDirectItem.h"

#include "ui/controls/CCustomEdit.h"

CFlexDirectItem::CFlexDirectItem() { type = kDirect; }
CFlexDirectItem::~CFlexDirectItem() = default;

int CFlexDirectItem::BeginEdit(QWidget* editorWindow, const QRect& rect)
{
    auto* edit = dynamic_cast<CCustomEdit*>(editorWindow);
    if (enabled != 1 || edit == nullptr) {
        return 0;
    }
    editor = edit;
    edit->inputMode = editMode;
    // The stored value is the edit's starting point, also where a refused change goes back to.
    edit->lastValidText = value;
    edit->setText(QString::fromStdString(value));
    edit->setGeometry(rect);
    edit->show();
    edit->setFocus();
    return 1;
}

int CFlexDirectItem::EndEdit()
{
    if (editor == nullptr) {
        return 0;
    }
    editor->hide();
    value = editor->text().toStdString();
    editor = nullptr;
    return 1;
}
