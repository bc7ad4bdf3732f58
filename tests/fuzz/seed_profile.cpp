// Writes valid profile files through the library into the folder given as argv[1]: an empty profile,
// hand-entered tables, and measured tables of every chart layout in each format version.
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "profilelib/ZarnLib_ProfileFile.h"

namespace {

ZarnLib_CnvPolyLine Rising(int points, double low, double high)
{
    std::vector<_ZARNLIB_VECTOR2> p;
    for (int i = 0; i < points; ++i) {
        p.push_back({static_cast<double>(i), low + (high - low) * i / (points - 1)});
    }
    ZarnLib_CnvPolyLine c;
    c.SetPoints(p.data(), points, false);
    return c;
}

void AddMeasuredTable(ZarnLib_Profile& profile, int iso, int kind, int points)
{
    ZarnLib_PatchKey key;
    key.SetIso(iso);
    key.SetChartKind(kind);
    key.SetIlShutter(33);
    key.SetIlAperture(11);
    key.SetRlShutter(34);
    key.SetRlAperture(11);
    for (int e = 0; e < 3; ++e) {
        ZarnLib_EntryKey entry;
        entry.SetIso(iso);
        entry.SetShutter(30 + 3 * e);
        entry.SetAperture(11);
        profile.AddEntry(key, entry, Rising(points, 10 + 40 * e, 200 + 20 * e));
    }
    const _ZARNLIB_VECTOR2 five[5] = {{-3.5, 20}, {-2.5, 35}, {2.5, 230}, {3.5, 245}, {0, 118}};
    profile.SetTablePoints(key, 0, five);
    profile.SetTablePoints(key, 1, five);
}

bool Save(const std::string& folder, const std::string& name, const ZarnLib_Profile& profile)
{
    const std::string path = folder + "/" + name;
    ZarnLibString kpf(path.c_str());
    return SaveProfile(&kpf, &profile) == 0;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s folder\n", argv[0]);
        return 2;
    }
    const std::string folder = argv[1];
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    bool ok = true;
    const struct {
        int version;
        int sub;
    } versions[] = {{2, 0}, {3, 0}, {3, 1}};
    for (const auto& v : versions) {
        const std::string suffix = std::to_string(v.version) + "_" + std::to_string(v.sub) + ".kpf";
        ZarnLib_Profile empty;
        empty.SetVersion(static_cast<std::int16_t>(v.version));
        empty.SetSubVersion(static_cast<std::int16_t>(v.sub));
        ok = Save(folder, "empty_" + suffix, empty) && ok;

        ZarnLib_Profile manual;
        manual.SetVersion(static_cast<std::int16_t>(v.version));
        manual.SetSubVersion(static_cast<std::int16_t>(v.sub));
        const _ZARNLIB_VECTOR2 four[4] = {{-3, 21}, {-2, 36}, {2, 229}, {3, 244}};
        for (int iso : {100, 400}) {
            ZarnLib_PatchKey key;
            key.SetIso(iso);
            manual.SetTablePointsOrCreate(key, 0, four, 0.5);
            manual.SetTablePointsOrCreate(key, 1, four, -0.5);
        }
        manual.SetIlOffset(0.3);
        ok = Save(folder, "manual_" + suffix, manual) && ok;

        const struct {
            int kind;
            int points;
        } layouts[] = {{1, 7}, {2, 25}, {3, 6}, {6, 7}};
        for (const auto& layout : layouts) {
            ZarnLib_Profile measured;
            measured.SetVersion(static_cast<std::int16_t>(v.version));
            measured.SetSubVersion(static_cast<std::int16_t>(v.sub));
            AddMeasuredTable(measured, 100, layout.kind, layout.points);
            AddMeasuredTable(measured, 400, layout.kind, layout.points);
            ok = Save(folder, "kind" + std::to_string(layout.kind) + "_" + suffix, measured) && ok;
        }
    }
    return ok ? 0 : 1;
}
