// The window message with which a dialog that saved a profile tells the main window, from any
// window layer: the profile page then lists the Profile folder again.
#pragma once

#include "platform/WinTypes.h"

constexpr UINT WM_ZARN_PROFILES_CHANGED = WM_USER + 4;
