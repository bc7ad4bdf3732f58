#include "core/util/PathUtility.h"

#include "platform/SystemFolders.h"

#include <cerrno>
#include <sys/stat.h>

namespace {

constexpr const char* kSplitSeparators = "/\\:";

bool EndsWithSlash(const std::string& s)
{
    return !s.empty() && (s.back() == '/' || s.back() == '\\');
}

} // namespace

std::string GetFolderPart(const std::string& path)
{
    const std::size_t pos = path.find_last_of(kSplitSeparators);
    return pos == std::string::npos ? path : path.substr(0, pos);
}

std::string GetNamePart(const std::string& path)
{
    const std::size_t pos = path.find_last_of(kSplitSeparators);
    return pos == std::string::npos ? path : path.substr(pos + 1);
}

int SplitPathExt(const std::string& path, std::string& folder, std::string& title, std::string& extension)
{
    folder.clear();
    title.clear();
    extension.clear();
    std::string name = path;
    const std::size_t pos = path.find_last_of(kSplitSeparators);
    if (pos != std::string::npos) {
        folder = path.substr(0, pos + 1);
        name = path.substr(pos + 1);
    }
    const std::size_t dot = name.rfind('.');
    if (dot != std::string::npos) {
        title = name.substr(0, dot);
        extension = name.substr(dot + 1);
    }
    return 1;
}

int SplitFolderName(const std::string& path, std::string& folder, std::string& name)
{
    folder.clear();
    name.clear();
    const std::size_t pos = path.find_last_of(kSplitSeparators);
    if (pos != std::string::npos) {
        folder = path.substr(0, pos + 1);
        name = path.substr(pos + 1);
    }
    return 1;
}

int SplitFolderAndName(const std::string& path, std::string& folder, std::string& name)
{
    return SplitFolderName(path, folder, name);
}

std::string JoinPath(const std::string& folder, const std::string& name, bool trailingSeparator)
{
    if (folder.empty() || name.empty()) {
        return {};
    }
    std::string out = folder;
    if (!EndsWithSlash(out)) {
        out += kPathSeparator;
    }
    out += name;
    if (trailingSeparator) {
        out += kPathSeparator;
    }
    return out;
}

std::string MakePath(const std::string& folder, const std::string& name, const std::string& extension)
{
    if (folder.empty() || name.empty()) {
        return {};
    }
    std::string out = folder;
    if (!EndsWithSlash(out)) {
        out += kPathSeparator;
    }
    return out + name + "." + extension;
}

std::string JoinPathExt(const std::string& folder, const std::string& title, const std::string& extension)
{
    return MakePath(folder, title, extension);
}

std::string GetModuleFolder()
{
    const std::string exe = SystemFolders::ExecutablePath();
    const std::size_t pos = exe.find_last_of(kSplitSeparators);
    return pos == std::string::npos ? std::string() : exe.substr(0, pos);
}

BOOL FileExists(const std::string& path)
{
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 ? TRUE : FALSE;
}

BOOL IsDirectory(const std::string& path)
{
    struct stat st {};
    return (::stat(path.c_str(), &st) == 0 && (st.st_mode & S_IFMT) == S_IFDIR) ? TRUE : FALSE;
}

BOOL EnsureFolderExists(const std::string& path)
{
    if (path.empty()) {
        return FALSE;
    }
    // Create each level in turn, from the top down: mkdir makes one level at a time, and a level
    // that exists already is passed over.
    std::string target = path;
    if (target.back() != kPathSeparator) {
        target += kPathSeparator;
    }
    for (std::size_t pos = target.find(kPathSeparator, 1); pos != std::string::npos;
         pos = target.find(kPathSeparator, pos + 1)) {
        const std::string level = target.substr(0, pos);
        if (level.empty() || level.back() == kPathSeparator) {
            continue;
        }
        if (::mkdir(level.c_str(), 0777) != 0 && errno != EEXIST) {
            return FALSE;
        }
    }
    return IsDirectory(target);
}
