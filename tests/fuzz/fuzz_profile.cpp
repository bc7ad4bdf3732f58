// Feeds arbitrary bytes to the profile file reader, then runs the curve computations over whatever
// it accepted, since a loaded file is untrusted input for them as well.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>

#include <unistd.h>

#include "profilelib/ZarnLib_CurveTools.h"
#include "profilelib/ZarnLib_ProfileFile.h"

namespace {

const std::string& InputPath()
{
    static const std::string path = [] {
        const char* dir = std::getenv("TMPDIR");
        return std::string(dir != nullptr ? dir : "/tmp") + "/fuzz_profile_" + std::to_string(::getpid()) + ".kpf";
    }();
    return path;
}

void ExerciseCurves(ZarnLib_Profile& profile)
{
    for (int t = 0; t < profile.TableCount() && t < 8; ++t) {
        const ZarnLib_PatchKey key = profile.GetTableAt(t)->Key();
        for (int block = 0; block < 2; ++block) {
            ZarnLib_CurveList curves;
            ZarnLib_CurveList trimmed;
            if (profile.GetTableCurve(key, block, &curves, &trimmed) == 0) {
                std::vector<ZarnLib_LevelRange> ranges;
                GetCurveYRanges(trimmed, &ranges);
                int level = 118;
                SnapToRanges(ranges, &level);
                double ev = 0.0;
                profile.LevelAtInverse(key, block, &ev, level, &trimmed);
                double back = 0.0;
                profile.LevelAt(key, block, &back, ev, &curves);
                ClampToCurveDomain(&ev, 0.0, curves);
            }
            ZarnLib_PatchKey between = key;
            between.SetIso(key.GetIso() + 1);
            ZarnLib_CurveList interpolated;
            profile.GetCurveForSettings(between, block, &interpolated);
            _ZARNLIB_VECTOR2 five[5];
            double offset = 0.0;
            profile.GetPointsForSettings(between, block, five, &offset);
            _ZARNLIB_VECTOR2 four[4];
            double adjustment = 0.0;
            profile.GetPointsForSettingsAlt(between, block, four, &adjustment);
        }
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string& path = InputPath();
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (f == nullptr) {
        return 0;
    }
    if (size > 0) {
        std::fwrite(data, 1, size, f);
    }
    std::fclose(f);
    ZarnLibString name(path.c_str());
    ZarnLib_Profile profile;
    if (LoadProfile(&name, &profile) == 0) {
        ExerciseCurves(profile);
    }
    return 0;
}
