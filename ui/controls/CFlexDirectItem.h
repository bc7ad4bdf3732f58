// A property-list item whose value the user types into the list's in-place CCustomEdit, which takes
// the item's input mode while the edit runs.
#pragma once

#include "ui/controls/CFlexItem.h"

class CCustomEdit;

class CFlexDirectItem : public CFlexItem {
public:
    CFlexDirectItem();
    ~CFlexDirectItem() override;

    // Refuses when the item is disabled or the editor is not a CCustomEdit.
    int BeginEdit(QWidget* editor, const QRect& rect) override;
    // Hides the edit (leaving its place) and takes its text as the value.
    int EndEdit() override;

    CCustomEdit* editor = nullptr; // not owned; set while an edit runs
    int editMode = 0;
};
