// The shooting condition of a profile table: chart, ISO speed, light source and the meter readings
// for incident (block 0) and reflected (block 1) light. A table is identified by ISO and light source.
#pragma once

class ZarnLib_PatchKey {
public:
    int SetChartKind(int v) { chartKind = v; return 0; }
    int SetCineMode(int v) { cineMode = v; return 0; }
    int SetIso(int v) { iso = v; return 0; }
    int SetLightSource(int v) { lightSource = v; return 0; }
    int SetIlFrameRate(double v) { ilFrameRate = v; return 0; }
    int SetIlShutterAngle(double v) { ilShutterAngle = v; return 0; }
    int SetRlFrameRate(double v) { rlFrameRate = v; return 0; }
    int SetRlShutterAngle(double v) { rlShutterAngle = v; return 0; }
    int SetCineCorrection(double v) { cineCorrection = v; return 0; }
    int SetIlCineOffset(double v) { ilCineOffset = v; return 0; }
    int SetRlCineOffset(double v) { rlCineOffset = v; return 0; }
    // Reading setters refuse values outside their scale (-1 included) and keep the old value.
    int SetIlShutter(int v);
    int SetIlAperture(int v);
    int SetIlTenths(int v);
    int SetRlShutter(int v);
    int SetRlAperture(int v);
    int SetRlTenths(int v);
    int SetAll(const ZarnLib_PatchKey& other) { *this = other; return 0; }

    int GetChartKind() const { return chartKind; }
    int GetCineMode() const { return cineMode; }
    int GetIso() const { return iso; }
    int GetLightSource() const { return lightSource; }
    int GetIlShutter() const { return ilShutter; }
    int GetIlAperture() const { return ilAperture; }
    int GetIlTenths() const { return ilTenths; }
    int GetRlShutter() const { return rlShutter; }
    int GetRlAperture() const { return rlAperture; }
    int GetRlTenths() const { return rlTenths; }
    double GetIlFrameRate() const { return ilFrameRate; }
    double GetIlShutterAngle() const { return ilShutterAngle; }
    double GetRlFrameRate() const { return rlFrameRate; }
    double GetRlShutterAngle() const { return rlShutterAngle; }
    double GetCineCorrection() const { return cineCorrection; }
    double GetIlCineOffset() const { return ilCineOffset; }
    double GetRlCineOffset() const { return rlCineOffset; }

    // Shutter, aperture and tenths of the block's reading all lie on their scales.
    bool IsMeteringValid(int block) const;
    // Sets the block's shutter index from its frame rate and shutter angle; -1 (unchanged) for
    // another block, a frame rate of 0 or a time without index.
    int SetShutterFromCine(int block);

    // Both keys name the same table (equal ISO and light source).
    bool IsSameTable(const ZarnLib_PatchKey& other) const
    {
        return iso == other.iso && lightSource == other.lightSource;
    }
    // Equal ISO, light source and readings (chart kind, cine mode and the doubles are not compared).
    bool IsEqual(const ZarnLib_PatchKey& other) const;

private:
    int chartKind = 0;
    int cineMode = 0;
    int iso = -1;
    int lightSource = 0;
    int ilShutter = -1;
    int ilAperture = -1;
    int ilTenths = 0;
    int rlShutter = -1;
    int rlAperture = -1;
    int rlTenths = 0;
    double ilFrameRate = 0.0;
    double ilShutterAngle = 0.0;
    double rlFrameRate = 0.0;
    double rlShutterAngle = 0.0;
    double cineCorrection = 0.0;
    double ilCineOffset = 0.0;
    double rlCineOffset = 0.0;
};
