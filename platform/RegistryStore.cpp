#include "platform/RegistryStore.h"

#include "platform/AtomicFileWriter.h"
#include "platform/RegularFile.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fcntl.h>
#include <mutex>
#include <set>
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

std::mutex g_refusalMutex;
std::set<std::string> g_reported;        // files already said on the error stream
bool g_refusalKept = false;              // the first refusal was recorded
bool g_refusalTaken = false;             // and handed to the program
std::string g_refusedPath;
RegistryRefusal g_refusal = RegistryRefusal::None;

const char* ReasonText(RegistryRefusal why)
{
    switch (why) {
    case RegistryRefusal::NotRegularFile: return "it is not a regular file";
    case RegistryRefusal::TooLarge: return "it is larger than 16 MiB";
    case RegistryRefusal::Malformed: return "its content is malformed";
    case RegistryRefusal::None: break;
    }
    return "";
}
static_assert(RegistryStore::kMaxStoreBytes == std::size_t{16} << 20, "the refusal text names the ceiling");

// Says once per process and file that a store file was not read: the programs then start with
// empty settings, and the user learns why their settings are gone. The first refusal is also kept
// for the program's window to show.
void ReportRefusal(const std::string& path, RegistryRefusal why)
{
    {
        const std::lock_guard<std::mutex> lock(g_refusalMutex);
        if (!g_reported.insert(path).second) return;
        if (!g_refusalKept) {
            g_refusalKept = true;
            g_refusedPath = path;
            g_refusal = why;
        }
    }
    std::fprintf(stderr,
                 "%s: the settings file \"%s\" was not read: %s. The program starts with empty settings and "
                 "leaves the file as it is.\n",
                 program_invocation_short_name, path.c_str(), ReasonText(why));
    std::fflush(stderr);
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

RegistryRefusal RegistryStore::TakeRefusal(std::string* path)
{
    const std::lock_guard<std::mutex> lock(g_refusalMutex);
    if (!g_refusalKept || g_refusalTaken) return RegistryRefusal::None;
    g_refusalTaken = true;
    if (path != nullptr) *path = g_refusedPath;
    return g_refusal;
}

RegStatus RegistryStore::Load(RegistryDocument* doc) const
{
    std::string text;
    const RegularFile::ReadResult read = RegularFile::ReadAll(path_, kMaxStoreBytes, text);
    if (read == RegularFile::ReadResult::Ok) {
        if (doc->Parse(text)) return RegStatus::Ok;
        ReportRefusal(path_, RegistryRefusal::Malformed);
        return RegStatus::BadStore;
    }
    doc->Parse({});
    struct stat st {};
    if (::stat(path_.c_str(), &st) != 0) {
        // A missing file is an empty store; any other failure to look at it denies access.
        return errno == ENOENT || errno == ENOTDIR ? RegStatus::Ok : RegStatus::AccessDenied;
    }
    // A FIFO or a device would block the read or never end it, and a file far larger than any
    // store is a damaged one: neither is read, and neither is ever replaced (BadStore), so
    // nothing the user had there is lost.
    if (read == RegularFile::ReadResult::TooLarge) {
        ReportRefusal(path_, RegistryRefusal::TooLarge);
        return RegStatus::BadStore;
    }
    if (!S_ISREG(st.st_mode)) {
        ReportRefusal(path_, RegistryRefusal::NotRegularFile);
        return RegStatus::BadStore;
    }
    return RegStatus::AccessDenied;
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

    return AtomicFileWriter::Replace(path_, after) ? RegStatus::Ok : RegStatus::WriteFailed;
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
