// A user data folder of its own for a test (XDG_DATA_HOME points into a scratch folder while the
// rig lives), with helpers that write small profiles into its Profile folder through the library.
#pragma once

#include "core/CFileLockManager.h"
#include "core/CKZARN_Common.h"
#include "profilelib/ZarnLibString.h"
#include "profilelib/ZarnLib_Profile.h"
#include "profilelib/ZarnLib_ProfileFile.h"
#include "tests/support/ScratchFolder.h"

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

class ProfileFolderRig {
public:
    ProfileFolderRig()
    {
        const char* old = std::getenv("XDG_DATA_HOME");
        hadOld_ = old != nullptr;
        old_ = hadOld_ ? old : "";
        ::setenv("XDG_DATA_HOME", folder_.Path().c_str(), 1);
    }
    ~ProfileFolderRig()
    {
        CFileLockManager::GetInstance()->RemoveAll();
        if (hadOld_) {
            ::setenv("XDG_DATA_HOME", old_.c_str(), 1);
        } else {
            ::unsetenv("XDG_DATA_HOME");
        }
    }
    ProfileFolderRig(const ProfileFolderRig&) = delete;
    ProfileFolderRig& operator=(const ProfileFolderRig&) = delete;

    // A table key of chart kind 1 with both readings at EV 2.
    static ZarnLib_PatchKey Key(int iso, int light = 0)
    {
        ZarnLib_PatchKey key;
        key.SetIso(iso);
        key.SetLightSource(light);
        key.SetChartKind(1);
        key.SetIlShutter(33);
        key.SetIlAperture(11);
        key.SetRlShutter(33);
        key.SetRlAperture(11);
        return key;
    }

    // Adds a measured table: one seven-patch photograph, CNT at level 118, both blocks valid.
    static void AddTable(ZarnLib_Profile* profile, int iso, int light = 0, double shift = 0.0)
    {
        std::vector<_ZARNLIB_VECTOR2> patches;
        const double levels[7] = {20, 50, 90, 118, 160, 210, 245};
        for (int i = 0; i < 7; ++i) {
            patches.push_back({static_cast<double>(i), levels[i] + (i == 3 ? 0.0 : shift)});
        }
        ZarnLib_CnvPolyLine curve;
        curve.SetPoints(patches.data(), 7, false);
        ZarnLib_EntryKey photo;
        photo.SetIso(iso);
        photo.SetShutter(33);
        photo.SetAperture(11);
        profile->AddEntry(Key(iso, light), photo, curve);
        const _ZARNLIB_VECTOR2 five[5] = {{-0.4, 30}, {-0.3, 50}, {0.2, 190}, {0.4, 230}, {0, 118}};
        profile->SetTablePoints(Key(iso, light), 0, five);
        profile->SetTablePoints(Key(iso, light), 1, five);
    }

    // Writes a wizard profile (version 3.0) with measured tables at the ISO speeds; its path.
    std::string WriteProfile(const std::string& name, const std::vector<int>& isos, int subVersion = 0)
    {
        ZarnLib_Profile profile;
        profile.SetVersion(3);
        profile.SetSubVersion(static_cast<std::int16_t>(subVersion));
        profile.SetChartKind(1);
        for (const int iso : isos) {
            AddTable(&profile, iso);
        }
        const std::string path = CKZARN_Common::GetProfilePath(name);
        const ZarnLibString kpf(path.c_str());
        SaveProfile(&kpf, &profile);
        return path;
    }

    static std::string ReadAll(const std::string& path)
    {
        std::ifstream in(path, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }

    const ScratchFolder& Folder() const { return folder_; }

private:
    ScratchFolder folder_;
    bool hadOld_ = false;
    std::string old_;
};
