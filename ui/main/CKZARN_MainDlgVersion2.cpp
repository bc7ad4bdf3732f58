// The preparation of a profile copy for export in format version 2: that format holds the tables up
// to ISO 8000 only, with EV values from -7 to +7.
#include "ui/main/CKZARN_MainDlg.h"

#include "core/CKZARN_Common.h"
#include "profilelib/ZarnLibString.h"
#include "profilelib/ZarnLib_CurveTools.h"
#include "profilelib/ZarnLib_Profile.h"
#include "profilelib/ZarnLib_ProfileFile.h"

namespace {

constexpr int kVersion2IsoRows = 35; // ISO 3 to 8000 in the ISO table
constexpr double kLimit = 7.0;
constexpr double kTolerance = 0.000001;

// The level at ev on the block's curves; when ev lies on none, ev is first moved into the curves'
// domain towards direction. Non-zero when no level can be found.
int LevelFor(const ZarnLib_Profile& profile, const ZarnLib_PatchKey& key, int block, double* ev, double direction,
             const ZarnLib_CurveList& curves, double* level)
{
    if (profile.LevelAt(key, block, level, *ev, &curves) == 0) return 0;
    ClampToCurveDomain(ev, direction, curves);
    return profile.LevelAt(key, block, level, *ev, &curves);
}

} // namespace

int CKZARN_MainDlg::ClampTablePointsForV2(ZarnLib_Profile& profile, const ZarnLib_PatchKey& key)
{
    for (int block = 0; block < 2; ++block) {
        ZarnLib_CurveList curves;
        ZarnLib_CurveList trimmed;
        if (profile.GetTableCurve(key, block, &curves, &trimmed) != 0) continue;
        // Levels are read off the trimmed curves; when trimming leaves none, off the curves themselves.
        const ZarnLib_CurveList& conversion = trimmed.GetCount() > 0 ? trimmed : curves;
        _ZARNLIB_VECTOR2 five[5]; // CPM, DRM, DRP, CPP, CNT
        double offset = 0.0;
        if (profile.GetTablePoints(key, block, five, &offset) != 0) continue;
        _ZARNLIB_VECTOR2& cpm = five[0];
        _ZARNLIB_VECTOR2& drm = five[1];
        _ZARNLIB_VECTOR2& drp = five[2];
        _ZARNLIB_VECTOR2& cpp = five[3];
        bool changed = false;
        if (cpm.x < -kLimit - kTolerance) {
            double ev = -kLimit;
            double level = 0.0;
            const int result = LevelFor(profile, key, block, &ev, kLimit, conversion, &level);
            if (result != 0) return result;
            cpm = {ev, level};
            changed = true;
        }
        if (cpm.x > drm.x) {
            drm = cpm;
            changed = true;
        }
        if (cpp.x > kLimit + kTolerance) {
            double ev = kLimit;
            double level = 0.0;
            const int result = LevelFor(profile, key, block, &ev, -kLimit, conversion, &level);
            if (result != 0) return result;
            cpp = {ev, level};
            changed = true;
        }
        if (drp.x > cpp.x) {
            drp = cpp;
            changed = true;
        }
        if (changed) {
            const int result = profile.SetTablePoints(key, block, five);
            if (result != 0) return result;
        }
    }
    return 0;
}

int CKZARN_MainDlg::PrepareProfileForV2(const std::string& path)
{
    const ZarnLibString file(path.c_str());
    ZarnLib_Profile profile;
    const int loaded = LoadProfile(&file, &profile);
    if (loaded != 0) return loaded;
    const std::span<const int> isos = CKZARN_Common::IsoTable();
    for (std::size_t i = kVersion2IsoRows; i < isos.size(); ++i) {
        for (int light = 0; light < 2; ++light) {
            ZarnLib_PatchKey key;
            key.SetIso(isos[i]);
            key.SetLightSource(light);
            profile.RemoveTable(key);
        }
    }
    if (profile.TableCount() == 0) return -10002;
    // Every remaining table: all 35 ISO speeds from 3 to 8000.
    for (std::size_t i = 0; i < kVersion2IsoRows && i < isos.size(); ++i) {
        for (int light = 0; light < 2; ++light) {
            ZarnLib_PatchKey key;
            key.SetIso(isos[i]);
            key.SetLightSource(light);
            if (profile.FindTable(key) == nullptr) continue;
            const int result = ClampTablePointsForV2(profile, key);
            if (result != 0) return result;
        }
    }
    return SaveProfile(&file, &profile);
}
