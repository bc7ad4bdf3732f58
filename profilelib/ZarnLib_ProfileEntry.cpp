#include "profilelib/ZarnLib_ProfileEntry.h"

int ZarnLib_ProfileEntry::Set(ZarnLib_EntryKey newKey, ZarnLib_CnvPolyLine newCurve)
{
    key = newKey;
    return curve.SetPoints(newCurve.GetPoints(), newCurve.GetCount(), false);
}

int ZarnLib_ProfileEntry::GetCurve(ZarnLib_CnvPolyLine* out) const
{
    if (out == nullptr) {
        return -1;
    }
    return out->SetPoints(curve.GetPoints(), curve.GetCount(), false);
}

bool ZarnLib_ProfileEntry::IsEqual(const ZarnLib_ProfileEntry& other) const
{
    return key.GetIso() == other.key.GetIso() && key.GetShutterIndex() == other.key.GetShutterIndex() &&
           key.GetApertureIndex() == other.key.GetApertureIndex() &&
           key.GetExposureOffset() == other.key.GetExposureOffset() && curve.IsEqual(other.curve);
}
