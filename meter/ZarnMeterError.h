// Result codes of a failed meter command, carried in lParam of WM_ZARN_COMMAND_DONE. 0 is success;
// any other non-zero value is a system error code.
#pragma once

#include "meter/MeterFamily.h"

enum ZarnMeterError : unsigned {
    ZARN_ERR_T310_OPEN = 0x20000000,
    ZARN_ERR_T310_SETUP = 0x20000001,
    ZARN_ERR_T310_WRITE = 0x20000002,
    ZARN_ERR_T310_READ = 0x20000003,
    ZARN_ERR_T140_OPEN = 0x20000004,
    ZARN_ERR_T140_SETUP = 0x20000005,
    ZARN_ERR_T140_WRITE = 0x20000006,
    ZARN_ERR_T140_READ = 0x20000007,
    ZARN_ERR_T520_OPEN = 0x20000008,
    ZARN_ERR_T520_SETUP = 0x20000009,
    ZARN_ERR_T520_WRITE = 0x2000000A,
    ZARN_ERR_T520_READ = 0x2000000B,
};

// A command code the worker does not know is answered with this system error (invalid function).
constexpr unsigned kZarnErrorUnknownCommand = 1;

// The family's code for each failed step: open, set-up, write, read.
constexpr unsigned ZarnMeterErrorOf(MeterFamily family, int step)
{
    return 0x20000000u + 4u * static_cast<unsigned>(family) + static_cast<unsigned>(step);
}
