// Reading and writing exposure profiles as .kpf files: little-endian tagged chunks in a fixed
// order, doubles in the portable 8-byte form (int16 binary exponent, 48-bit sign and decimal
// mantissa). Both return 0 or -1.
#pragma once

#include "profilelib/ZarnLibString.h"
#include "profilelib/ZarnLib_Profile.h"

// Reads the file into the profile. The profile is replaced only when the whole file was read;
// a failed load leaves it as it was.
int LoadProfile(const ZarnLibString* path, ZarnLib_Profile* profile);
// Writes the profile (version 2, or 3 with sub-version 0 or 1) to a temporary file beside the
// target and renames it over the target; a failed save leaves an existing file untouched.
int SaveProfile(const ZarnLibString* path, const ZarnLib_Profile* profile);
