#include "core/ShellFileUtility.h"

#include "core/ShellPathUtility.h"
#include "platform/AtomicFileWriter.h"
#include "platform/MimeAssociations.h"
#include "platform/ShellFileOperations.h"

#include <chrono>
#include <cstdio>
#include <deque>
#include <dirent.h>
#include <fcntl.h>
#include <random>
#include <sys/stat.h>
#include <unistd.h>

namespace {

bool IsFolder(const std::string& path)
{
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool ExistsAsNonFolder(const std::string& path)
{
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && !S_ISDIR(st.st_mode);
}

bool PathExists(const std::string& path)
{
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0;
}

std::string WithSeparator(const std::string& folder)
{
    return EndsWithBackslash(folder) ? folder : folder + '/';
}

bool StartsWithNoCase(const std::string& name, const std::string& prefix)
{
    return name.size() >= prefix.size() && CompareNoCaseMbcs(name.substr(0, prefix.size()), prefix) == 0;
}

bool EndsWithNoCase(const std::string& name, const std::string& suffix)
{
    return name.size() >= suffix.size() &&
           CompareNoCaseMbcs(name.substr(name.size() - suffix.size()), suffix) == 0;
}

bool PatternMatches(const std::string& pattern, const std::string& name)
{
    if (pattern == "*.*") {
        return true;
    }
    if (!pattern.empty() && pattern[0] == '*') {
        return EndsWithNoCase(name, pattern.substr(1));
    }
    return StartsWithNoCase(name, pattern);
}

struct Listing {
    bool started = false;
    std::vector<std::string> names; // entries other than "." and ".."
};

Listing ListFolder(const std::string& folder)
{
    Listing listing;
    DIR* dir = ::opendir(folder.c_str());
    if (dir == nullptr) {
        return listing;
    }
    listing.started = true;
    while (const dirent* entry = ::readdir(dir)) {
        const std::string name = entry->d_name;
        if (name != "." && name != "..") {
            listing.names.push_back(name);
        }
    }
    ::closedir(dir);
    return listing;
}

bool WriteAll(int fd, const unsigned char* data, std::size_t size)
{
    while (size > 0) {
        const ssize_t n = ::write(fd, data, size);
        if (n <= 0) {
            return false;
        }
        data += n;
        size -= static_cast<std::size_t>(n);
    }
    return true;
}

} // namespace

BOOL CopyOrMoveFileList(const std::vector<std::string>& sources, const std::vector<std::string>& targets,
                        BOOL copy, BOOL rename)
{
    if (sources.empty()) {
        return TRUE;
    }
    if (targets.size() < sources.size()) {
        return FALSE;
    }
    BOOL all = TRUE;
    for (std::size_t i = 0; i < sources.size(); ++i) {
        if (!ShellFileOperations::Current().CopyOrMove(sources[i], targets[i], copy != 0, rename != 0, nullptr)) {
            all = FALSE;
        }
    }
    return all;
}

BOOL CopyOrMoveFile(const std::string& source, const std::string& target, BOOL copy, BOOL rename)
{
    return CopyOrMoveFileList({source}, {target}, copy, rename);
}

BOOL CopyOrMoveFilesToFolder(const std::vector<std::string>& sources, const std::string& folder, BOOL copy,
                             BOOL rename)
{
    std::vector<std::string> targets;
    for (const auto& source : sources) {
        targets.push_back(WithSeparator(folder) + GetFileNameFromPath(source));
    }
    return CopyOrMoveFileList(sources, targets, copy, rename);
}

BOOL DeleteFileList(const std::vector<std::string>& paths, BOOL recycle, BOOL showUi)
{
    if (paths.empty()) {
        return FALSE;
    }
    ShellFileOperations& shell = ShellFileOperations::Current();
    if (showUi != 0 && !shell.ConfirmDeletion(paths, recycle != 0)) {
        return FALSE; // the user declined
    }
    BOOL all = TRUE;
    for (const auto& path : paths) {
        if (!shell.Delete(path, recycle != 0)) {
            all = FALSE;
        }
    }
    return all;
}

BOOL CreateFolderTree(const std::string& path)
{
    std::deque<std::string> steps;
    std::string step = path;
    while (true) {
        if (ExistsAsNonFolder(step)) {
            return FALSE;
        }
        steps.push_front(step);
        const std::string parent = GetParentFolder(step);
        if (parent.empty() || CompareNoCaseMbcs(parent, step) == 0) {
            break;
        }
        step = parent;
    }
    if (!IsFolder(steps.front())) {
        return FALSE;
    }
    for (std::size_t i = 1; i < steps.size(); ++i) {
        if (!IsFolder(steps[i]) && ::mkdir(steps[i].c_str(), 0777) != 0) {
            return FALSE;
        }
    }
    return TRUE;
}

BOOL ReplaceFileThroughTemporary(const std::string& target, const std::function<bool(const std::string&)>& write)
{
    return AtomicFileWriter::ReplaceThrough(target, write) ? TRUE : FALSE;
}

BOOL IsFolderWritable(const std::string& folder)
{
    std::string name = WithSeparator(folder) + "$$$XXXXXX";
    const int fd = ::mkstemp(name.data());
    if (fd < 0) {
        return FALSE;
    }
    unsigned char buffer[261] = {};
    const bool written = WriteAll(fd, buffer, sizeof buffer);
    const bool closed = ::close(fd) == 0;
    const bool found = PathExists(name);
    if (found) {
        ::unlink(name.c_str());
    }
    return (written && closed && found) ? TRUE : FALSE;
}

BOOL AppendTextToFile(const std::string& path, const std::string& text)
{
    if (path.empty()) {
        return FALSE;
    }
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_APPEND, 0666);
    if (fd < 0) {
        return FALSE;
    }
    const bool written = WriteAll(fd, reinterpret_cast<const unsigned char*>(text.data()), text.size());
    const bool closed = ::close(fd) == 0;
    return (written && closed) ? TRUE : FALSE;
}

void OverwriteFile(const std::string& path, int passes)
{
    int fd = ::open(path.c_str(), O_RDWR);
    if (fd < 0) {
        return;
    }
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        return;
    }
    const auto length = static_cast<std::size_t>(static_cast<std::uint32_t>(st.st_size));
    if (length < 5) {
        ::close(fd);
        return;
    }
    std::vector<unsigned char> buffer(length, 0);
    static constexpr unsigned char kFill[] = {0x00, 0xFF, 0xAA, 0x55, 0xF0, 0x0F};
    for (int pass = 0; pass < passes; ++pass) {
        if (pass > 0) {
            fd = ::open(path.c_str(), O_RDWR);
            if (fd < 0) {
                return;
            }
        }
        if (pass < 6) {
            std::fill(buffer.begin(), buffer.end(), kFill[pass]);
        } else if (pass == 6) {
            // One random value (0 to 32767) in every 4-byte word below length - 4; the last bytes keep
            // the previous pattern.
            std::minstd_rand random(static_cast<std::uint32_t>(
                std::chrono::steady_clock::now().time_since_epoch().count()));
            for (std::size_t offset = 0; offset + 4 < length; offset += 4) {
                const std::uint32_t value = random() % 32768;
                for (int k = 0; k < 4; ++k) {
                    buffer[offset + static_cast<std::size_t>(k)] = static_cast<unsigned char>(value >> (8 * k));
                }
            }
        }
        ::lseek(fd, 0, SEEK_SET);
        WriteAll(fd, buffer.data(), buffer.size());
        ::close(fd);
    }
}

double TotalFileSizeKB(const std::vector<std::string>& paths)
{
    double total = 0.0;
    for (const auto& path : paths) {
        const int fd = ::open(path.c_str(), O_RDONLY);
        if (fd < 0) {
            continue;
        }
        struct stat st {};
        if (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode)) {
            total += static_cast<double>(static_cast<std::uint32_t>(st.st_size)) / 1024.0;
        }
        ::close(fd);
    }
    return total;
}

int GetOpenCommandForFile(const std::string& extension)
{
    std::string key = (!extension.empty() && extension[0] == '.') ? extension : "." + extension;
    for (char& c : key) {
        if (c >= 'A' && c <= 'Z') {
            c = static_cast<char>(c - 'A' + 'a');
        }
    }
    const std::string type = MimeAssociations::TypeForExtension(key);
    if (type.empty()) {
        return 0;
    }
    const std::string entry = MimeAssociations::DesktopEntryForType(type);
    if (entry.empty()) {
        return 1;
    }
    std::string command;
    return MimeAssociations::OpenCommand(entry, command) ? 3 : 2;
}

BOOL ScanFolderByPatterns(const std::string& folder, std::vector<std::string>& out,
                          const std::vector<std::string>& patterns, BOOL matchAny, BOOL recurse)
{
    const std::string base = WithSeparator(folder);
    const Listing listing = ListFolder(base);
    if (!listing.started) {
        return FALSE;
    }
    std::vector<std::string> subFolders;
    for (const auto& name : listing.names) {
        const std::string full = base + name;
        if (recurse != 0 && IsFolder(full)) {
            subFolders.push_back(full);
            continue;
        }
        std::size_t matched = 0;
        for (const auto& pattern : patterns) {
            if (PatternMatches(pattern, name)) {
                ++matched;
            }
        }
        const bool take = matchAny != 0 ? matched > 0 : matched == patterns.size();
        if (take) {
            out.push_back(full);
        }
    }
    for (const auto& sub : subFolders) {
        if (!ScanFolderByPatterns(sub, out, patterns, matchAny, recurse)) {
            return FALSE;
        }
    }
    return TRUE;
}

BOOL CollectImageFolders(const std::string& folder, std::vector<std::string>& out,
                         const std::vector<std::string>& patterns, BOOL matchAny, BOOL recurse)
{
    const std::string base = WithSeparator(folder);
    const Listing listing = ListFolder(base);
    if (!listing.started) {
        return FALSE;
    }
    std::string dcim;
    std::vector<std::string> others;
    if (recurse != 0) {
        for (const auto& name : listing.names) {
            const std::string full = base + name;
            if (!IsFolder(full)) {
                continue;
            }
            if (dcim.empty() && CompareNoCaseMbcs(name, "DCIM") == 0) {
                dcim = full;
            } else {
                others.push_back(full);
            }
        }
    }
    if (!dcim.empty() && !ScanFolderByPatterns(dcim, out, patterns, matchAny, recurse)) {
        return FALSE;
    }
    BOOL result = ScanFolderByPatterns(base, out, patterns, matchAny, FALSE);
    for (std::size_t i = 0; result && i < others.size(); ++i) {
        result = ScanFolderByPatterns(others[i], out, patterns, matchAny, recurse);
    }
    return result;
}
