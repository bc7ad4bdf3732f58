// Read and write time-outs of a meter link, in milliseconds, with the field names the links use.
// A read of n bytes may take ReadTotalTimeoutMultiplier * n + ReadTotalTimeoutConstant in all, with at
// most ReadIntervalTimeout between two bytes; zero fields mean "not set".
#pragma once

#include "platform/WinTypes.h"

struct COMMTIMEOUTS {
    DWORD ReadIntervalTimeout = 0;
    DWORD ReadTotalTimeoutMultiplier = 0;
    DWORD ReadTotalTimeoutConstant = 0;
    DWORD WriteTotalTimeoutMultiplier = 0;
    DWORD WriteTotalTimeoutConstant = 0;
    friend bool operator==(const COMMTIMEOUTS&, const COMMTIMEOUTS&) = default;
};
