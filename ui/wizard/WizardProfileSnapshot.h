// A copy of a whole profile taken before a calculation run replaces one of its tables, so that a
// discarded run gives the profile back as it was, earlier table of the condition included.
#pragma once

#include "profilelib/ZarnLib_Profile.h"

class WizardProfileSnapshot {
public:
    // Copies every table, the version, the offsets and the chart kind. 0, or -1 when out of memory.
    int Take(const ZarnLib_Profile& profile);
    // Puts the copy back into the profile (the copy is used up). FALSE when no copy is held.
    bool RestoreInto(ZarnLib_Profile* profile);
    bool IsHeld() const { return held_; }
    void Drop();

    // A deep copy of one profile into another (the target's tables are replaced).
    static int CopyProfile(const ZarnLib_Profile& source, ZarnLib_Profile* target);

private:
    ZarnLib_Profile copy_;
    bool held_ = false;
};
