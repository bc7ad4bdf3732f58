// Window messages that reach the main window of Zarndesk from other programs: the firmware
// downloader reports that the user left it, and the application updater asks the program to quit.
#pragma once

#include "platform/WinTypes.h"

constexpr UINT WM_ZARN_FLASH_FINISHED = WM_APP + 0x98;
constexpr UINT WM_ZARN_QUIT_REQUEST = WM_APP + 0x99;
