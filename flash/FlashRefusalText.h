// The texts that tell the user why an image was refused, each naming the image's file: its name
// fits no meter or no slot, its version companion, or its script (unreadable, too large, empty, cut
// off, damaged at a line, or not this image's script). The ids are those of data/String.txt.
#pragma once

#include "flash/FlashImageCheck.h"

#include <string>
#include <vector>

// Text ids of the refusals (each takes the file name as its first "%s").
enum FlashRefusalTextId : int {
    kTextNoVersionFile = 50129,
    kTextVersionFewLines = 50130,
    kTextVersionBadDate = 50131,
    kTextVersionMalformed = 50132,
    kTextNotForThisMeter = 50133,
    kTextNotForThisSlot = 50136,
    kTextScriptUnreadable = 50137,
    kTextScriptTooLarge = 50138,
    kTextScriptEmpty = 50139,
    kTextScriptNotThisImage = 50140,
    kTextScriptDamagedAtLine = 50141, // second "%s": the line number, counted from 1
    kTextScriptCutOff = 50142,
};

// The id that says why the image was refused; 0 for a problem of kind None.
int FlashRefusalTextId(const FlashImageProblem& problem);

// That text with the file's name (and a damaged line's number) filled in; empty for kind None.
std::string FlashRefusalText(const FlashImageProblem& problem);
