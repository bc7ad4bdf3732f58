// One queued meter command and the command codes. The reply window is kept as a handle, so the
// worker can tell at reply time whether the window still exists without touching it.
#pragma once

#include "platform/WindowHandle.h"

enum ZarnCommandCode : int {
    ZARN_CMD_NONE = 0,
    ZARN_CMD_WAKE = 1,
    ZARN_CMD_T310_WRITE_PROFILES = 2,
    ZARN_CMD_T310_READ_PROFILES = 3,
    ZARN_CMD_T310_READ_INFO = 4,
    ZARN_CMD_T310_READ_CUSTOM = 5,
    ZARN_CMD_T310_WRITE_CUSTOM = 6,
    ZARN_CMD_T140_WRITE_PROFILES = 12,
    ZARN_CMD_T140_READ_PROFILES = 13,
    ZARN_CMD_T140_READ_INFO = 14,
    ZARN_CMD_T140_READ_CUSTOM = 15,
    ZARN_CMD_T140_WRITE_CUSTOM = 16,
    ZARN_CMD_T140_READ_USER_SETTINGS = 17,
    ZARN_CMD_T140_WRITE_USER_SETTINGS = 18,
    ZARN_CMD_T140_RESET = 19,
    ZARN_CMD_T520_WRITE_PROFILES = 22,
    ZARN_CMD_T520_READ_PROFILES = 23,
    ZARN_CMD_T520_READ_INFO = 24,
    ZARN_CMD_T520_READ_CUSTOM = 25,
    ZARN_CMD_T520_WRITE_CUSTOM = 26,
    ZARN_CMD_T520_READ_USER_SETTINGS = 27,
    ZARN_CMD_T520_WRITE_USER_SETTINGS = 28,
    ZARN_CMD_T520_RESET = 29,
    ZARN_CMD_UPDATE_CHECK = 50,
};

struct CZarnCommand {
    int type = ZARN_CMD_NONE;
    int value = 0;   // slot bit mask of the write-profiles commands; 0 otherwise
    HWND replyWnd;   // may be null
};
