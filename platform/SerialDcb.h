// Line settings of a serial meter port (the fields the links read and change).
#pragma once

#include "platform/WinTypes.h"

constexpr BYTE NOPARITY = 0;
constexpr BYTE ONESTOPBIT = 0;

struct DCB {
    DWORD DCBlength = sizeof(DCB);
    DWORD BaudRate = 0;
    DWORD fBinary = 1;
    DWORD fParity = 0;
    BYTE ByteSize = 8;
    BYTE Parity = NOPARITY;
    BYTE StopBits = ONESTOPBIT;
    friend bool operator==(const DCB&, const DCB&) = default;
};
