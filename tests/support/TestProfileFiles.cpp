#include "tests/support/TestProfileFiles.h"

#include "profilelib/ZarnLibString.h"
#include "profilelib/ZarnLib_PatchKey.h"
#include "profilelib/ZarnLib_Profile.h"
#include "profilelib/ZarnLib_ProfileFile.h"

#include <filesystem>
#include <fstream>
#include <iterator>

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
