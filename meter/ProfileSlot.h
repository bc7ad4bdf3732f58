// One profile slot of a meter: a 32-byte name (NUL-terminated when set by the program) and one row
// per ISO speed of ISO_TABLE.
#pragma once

#include "meter/IsoTable.h"
#include "meter/ProfileRow.h"

struct ProfileSlot {
    char name[32];
    ProfileRow rows[kIsoTableSize];
};
