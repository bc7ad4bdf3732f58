#include "platform/FreedesktopTrash.h"

#include "platform/ShellFileOperations.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <fcntl.h>
#include <filesystem>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

std::string DefaultTrashFolder()
{
    const char* xdg = std::getenv("XDG_DATA_HOME");
    if (xdg != nullptr && xdg[0] == '/') {
        return std::string(xdg) + "/Trash";
    }
    const char* home = std::getenv("HOME");
    return std::string(home != nullptr ? home : "/tmp") + "/.local/share/Trash";
}

// The Path key of a .trashinfo file: the absolute path with bytes outside the unreserved set
// percent-encoded, "/" kept.
std::string EncodePath(const std::string& path)
{
    static const char* kHex = "0123456789ABCDEF";
    std::string out;
    for (const char ch : path) {
        const auto c = static_cast<unsigned char>(ch);
        if ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '/' || c == '-' ||
            c == '_' || c == '.' || c == '~') {
            out += ch;
        } else {
            out += '%';
            out += kHex[c >> 4];
            out += kHex[c & 0xF];
        }
    }
    return out;
}

bool MoveAcrossDevices(const fs::path& from, const fs::path& to)
{
    std::error_code ec;
    fs::copy(from, to, fs::copy_options::recursive | fs::copy_options::copy_symlinks, ec);
    if (ec) {
        fs::remove_all(to, ec);
        return false;
    }
    fs::remove_all(from, ec);
    return !ec;
}

} // namespace

FreedesktopTrash::FreedesktopTrash(std::string trashFolder)
    : folder_(trashFolder.empty() ? DefaultTrashFolder() : std::move(trashFolder))
{
}

bool FreedesktopTrash::Put(const std::string& path) const
{
    std::error_code ec;
    const fs::path source = fs::absolute(path, ec);
    if (ec || !fs::exists(fs::symlink_status(source, ec))) {
        return false;
    }
    const fs::path files = fs::path(folder_) / "files";
    const fs::path info = fs::path(folder_) / "info";
    fs::create_directories(files, ec);
    fs::create_directories(info, ec);
    if (!fs::is_directory(files) || !fs::is_directory(info)) {
        return false;
    }
    // Reserve a name by creating its .trashinfo file exclusively; the trashed object follows.
    std::string name = source.filename().string();
    for (int attempt = 0; attempt < 10000; ++attempt) {
        if (attempt > 0) {
            name = source.stem().string() + " (" + std::to_string(attempt + 1) + ")" + source.extension().string();
        }
        const fs::path infoFile = info / (name + ".trashinfo");
        const int fd = ::open(infoFile.c_str(), O_WRONLY | O_CREAT | O_EXCL, 0600);
        if (fd < 0) {
            if (errno == EEXIST) {
                continue;
            }
            return false;
        }
        if (fs::exists(fs::symlink_status(files / name, ec))) {
            ::close(fd);
            fs::remove(infoFile, ec);
            continue;
        }
        char date[32] = {};
        const std::time_t now = std::time(nullptr);
        std::tm local {};
        localtime_r(&now, &local);
        std::strftime(date, sizeof date, "%Y-%m-%dT%H:%M:%S", &local);
        const std::string text = "[Trash Info]\nPath=" + EncodePath(source.string()) + "\nDeletionDate=" + date + "\n";
        const bool written = ::write(fd, text.data(), text.size()) == static_cast<ssize_t>(text.size());
        ::close(fd);
        bool moved = false;
        if (written) {
            // Never over an entry that appeared under the reserved name meanwhile.
            moved = ShellFileOperations::RenameNoReplace(source.string(), (files / name).string()) ||
                    (errno == EXDEV && MoveAcrossDevices(source, files / name));
        }
        if (!moved) {
            fs::remove(infoFile, ec);
        }
        return moved;
    }
    return false;
}
