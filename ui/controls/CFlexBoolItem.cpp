#include "ui/controls/CFlexBoolItem.h"

CFlexBoolItem::CFlexBoolItem() { type = kBool; }
CFlexBoolItem::~CFlexBoolItem() = default;

int CFlexBoolItem::BeginEdit(QWidget* /*editor*/, const QRect& /*rect*/) { return 1; }
int CFlexBoolItem::EndEdit() { return 1; }
