// A property-list item whose value is one of a fixed list of choices, picked in the list's in-place
// combo box. Column 1 shows the text of the choice that matches the value, nothing when none does.
#pragma once

#include "ui/controls/CFlexChoiceList.h"
#include "ui/controls/CFlexItem.h"

class QComboBox;

class CFlexSelectItem : public CFlexItem {
public:
    CFlexSelectItem();
    ~CFlexSelectItem() override;

    std::string GetDisplayText() const override;
    // Refuses when the item is disabled or the editor is not a combo box; otherwise fills the combo
    // box with the choices and selects the one matching the value (none when nothing matches).
    int BeginEdit(QWidget* editor, const QRect& rect) override;
    // Takes the selected choice's value; without a selection the default value.
    int EndEdit() override;

    CFlexChoiceList& GetChoiceList() { return choices; }
    const CFlexChoiceList& GetChoiceList() const { return choices; }

    QComboBox* editor = nullptr; // not owned; set while an edit runs
    CFlexChoiceList choices;
};
