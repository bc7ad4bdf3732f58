#include "profilelib/ZarnLib_EntryKey.h"

#include <cmath>

#include "profilelib/ZarnLib_Scales.h"

int ZarnLib_EntryKey::CopyTo(ZarnLib_EntryKey* destination) const
{
    if (destination == nullptr) {
        return -1;
    }
    *destination = *this;
    return 0;
}

double ZarnLib_EntryKey::GetEv() const
{
    return ShutterIndexToTv(shutter) + ApertureIndexToAv(aperture) - exposureOffset;
}

double ZarnLib_EntryKey::GetCineEv() const
{
    return ApertureIndexToAv(aperture) + RoundToTenths(std::log2(frameRate)) +
           RoundToTenths(std::log2(360.0 / shutterAngle)) - exposureOffset;
}

double ZarnLib_EntryKey::GetCineIndexEv(double base)
{
    const double tv = ShutterIndexToTv(shutter);
    const double av = ApertureIndexToAv(aperture);
    const double d = RoundToTenths(std::log2(frameRate)) + RoundToTenths(std::log2(360.0 / shutterAngle)) - tv;
    cineCorrection = d - base;
    const double seconds = shutterAngle / (frameRate * 360.0);
    if (seconds >= kShortestShutterSeconds) {
        return av + tv - exposureOffset + base;
    }
    return av + tv + d - exposureOffset + base;
}

int ZarnLib_EntryKey::SetShutterFromCine()
{
    if (frameRate == 0.0) {
        return -1;
    }
    const int index = CineShutterIndex(frameRate, shutterAngle);
    if (index < 0) {
        return -1;
    }
    shutter = index;
    return 0;
}

bool ZarnLib_EntryKey::IsValid() const
{
    return shutter >= 0 && shutter <= kShutterIndexMax && aperture >= 0 && aperture <= kApertureIndexMax;
}
