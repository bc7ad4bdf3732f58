// Special folders: the program folder is the folder of the executable (the data files are installed
// beside it); the local application-data folder is $XDG_DATA_HOME, else ~/.local/share.
// Tests point both elsewhere with the overrides.
#pragma once

#include <string>

class SystemFolders {
public:
    // Full path of the running executable (empty when it cannot be found).
    static std::string ExecutablePath();
    // The folder in which the program's data files lie: the executable's folder unless overridden.
    static std::string ProgramFolder();
    // The user's local (non-roaming) application-data folder, created when missing.
    static std::string LocalAppDataFolder();
    // Empty texts remove the overrides.
    static void SetProgramFolderOverride(const std::string& folder);
    static void SetLocalAppDataOverride(const std::string& folder);
};
