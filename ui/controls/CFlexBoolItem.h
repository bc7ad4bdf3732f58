// A property-list item without an editor: starting and ending an edit succeed and do nothing, so
// the page still hears of a double click or F2 on it.
#pragma once

#include "ui/controls/CFlexItem.h"

class CFlexBoolItem : public CFlexItem {
public:
    CFlexBoolItem();
    ~CFlexBoolItem() override;

    int BeginEdit(QWidget* editor, const QRect& rect) override;
    int EndEdit() override;
};
