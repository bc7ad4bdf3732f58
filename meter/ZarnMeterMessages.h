// Window messages of the meter worker thread. Connection, identity, multiple-meters and update-list
// notices go to the notify window (the main window); progress and results to a command's reply window.
#pragma once

#include "platform/WinTypes.h"

constexpr UINT WM_ZARN_T310_CONNECTION = WM_USER + 1;   // wParam 1 attached, 0 removed
constexpr UINT WM_ZARN_PROGRESS = WM_USER + 2;          // wParam steps done (from 1), lParam total
constexpr UINT WM_ZARN_COMMAND_DONE = WM_USER + 3;      // lParam 0 or an error code
constexpr UINT WM_ZARN_T310_INFO = WM_USER + 5;         // wParam 1 identity stored, 0 cleared
constexpr UINT WM_ZARN_UPDATE_LIST_READY = WM_USER + 7;
constexpr UINT WM_ZARN_T140_INFO = WM_USER + 8;
constexpr UINT WM_ZARN_T140_CONNECTION = WM_USER + 9;
constexpr UINT WM_ZARN_T520_CONNECTION = WM_USER + 10;
constexpr UINT WM_ZARN_T520_INFO = WM_USER + 11;
constexpr UINT WM_ZARN_MULTIPLE_METERS = WM_USER + 20;
constexpr UINT WM_ZARN_UPDATE_CHECK_DONE = WM_USER + 30;
