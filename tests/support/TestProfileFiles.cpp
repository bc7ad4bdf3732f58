#include "tests/support/TestProfileFiles.h"

#include "profilelib/ZarnLibString.h"
#include "profilelib/ZarnLib_CnvPolyLine.h"
#include "profilelib/ZarnLib_EntryKey.h"
#include "profilelib/ZarnLib_PatchKey.h"
#include "profilelib/ZarnLib_Profile.h"
#include "profilelib/ZarnLib_ProfileFile.h"

#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

bool TestProfileFiles::Write(const std::string& path, short version, short subVersion, std::initializer_list<int> isos,
                             int chartKind, double cpm, double cpp)
{
    ZarnLib_Profile profile;
    profile.SetVersion(version);
    profile.SetSubVersion(subVersion);
    profile.SetChartKind(chartKind);
    for (const int iso : isos) {
        ZarnLib_PatchKey key;
        key.SetChartKind(chartKind);
        key.SetIso(iso);
        key.SetLightSource(0);
        const _ZARNLIB_VECTOR2 il[4] = {{cpm, 20}, {-3.0, 35}, {3.0, 230}, {cpp, 245}};
        const _ZARNLIB_VECTOR2 rl[4] = {{-5.0, 20}, {-2.0, 35}, {2.0, 230}, {5.0, 245}};
        if (profile.SetTablePointsOrCreate(key, 0, il, 0.3) != 0) return false;
        if (profile.SetTablePointsOrCreate(key, 1, rl, -0.7) != 0) return false;
    }
    const ZarnLibString file(path.c_str());
    return SaveProfile(&file, &profile) == 0;
}

bool TestProfileFiles::WriteMeasured(const std::string& path, std::initializer_list<int> isos, double cpm, double cpp)
{
    ZarnLib_Profile profile;
    profile.SetVersion(3);
    profile.SetSubVersion(0);
    profile.SetChartKind(1);
    for (const int iso : isos) {
        ZarnLib_PatchKey key;
        key.SetIso(iso);
        key.SetChartKind(1);
        key.SetIlShutter(33);
        key.SetIlAperture(11);
        key.SetRlShutter(34);
        key.SetRlAperture(11);
        for (int e = 0; e < 3; ++e) {
            ZarnLib_EntryKey entry;
            entry.SetIso(iso);
            entry.SetShutter(30 + 3 * e);
            entry.SetAperture(11);
            // A rising curve over 24 steps of a third of a stop.
            std::vector<_ZARNLIB_VECTOR2> points;
            for (int i = 0; i < 49; ++i) points.push_back({-8.0 + i / 3.0, 10.0 + 40 * e + (190.0 - 20 * e) * i / 48.0});
            ZarnLib_CnvPolyLine curve;
            if (curve.SetPoints(points.data(), static_cast<int>(points.size()), false) != 0) return false;
            if (profile.AddEntry(key, entry, curve) != 0) return false;
        }
        const _ZARNLIB_VECTOR2 five[5] = {{cpm, 20}, {-2.5, 35}, {2.5, 230}, {cpp, 245}, {0, 118}};
        if (profile.SetTablePoints(key, 0, five) != 0 || profile.SetTablePoints(key, 1, five) != 0) return false;
    }
    const ZarnLibString file(path.c_str());
    return SaveProfile(&file, &profile) == 0;
}

bool TestProfileFiles::WriteBroken(const std::string& path, short version, short subVersion)
{
    if (!Write(path, version, subVersion, {100})) return false;
    std::error_code error;
    std::filesystem::resize_file(path, 16, error);
    return !error;
}

std::string TestProfileFiles::Read(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}
