#include "profilelib/ZarnLib_PatchKey.h"

#include "profilelib/ZarnLib_Scales.h"

namespace {

// Checks as unsigned, so that -1 is refused together with values above the scale.
int SetChecked(int& field, int value, int max)
{
    if (static_cast<unsigned>(value) > static_cast<unsigned>(max)) {
        return -1;
    }
    field = value;
    return 0;
}

bool OnScale(int value, int max)
{
    return static_cast<unsigned>(value) <= static_cast<unsigned>(max);
}

} // namespace

int ZarnLib_PatchKey::SetIlShutter(int v) { return SetChecked(ilShutter, v, kShutterIndexMax); }
int ZarnLib_PatchKey::SetIlAperture(int v) { return SetChecked(ilAperture, v, kApertureIndexMax); }
int ZarnLib_PatchKey::SetIlTenths(int v) { return SetChecked(ilTenths, v, kTenthsMax); }
int ZarnLib_PatchKey::SetRlShutter(int v) { return SetChecked(rlShutter, v, kShutterIndexMax); }
int ZarnLib_PatchKey::SetRlAperture(int v) { return SetChecked(rlAperture, v, kApertureIndexMax); }
int ZarnLib_PatchKey::SetRlTenths(int v) { return SetChecked(rlTenths, v, kTenthsMax); }

bool ZarnLib_PatchKey::IsMeteringValid(int block) const
{
    if (block == 0) {
        return OnScale(ilShutter, kShutterIndexMax) && OnScale(ilAperture, kApertureIndexMax) &&
               OnScale(ilTenths, kTenthsMax);
    }
    if (block == 1) {
        return OnScale(rlShutter, kShutterIndexMax) && OnScale(rlAperture, kApertureIndexMax) &&
               OnScale(rlTenths, kTenthsMax);
    }
    return false;
}

int ZarnLib_PatchKey::SetShutterFromCine(int block)
{
    if (block != 0 && block != 1) {
        return -1;
    }
    const double frameRate = block == 0 ? ilFrameRate : rlFrameRate;
    const double angle = block == 0 ? ilShutterAngle : rlShutterAngle;
    if (frameRate == 0.0) {
        return -1;
    }
    const int index = CineShutterIndex(frameRate, angle);
    if (index < 0) {
        return -1;
    }
    (block == 0 ? ilShutter : rlShutter) = index;
    return 0;
}

bool ZarnLib_PatchKey::IsEqual(const ZarnLib_PatchKey& other) const
{
    return iso == other.iso && lightSource == other.lightSource && ilShutter == other.ilShutter &&
           ilAperture == other.ilAperture && ilTenths == other.ilTenths && rlShutter == other.rlShutter &&
           rlAperture == other.rlAperture && rlTenths == other.rlTenths;
}
