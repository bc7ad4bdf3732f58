#include "platform/SystemFolders.h"

#include <cstdlib>
#include <filesystem>
#include <mutex>
#include <system_error>
#include <unistd.h>

namespace {

std::mutex g_mutex;
std::string g_programOverride;
std::string g_appDataOverride;

} // namespace

std::string SystemFolders::ExecutablePath()
{
    std::error_code ec;
    const auto p = std::filesystem::read_symlink("/proc/self/exe", ec);
    return ec ? std::string() : p.string();
}

std::string SystemFolders::ProgramFolder()
{
    {
        std::lock_guard<std::mutex> lock(g_mutex);
        if (!g_programOverride.empty()) {
            return g_programOverride;
        }
    }
    return std::filesystem::path(ExecutablePath()).parent_path().string();
}

std::string SystemFolders::LocalAppDataFolder()
{
    std::string folder;
    {
        std::lock_guard<std::mutex> lock(g_mutex);
        folder = g_appDataOverride;
    }
    if (folder.empty()) {
        const char* xdg = std::getenv("XDG_DATA_HOME");
        if (xdg != nullptr && xdg[0] == '/') {
            folder = xdg;
        } else {
            const char* home = std::getenv("HOME");
            folder = std::string(home != nullptr ? home : "/tmp") + "/.local/share";
        }
    }
    std::error_code ec;
    std::filesystem::create_directories(folder, ec);
    return folder;
}

void SystemFolders::SetProgramFolderOverride(const std::string& folder)
{
    std::lock_guard<std::mutex> lock(g_mutex);
    g_programOverride = folder;
}

void SystemFolders::SetLocalAppDataOverride(const std::string& folder)
{
    std::lock_guard<std::mutex> lock(g_mutex);
    g_appDataOverride = folder;
}
