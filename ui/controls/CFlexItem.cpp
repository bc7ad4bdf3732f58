#include "ui/controls/CFlexItem.h"

#include "core/util/CLangTable.h"

CFlexItem::CFlexItem() = default;
CFlexItem::~CFlexItem() = default;

std::string CFlexItem::GetKey() const { return key; }
std::string CFlexItem::GetCaption() const { return GetLangString(captionTextId); }
std::string CFlexItem::GetValue() const { return value; }
std::string CFlexItem::GetDisplayText() const { return value; }
std::string CFlexItem::GetExtraText() const { return {}; }
int CFlexItem::BeginEdit(QWidget* /*editor*/, const QRect& /*rect*/) { return 0; }
int CFlexItem::EndEdit() { return 0; }
void CFlexItem::Reset() { value = defaultValue; }
