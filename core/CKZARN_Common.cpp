// Folders, profile names and files, error texts.
#include "core/CKZARN_Common.h"

#include "core/ShellPathUtility.h"
#include "core/util/CLangTable.h"
#include "platform/ShellFileOperations.h"
#include "platform/SystemFolders.h"
#include "profilelib/ZarnLib_ProfileFile.h"

#include <cstdio>
#include <cstring>
#include <dirent.h>
#include <sys/stat.h>

namespace {

bool EqualsNoCaseAscii(const std::string& a, const std::string& b)
{
    return CompareNoCaseMbcs(a, b) == 0;
}

// Creates the folder when missing; a level that cannot be created is not reported: the file
// operation that follows fails in its own way.
void MakeLevel(const std::string& folder)
{
    ::mkdir(folder.c_str(), 0777);
}

// The user data folder: "Kestrin/Zarndesk" in the local application-data folder.
std::string UserDataFolder()
{
    std::string folder = SystemFolders::LocalAppDataFolder() + "/Kestrin";
    MakeLevel(folder);
    folder += "/Zarndesk";
    MakeLevel(folder);
    return folder;
}

} // namespace

std::string CKZARN_Common::GetFolderPath(FolderKind kind)
{
    switch (kind) {
    case 0:
    case 7:
        return UserDataFolder();
    case 2:
    case 4: {
        const std::string folder = UserDataFolder() + (kind == 2 ? "/Profile" : "/Backup");
        MakeLevel(folder);
        return folder;
    }
    case 1:
    case 3:
    case 5:
    case 6:
    case 8: {
        const std::string folder = SystemFolders::ProgramFolder();
        return EndsWithBackslash(folder) ? folder : folder + '/';
    }
    default:
        return {};
    }
}

BOOL CKZARN_Common::IsDefaultProfileName(const std::string& name)
{
    return EqualsNoCaseAscii(name, kDefaultProfileName) ? TRUE : FALSE;
}

BOOL CKZARN_Common::IsProfileNameLengthValid(const std::string& name)
{
    return (!name.empty() && name.size() <= 31) ? TRUE : FALSE;
}

BOOL CKZARN_Common::IsAsciiText(const std::string& text)
{
    for (const char c : text) {
        if (static_cast<unsigned char>(c) >= 0x80) {
            return FALSE;
        }
    }
    return TRUE;
}

BOOL CKZARN_Common::HasInvalidFileNameChar(const std::string& name)
{
    return name.find_first_of("\\/:*?\"<>|,") != std::string::npos ? TRUE : FALSE;
}

BOOL CKZARN_Common::IsValidProfileName(const std::string& name)
{
    return (IsProfileNameLengthValid(name) && IsAsciiText(name) && !HasInvalidFileNameChar(name)) ? TRUE : FALSE;
}

namespace {

std::string ProfileFolderOf(const std::string& name)
{
    return CKZARN_Common::GetFolderPath(CKZARN_Common::IsDefaultProfileName(name) ? 1 : 2);
}

bool IsRegularFile(const std::string& path)
{
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

} // namespace

std::string CKZARN_Common::GetProfilePath(const std::string& name)
{
    // Profile names compare without regard to letter case, the file system here does not: a file
    // that holds the name in another spelling is the profile's file, so loads, saves, imports and
    // deletes all reach the one file a name stands for.
    const std::string spelled = ProfileFolderOf(name) + "/" + name + ".kpf";
    const std::string found = ShellFileOperations::FindCaseVariant(spelled);
    return found.empty() ? spelled : found;
}

BOOL CKZARN_Common::ProfileFileExists(const std::string& name)
{
    // The program folder only for the exact default name; the name's letter case does not count.
    const std::string folder = GetFolderPath(name == kDefaultProfileName ? 1 : 2);
    const std::string found = ShellFileOperations::FindCaseVariant(folder + "/" + name + ".kpf");
    return (!found.empty() && IsRegularFile(found)) ? TRUE : FALSE;
}

BOOL CKZARN_Common::IsProfileNameTaken(const std::string& name, const std::string& ownName)
{
    if (ownName.empty() || IsDefaultProfileName(name)) {
        return ProfileFileExists(name);
    }
    const std::string folder = ProfileFolderOf(name);
    const std::string own = GetProfilePath(ownName);
    const std::string wanted = name + ".kpf";
    DIR* dir = ::opendir(folder.c_str());
    if (dir == nullptr) {
        return FALSE;
    }
    bool taken = false;
    while (const dirent* entry = ::readdir(dir)) {
        const std::string full = folder + "/" + entry->d_name;
        if (EqualsNoCaseAscii(entry->d_name, wanted) && full != own && IsRegularFile(full)) {
            taken = true;
            break;
        }
    }
    ::closedir(dir);
    return taken ? TRUE : FALSE;
}

std::string CKZARN_Common::CannotLoadProfileText(const std::string& name)
{
    return name + "\n" + GetLangString(kCannotLoadProfileTextId);
}

BOOL CKZARN_Common::CanLoadProfile(const std::string& name)
{
    if (!IsValidProfileName(name)) {
        return FALSE;
    }
    ZarnLib_Profile profile;
    const ZarnLibString path(GetProfilePath(name).c_str());
    return LoadProfile(&path, &profile) == 0 ? TRUE : FALSE;
}

int CKZARN_Common::ReadProfileVersion(const std::string& path, short* version, short* subVersion)
{
    if (version != nullptr) {
        *version = -1;
    }
    if (subVersion != nullptr) {
        *subVersion = -1;
    }
    ZarnLib_Profile profile;
    const ZarnLibString file(path.c_str());
    const int result = LoadProfile(&file, &profile);
    if (result == 0) {
        if (version != nullptr) {
            *version = profile.GetVersion();
        }
        if (subVersion != nullptr) {
            *subVersion = profile.GetSubVersion();
        }
    }
    return result;
}

void CKZARN_Common::ListProfileNames(std::vector<std::string>* names, int includeDefault, int versionFilter,
                                     int subVersionFilter)
{
    if (names == nullptr) {
        return;
    }
    names->clear();
    if (includeDefault == 1 && ProfileFileExists(kDefaultProfileName)) {
        names->push_back(kDefaultProfileName);
    }
    const std::string folder = GetFolderPath(2);
    DIR* dir = ::opendir(folder.c_str());
    if (dir == nullptr) {
        return;
    }
    while (const dirent* entry = ::readdir(dir)) {
        const std::string file = entry->d_name;
        // "*.kpf": the extension compared without regard to letter case.
        if (file.size() < 4 || CompareNoCaseMbcs(file.substr(file.size() - 4), ".kpf") != 0) {
            continue;
        }
        const std::string full = folder + "/" + file;
        struct stat st {};
        if (::stat(full.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) {
            continue;
        }
        short version = -1;
        short subVersion = -1;
        if (ReadProfileVersion(full, &version, &subVersion) != 0) {
            continue;
        }
        const std::string title = file.substr(0, file.size() - 4);
        if (!IsProfileNameLengthValid(title) || !IsAsciiText(title)) {
            continue;
        }
        const bool versionOk = versionFilter == 0 || (versionFilter == 1 ? version == 2 : version == 3);
        const bool subOk = subVersionFilter == 0 || (subVersionFilter == 1 ? subVersion == 0 : subVersion == 1);
        if (versionOk && subOk) {
            names->push_back(title);
        }
    }
    ::closedir(dir);
}

int CKZARN_Common::ConvertProfileVersion(const std::string& path, short version, short subVersion)
{
    if ((version != 2 && version != 3) || (subVersion != 0 && subVersion != 1)) {
        return -10000;
    }
    ZarnLib_Profile profile;
    const ZarnLibString file(path.c_str());
    const int loaded = LoadProfile(&file, &profile);
    if (loaded != 0) {
        return loaded;
    }
    profile.SetVersion(version);
    profile.SetSubVersion(subVersion);
    // SaveProfile writes a temporary file beside the target and renames it into place.
    return SaveProfile(&file, &profile);
}

std::string CKZARN_Common::GetErrorMessage(unsigned code)
{
    static constexpr int kMeterTexts[] = {10004, 10005, 10006, 10007, 10017, 10018,
                                          10019, 10020, 10021, 10022, 10023, 10024};
    if ((code & 0x20000000u) != 0) {
        const unsigned index = code - 0x20000000u;
        if (index < std::size(kMeterTexts)) {
            return GetLangString(kMeterTexts[index]);
        }
        char buffer[64];
        std::snprintf(buffer, sizeof buffer, "Unknown Error (%X)", code);
        return buffer;
    }
    // Other codes come from failed system calls, described by the C library's error texts. The text
    // ends with a line end, since callers place it before a further line of the message.
    char buffer[256] = {};
    const char* text = ::strerror_r(static_cast<int>(code), buffer, sizeof buffer);
    if (text == nullptr || text[0] == '\0') {
        return {};
    }
    return std::string(text) + "\r\n";
}
