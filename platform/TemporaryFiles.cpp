#include "platform/TemporaryFiles.h"

#include <atomic>
#include <cstdio>
#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

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

bool IsAlnum(char c)
{
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

// The target of a name that NameBeside made, or "" when the name is not one of those.
std::string_view TargetOf(std::string_view fileName)
{
    // <target>.<digits>.<digits>.tmp with a target of at least one character.
    constexpr std::string_view kEnd = ".tmp";
    if (fileName.size() <= kEnd.size() || fileName.substr(fileName.size() - kEnd.size()) != kEnd) {
        return {};
    }
    std::string_view rest = fileName.substr(0, fileName.size() - kEnd.size());
    for (int field = 0; field < 2; ++field) {
        const std::size_t dot = rest.rfind('.');
        if (dot == std::string_view::npos || !AllDigits(rest.substr(dot + 1))) {
            return {};
        }
        rest = rest.substr(0, dot);
    }
    return rest;
}

bool EndsWithNoCase(std::string_view text, std::string_view end)
{
    if (text.size() < end.size()) {
        return false;
    }
    text = text.substr(text.size() - end.size());
    for (std::size_t i = 0; i < end.size(); ++i) {
        const auto lower = [](char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; };
        if (lower(text[i]) != lower(end[i])) {
            return false;
        }
    }
    return true;
}

} // namespace

std::string TemporaryFiles::NameBeside(const std::string& target)
{
    static std::atomic<unsigned> counter{0};
    for (int attempt = 0; attempt < 100; ++attempt) {
        char suffix[48];
        std::snprintf(suffix, sizeof suffix, ".%ld.%u.tmp", static_cast<long>(::getpid()), counter++);
        const std::string candidate = target + suffix;
        if (::access(candidate.c_str(), F_OK) != 0) {
            return candidate;
        }
    }
    return std::string();
}

bool TemporaryFiles::IsNameBeside(std::string_view fileName, std::string_view extension)
{
    std::string_view target = TargetOf(fileName);
    // A temporary file of a temporary file (a conversion of a copy in progress) belongs to the
    // same target.
    while (!TargetOf(target).empty()) {
        target = TargetOf(target);
    }
    return !target.empty() && EndsWithNoCase(target, extension);
}

int TemporaryFiles::RemoveStaleBeside(const std::string& target, std::time_t now)
{
    const std::size_t slash = target.rfind('/');
    const std::string folder = slash == std::string::npos ? std::string(".") : target.substr(0, slash == 0 ? 1 : slash);
    std::string_view name = slash == std::string::npos ? std::string_view(target)
                                                       : std::string_view(target).substr(slash + 1);
    while (!TargetOf(name).empty()) {
        name = TargetOf(name);
    }
    const std::size_t dot = name.rfind('.');
    const std::string extension(dot == std::string_view::npos ? std::string_view() : name.substr(dot));
    return RemoveStale(folder, [&extension](std::string_view file) { return IsNameBeside(file, extension); }, now);
}

bool TemporaryFiles::IsMkstempName(std::string_view fileName, std::string_view prefix)
{
    constexpr std::size_t kRandom = 6;
    if (fileName.size() != prefix.size() + kRandom || fileName.substr(0, prefix.size()) != prefix) {
        return false;
    }
    for (const char c : fileName.substr(prefix.size())) {
        if (!IsAlnum(c)) {
            return false;
        }
    }
    return true;
}

bool TemporaryFiles::IsHiddenMkstempName(std::string_view fileName)
{
    const std::size_t dot = fileName.rfind('.');
    return fileName.size() > 1 && fileName[0] == '.' && dot != std::string_view::npos && dot > 1 &&
           IsMkstempName(fileName.substr(dot), ".");
}

int TemporaryFiles::RemoveStale(const std::string& folder, const std::function<bool(std::string_view)>& isOurs,
                                std::time_t now)
{
    DIR* dir = ::opendir(folder.c_str());
    if (dir == nullptr) {
        return 0;
    }
    int removed = 0;
    while (const dirent* entry = ::readdir(dir)) {
        const std::string_view name = entry->d_name;
        if (!isOurs(name)) {
            continue;
        }
        const std::string path = folder + "/" + entry->d_name;
        struct stat st {};
        // lstat: a link of that name is not ours, whatever it points at.
        if (::lstat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode) || now - st.st_mtime < kStaleSeconds) {
            continue;
        }
        if (::unlink(path.c_str()) == 0) {
            ++removed;
        }
    }
    ::closedir(dir);
    return removed;
}
