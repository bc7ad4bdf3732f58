// Window messages the property list sends to its parent (a direct call, so the parent's handler
// runs before the list goes on): wParam the row, lParam the CFlexItem*.
#pragma once

#include "platform/WinTypes.h"

// An edit was committed and the value cell redrawn.
constexpr UINT WM_FLEX_ENDEDIT = WM_APP + 1;
// An item accepted the start of an edit.
constexpr UINT WM_FLEX_BEGINEDIT = WM_APP + 2;
