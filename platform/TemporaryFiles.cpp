#include "platform/TemporaryFiles.h"

#include <atomic>
#include <climits>
#include <cstdio>
#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

std::atomic<TemporaryFiles::ClockFunction> g_clock{nullptr};

bool AllDigits(std::string_view text)
{
    if (text.empty()) {
        return false;
    }
    for (const char c : text) {
        if (c < '0' || c > '9') {
            return false;
        }
    }
    return true;
}

// The longest part of the target's name kept in a temporary name: room is left for the dot, the
// process id, the counter and the suffix within NAME_MAX (255 bytes).
constexpr std::size_t kMaxNamePart = 200;

std::string FolderOf(const std::string& path)
{
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos) {
        return ".";
    }
    return slash == 0 ? std::string("/") : path.substr(0, slash);
}

} // namespace

std::string TemporaryFiles::NameBeside(const std::string& target)
{
    static std::atomic<unsigned> counter{0};
    const std::size_t slash = target.rfind('/');
    const std::string prefix = slash == std::string::npos ? std::string() : target.substr(0, slash + 1);
    std::string name = slash == std::string::npos ? target : target.substr(slash + 1);
    if (name.size() > kMaxNamePart) {
        name.resize(kMaxNamePart);
    }
    for (int attempt = 0; attempt < 100; ++attempt) {
        char tail[64];
        std::snprintf(tail, sizeof tail, ".%ld.%u", static_cast<long>(::getpid()), counter++);
        const std::string candidate = prefix + "." + name + tail + std::string(kSuffix);
        struct stat st {};
        if (::lstat(candidate.c_str(), &st) != 0) {
            return candidate;
        }
    }
    return std::string();
}

bool TemporaryFiles::IsTemporaryName(std::string_view fileName)
{
    // "." <name of at least one byte> "." <digits> "." <digits> ".zarn-tmp"
    if (fileName.size() <= kSuffix.size() + 1 || fileName[0] != '.' ||
        fileName.substr(fileName.size() - kSuffix.size()) != kSuffix) {
        return false;
    }
    std::string_view rest = fileName.substr(1, fileName.size() - kSuffix.size() - 1);
    for (int field = 0; field < 2; ++field) {
        const std::size_t dot = rest.rfind('.');
        if (dot == std::string_view::npos || !AllDigits(rest.substr(dot + 1))) {
            return false;
        }
        rest = rest.substr(0, dot);
    }
    return !rest.empty();
}

int TemporaryFiles::RemoveStale(const std::string& folder)
{
    return RemoveStale(folder, Now());
}

int TemporaryFiles::RemoveStale(const std::string& folder, std::time_t now)
{
    DIR* dir = ::opendir(folder.c_str());
    if (dir == nullptr) {
        return 0;
    }
    int removed = 0;
    while (const dirent* entry = ::readdir(dir)) {
        if (!IsTemporaryName(entry->d_name)) {
            continue;
        }
        const std::string path = folder + "/" + entry->d_name;
        struct stat st {};
        // lstat: a link of that name is not ours, whatever it points at. A folder is not ours
        // either: our writers make regular files only.
        if (::lstat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode) || now - st.st_ctime < kStaleSeconds) {
            continue;
        }
        if (::unlink(path.c_str()) == 0) {
            ++removed;
        }
    }
    ::closedir(dir);
    return removed;
}

int TemporaryFiles::RemoveStaleBeside(const std::string& target)
{
    return RemoveStale(FolderOf(target));
}

std::time_t TemporaryFiles::Now()
{
    const ClockFunction clock = g_clock.load();
    return clock != nullptr ? clock() : std::time(nullptr);
}

void TemporaryFiles::SetClock(ClockFunction clock)
{
    g_clock.store(clock);
}
