#include "core/util/CFolderScanner.h"

#include "core/util/PathUtility.h"

#include <dirent.h>

namespace {

bool EqualsIgnoringAsciiCase(const std::string& a, const std::string& b)
{
    if (a.size() != b.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.size(); ++i) {
        char x = a[i];
        char y = b[i];
        if (x >= 'A' && x <= 'Z') {
            x = static_cast<char>(x - 'A' + 'a');
        }
        if (y >= 'A' && y <= 'Z') {
            y = static_cast<char>(y - 'A' + 'a');
        }
        if (x != y) {
            return false;
        }
    }
    return true;
}

} // namespace

int CFolderScanner::ScanFolder(const std::string& folder, std::vector<std::string>& paths,
                               const std::vector<std::string>& extensions, int recurse)
{
    DIR* dir = ::opendir(folder.c_str());
    if (dir == nullptr) {
        return 1;
    }
    while (const dirent* entry = ::readdir(dir)) {
        const std::string name = entry->d_name;
        if (name == "." || name == "..") {
            continue;
        }
        const std::string full = JoinPath(folder, name, false);
        if (IsDirectory(full)) {
            if (recurse != 0) {
                ScanFolder(full, paths, extensions, recurse);
            }
            continue;
        }
        std::string dummyFolder;
        std::string title;
        std::string ext;
        SplitPathExt(full, dummyFolder, title, ext);
        for (const std::string& wanted : extensions) {
            if (EqualsIgnoringAsciiCase(ext, wanted)) {
                paths.push_back(full);
                break;
            }
        }
    }
    ::closedir(dir);
    return 1;
}
