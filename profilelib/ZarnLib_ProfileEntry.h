// One photograph of a profile table: its settings and its measured curve (x = patch index,
// y = mean 8-bit level of the patch).
#pragma once

#include "profilelib/ZarnLib_CnvPolyLine.h"
#include "profilelib/ZarnLib_EntryKey.h"

class ZarnLib_ProfileEntry {
public:
    // Copies the key and sets the curve's points without sorting.
    int Set(ZarnLib_EntryKey newKey, ZarnLib_CnvPolyLine newCurve);
    // Copies the measured curve into `out`; -1 for a null polyline.
    int GetCurve(ZarnLib_CnvPolyLine* out) const;
    bool IsEqual(const ZarnLib_ProfileEntry& other) const;
    bool IsValid() const { return key.IsValid(); }

    const ZarnLib_EntryKey& GetKey() const { return key; }
    ZarnLib_EntryKey& GetKey() { return key; }
    const ZarnLib_CnvPolyLine& Curve() const { return curve; }
    ZarnLib_CnvPolyLine& Curve() { return curve; }

private:
    ZarnLib_EntryKey key;
    ZarnLib_CnvPolyLine curve;
};
