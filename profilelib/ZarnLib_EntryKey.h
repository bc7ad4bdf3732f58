// The exposure settings of one photograph of a profile table.
#pragma once

class ZarnLib_EntryKey {
public:
    int SetIso(int v) { iso = v; return 0; }
    int SetShutter(int v) { shutter = v; return 0; }
    int SetAperture(int v) { aperture = v; return 0; }
    int SetExposureOffset(double v) { exposureOffset = v; return 0; }
    int SetCineCorrection(double v) { cineCorrection = v; return 0; }
    int SetFrameRate(double v) { frameRate = v; return 0; }
    int SetShutterAngle(double v) { shutterAngle = v; return 0; }
    int SetAll(const ZarnLib_EntryKey& other) { *this = other; return 0; }

    int GetIso() const { return iso; }
    int GetShutterIndex() const { return shutter; }
    int GetApertureIndex() const { return aperture; }
    double GetExposureOffset() const { return exposureOffset; }
    double GetCineCorrection() const { return cineCorrection; }
    double GetFrameRate() const { return frameRate; }
    double GetShutterAngle() const { return shutterAngle; }
    // Copies the whole key; -1 for a null destination.
    int CopyTo(ZarnLib_EntryKey* destination) const;

    // Tv(shutter) + Av(aperture) - exposureOffset.
    double GetEv() const;
    // Av + tenths-rounded log2(frame rate) + tenths-rounded log2(360 / angle) - exposureOffset.
    double GetCineEv() const;
    // The index EV of a cine photograph relative to `base`; stores its correction minus `base` in
    // cineCorrection. Exposure times below the shortest shutter index carry the correction in the EV.
    double GetCineIndexEv(double base);
    // The shutter index of angle / (frame rate * 360) seconds; -1 (unchanged) for frame rate 0 or
    // a time without index.
    int SetShutterFromCine();

    // Photographs are usable when shutter and aperture lie on their scales.
    bool IsValid() const;

private:
    int iso = -1;
    int shutter = -1;
    int aperture = -1;
    double exposureOffset = 0.0;
    double cineCorrection = 0.0;
    double frameRate = 0.0;
    double shutterAngle = 0.0;
};
