// Reading and writing exposure profiles as .kpf files: little-endian tagged chunks in a fixed
// order, doubles in the portable 8-byte form (int16 binary exponent, 48-bit sign and decimal
// mantissa). Both return 0 or -1.
#pragma once

#include "profilelib/ZarnLibString.h"
#include "profilelib/ZarnLib_Profile.h"

// The largest profile file that is read. The largest profile the programs make (a table for each
// of the 67 ISO speeds and both light sources, each with the 21 photographs of an extended-range
// Gradus II run) takes about 1.3 MB; a larger file is no profile of ours and is refused by its size
// before anything is read.
constexpr long kMaxProfileFileBytes = 32L * 1024 * 1024;

// Reads the file into the profile. The profile is replaced only when the whole file was read;
// a failed load leaves it as it was. Only regular files of at most kMaxProfileFileBytes are read.
int LoadProfile(const ZarnLibString* path, ZarnLib_Profile* profile);
// Writes the profile (version 2, or 3 with sub-version 0 or 1) to a temporary file beside the
// target and renames it over the target; a failed save leaves an existing file untouched.
int SaveProfile(const ZarnLibString* path, const ZarnLib_Profile* profile);
