#include "platform/RegistryStore.h"

#include "platform/TemporaryFiles.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fcntl.h>
#include <string_view>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Holds an exclusive flock on the store's lock file for the life of the object.
class LockFile {
public:
    explicit LockFile(const std::string& path)
    {
        fd_ = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
        if (fd_ < 0) return;
        while (::flock(fd_, LOCK_EX) != 0) {
            if (errno != EINTR) {
                ::close(fd_);
                fd_ = -1;
                return;
            }
        }
    }
    ~LockFile()
    {
        if (fd_ >= 0) ::close(fd_); // closing releases the lock
    }
    LockFile(const LockFile&) = delete;
    LockFile& operator=(const LockFile&) = delete;
    bool Held() const { return fd_ >= 0; }

private:
    int fd_ = -1;
};

bool WriteAll(int fd, const std::string& text)
{
    size_t done = 0;
    while (done < text.size()) {
        const ssize_t n = ::write(fd, text.data() + done, text.size() - done);
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        done += static_cast<size_t>(n);
    }
    return true;
}

// Mode-bit test that does not grant the superuser more than the bits say.
bool ModeAllowsWrite(const struct stat& st)
{
    if (st.st_uid == ::geteuid()) return (st.st_mode & S_IWUSR) != 0;
    if (st.st_gid == ::getegid()) return (st.st_mode & S_IWGRP) != 0;
    return (st.st_mode & S_IWOTH) != 0;
}

std::string FolderOf(const std::string& path)
{
    const std::filesystem::path p(path);
    const std::filesystem::path parent = p.parent_path();
    return parent.empty() ? std::string(".") : parent.string();
}

} // namespace

RegistryStore::RegistryStore(std::string filePath) : path_(std::move(filePath)) {}

std::string RegistryStore::DefaultPath()
{
    if (const char* env = std::getenv("ZARN_REGISTRY_FILE"); env && *env) return env;
    std::string base;
    if (const char* xdg = std::getenv("XDG_CONFIG_HOME"); xdg && *xdg) {
        base = xdg;
    } else if (const char* home = std::getenv("HOME"); home && *home) {
        base = std::string(home) + "/.config";
    } else {
        base = ".config";
    }
    return base + "/Kestrin/registry.reg";
}

std::string RegistryStore::RootName(HKEY root)
{
    switch (root) {
    case HKEY_CLASSES_ROOT: return "HKEY_CLASSES_ROOT";
    case HKEY_CURRENT_USER: return "HKEY_CURRENT_USER";
    case HKEY_LOCAL_MACHINE: return "HKEY_LOCAL_MACHINE";
    case HKEY_USERS: return "HKEY_USERS";
    default: return {};
    }
}

std::string RegistryStore::FullPath(HKEY root, const std::string& subPath)
{
    std::string full = RootName(root);
    if (full.empty()) return {};
    size_t start = 0;
    while (start <= subPath.size()) {
        size_t end = subPath.find('\\', start);
        if (end == std::string::npos) end = subPath.size();
        const std::string_view element = std::string_view(subPath).substr(start, end - start);
        if (!element.empty()) {
            if (!RegistryDocument::IsStorableName(element)) return {};
            full += '\\';
            full += element;
        }
        start = end + 1;
    }
    return full;
}

bool RegistryStore::IsWritable() const
{
    struct stat st {};
    if (::stat(path_.c_str(), &st) == 0) {
        return ModeAllowsWrite(st) && ::access(path_.c_str(), W_OK) == 0 &&
               ::access(FolderOf(path_).c_str(), W_OK) == 0;
    }
    // No file yet: the nearest existing folder decides whether it can be made.
    std::filesystem::path folder = std::filesystem::path(path_).parent_path();
    std::error_code ec;
    while (!folder.empty() && !std::filesystem::exists(folder, ec)) folder = folder.parent_path();
    return ::access(folder.empty() ? "." : folder.c_str(), W_OK) == 0;
}

RegStatus RegistryStore::Load(RegistryDocument* doc) const
{
    std::string text;
    const int fd = ::open(path_.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        doc->Parse({});
        return errno == ENOENT ? RegStatus::Ok : RegStatus::AccessDenied;
    }
    char buf[8192];
    while (true) {
        const ssize_t n = ::read(fd, buf, sizeof buf);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            ::close(fd);
            if (n < 0) {
                doc->Parse({});
                return RegStatus::AccessDenied;
            }
            break;
        }
        text.append(buf, static_cast<size_t>(n));
    }
    return doc->Parse(text) ? RegStatus::Ok : RegStatus::BadStore;
}

RegStatus RegistryStore::Modify(const std::function<RegStatus(RegistryDocument&)>& change) const
{
    if (!IsWritable()) return RegStatus::AccessDenied;
    std::error_code ec;
    std::filesystem::create_directories(FolderOf(path_), ec);
    LockFile lock(path_ + ".lock");
    if (!lock.Held()) return RegStatus::WriteFailed;

    RegistryDocument doc;
    // A malformed file is never rewritten: what could not be read would be lost.
    if (const RegStatus s = Load(&doc); s != RegStatus::Ok) return s;
    const std::string before = doc.Serialize();
    if (const RegStatus s = change(doc); s != RegStatus::Ok) return s;
    const std::string after = doc.Serialize();
    // A change that changes nothing (a value set to what it holds) writes nothing: the programs set
    // such values at every start, and each write costs a lock, an fsync and a rename.
    if (after == before) return RegStatus::Ok;

    // Under the lock no other write is in flight: what the template's names left is a killed run's.
    const std::string prefix = std::filesystem::path(path_).filename().string() + ".";
    TemporaryFiles::RemoveStale(FolderOf(path_),
                                [&prefix](std::string_view name) { return TemporaryFiles::IsMkstempName(name, prefix); });
    std::string temp = path_ + ".XXXXXX";
    const int fd = ::mkstemp(temp.data());
    if (fd < 0) return RegStatus::WriteFailed;
    struct stat st {};
    ::fchmod(fd, ::stat(path_.c_str(), &st) == 0 ? (st.st_mode & 07777) : 0644);
    const bool written = WriteAll(fd, after) && ::fsync(fd) == 0;
    if (::close(fd) != 0 || !written || ::rename(temp.c_str(), path_.c_str()) != 0) {
        ::unlink(temp.c_str());
        return RegStatus::WriteFailed;
    }
    return RegStatus::Ok;
}

RegStatus RegistryStore::OpenKey(HKEY root, const std::string& subPath, RegAccess access, RegistryKey* out) const
{
    *out = RegistryKey();
    const std::string full = FullPath(root, subPath);
    if (full.empty()) return RegStatus::NotFound;
    RegistryDocument doc;
    const RegStatus loaded = Load(&doc);
    if (loaded != RegStatus::Ok && loaded != RegStatus::BadStore) return loaded;
    if (full != RootName(root) && !doc.KeyExists(full)) return RegStatus::NotFound;
    if (access == RegAccess::ReadWrite && !IsWritable()) return RegStatus::AccessDenied;
    *out = RegistryKey(path_, full, access);
    return RegStatus::Ok;
}

RegStatus RegistryStore::CreateKey(HKEY root, const std::string& subPath, RegistryKey* out) const
{
    *out = RegistryKey();
    const std::string full = FullPath(root, subPath);
    if (full.empty()) return RootName(root).empty() ? RegStatus::NotFound : RegStatus::BadName;
    RegistryDocument doc;
    const RegStatus loaded = Load(&doc);
    if (loaded == RegStatus::Ok && (full == RootName(root) || doc.KeyExists(full))) {
        return OpenKey(root, subPath, RegAccess::ReadWrite, out);
    }
    const RegStatus s = Modify([&](RegistryDocument& d) {
        if (!d.KeyExists(full)) d.CreateKey(full);
        return RegStatus::Ok;
    });
    if (s != RegStatus::Ok) return s;
    *out = RegistryKey(path_, full, RegAccess::ReadWrite);
    return RegStatus::Ok;
}
