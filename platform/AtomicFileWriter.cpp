#include "platform/AtomicFileWriter.h"

#include "platform/TemporaryFiles.h"

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <sys/stat.h>
#include <system_error>
#include <unistd.h>

namespace {

const AtomicFileWriter::SyncCalls kSystemCalls{&::fsync, &::close};
std::atomic<const AtomicFileWriter::SyncCalls*> g_calls{&kSystemCalls};

std::string FolderOf(const std::string& path)
{
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos) {
        return ".";
    }
    return slash == 0 ? std::string("/") : path.substr(0, slash);
}

// The process's umask, read without changing it (umask(2) can only be read by setting it, which
// would race with files other threads create).
mode_t CurrentUmask()
{
    std::FILE* status = std::fopen("/proc/self/status", "re");
    mode_t mask = 022;
    if (status == nullptr) {
        return mask;
    }
    char line[256];
    while (std::fgets(line, sizeof line, status) != nullptr) {
        if (std::strncmp(line, "Umask:", 6) == 0) {
            mask = static_cast<mode_t>(std::strtoul(line + 6, nullptr, 8)) & 0777;
            break;
        }
    }
    std::fclose(status);
    return mask;
}

mode_t ModeFor(const std::string& target)
{
    struct stat st {};
    if (::stat(target.c_str(), &st) == 0) {
        return st.st_mode & 07777;
    }
    return 0666 & ~CurrentUmask();
}

// Syncs a folder so that a rename in it is on the disk. A file system that cannot sync folders
// (EINVAL) has nothing more to do.
int SyncFolder(const std::string& folder)
{
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) {
        return errno;
    }
    const AtomicFileWriter::SyncCalls* calls = g_calls.load();
    int error = 0;
    if (calls->fsync(fd) != 0 && errno != EINVAL && errno != ENOTSUP) {
        error = errno;
    }
    if (calls->close(fd) != 0 && error == 0) {
        error = errno;
    }
    return error;
}

void Report(std::string* out, const std::string& error)
{
    if (out != nullptr) {
        *out = error;
    }
}

} // namespace

void AtomicFileWriter::SetSyncCalls(const SyncCalls* calls)
{
    g_calls.store(calls != nullptr ? calls : &kSystemCalls);
}

AtomicFileWriter::AtomicFileWriter(std::string target) : target_(std::move(target)) {}

AtomicFileWriter::~AtomicFileWriter()
{
    Discard();
}

bool AtomicFileWriter::Fail(const std::string& what, int error)
{
    error_ = "\"" + target_ + "\": " + what;
    if (error != 0) {
        error_ += " (" + std::generic_category().message(error) + ")";
    }
    return false;
}

bool AtomicFileWriter::Begin()
{
    Discard();
    error_.clear();
    TemporaryFiles::RemoveStaleBeside(target_);
    for (int attempt = 0; attempt < 100; ++attempt) {
        temporary_ = TemporaryFiles::NameBeside(target_);
        if (temporary_.empty()) {
            break;
        }
        // Private while it is written; Commit gives it its mode.
        fd_ = ::open(temporary_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0600);
        if (fd_ >= 0) {
            created_ = true;
            return true;
        }
        if (errno != EEXIST) {
            const int error = errno;
            temporary_.clear();
            return Fail("no temporary file can be made beside it", error);
        }
    }
    temporary_.clear();
    return Fail("no free temporary name beside it", 0);
}

bool AtomicFileWriter::Write(const void* data, std::size_t size)
{
    if (fd_ < 0) {
        return Fail("nothing is open for writing", 0);
    }
    const char* bytes = static_cast<const char*>(data);
    std::size_t done = 0;
    while (done < size) {
        const ssize_t n = ::write(fd_, bytes + done, size - done);
        if (n < 0) {
            if (errno == EINTR) {
                continue;
            }
            return Fail("the new content could not be written", errno);
        }
        done += static_cast<std::size_t>(n);
    }
    return true;
}

bool AtomicFileWriter::Commit()
{
    if (fd_ < 0) {
        return Fail("nothing is open for writing", 0);
    }
    return Finish();
}

bool AtomicFileWriter::Finish()
{
    const SyncCalls* calls = g_calls.load();
    std::string failed;
    int error = 0;
    if (::fchmod(fd_, mode_ ? *mode_ : ModeFor(target_)) != 0) {
        failed = "the new file's mode could not be set";
        error = errno;
    } else if (calls->fsync(fd_) != 0) {
        failed = "the new file could not be synced to the disk";
        error = errno;
    }
    // Closed whatever happened before; a close that fails (a late write error) fails the write.
    if (calls->close(fd_) != 0 && failed.empty()) {
        failed = "the new file could not be closed";
        error = errno;
    }
    fd_ = -1;
    if (!failed.empty()) {
        Discard();
        return Fail(failed, error);
    }
    if (::rename(temporary_.c_str(), target_.c_str()) != 0) {
        error = errno;
        Discard();
        return Fail("the new file could not replace it", error);
    }
    created_ = false;
    temporary_.clear();
    if (const int folderError = SyncFolder(FolderOf(target_)); folderError != 0) {
        return Fail("it was replaced, but its folder could not be synced to the disk", folderError);
    }
    return true;
}

void AtomicFileWriter::Discard()
{
    if (fd_ >= 0) {
        g_calls.load()->close(fd_);
        fd_ = -1;
    }
    if (created_) {
        // A writer through a path may have left a folder (a partial copy): removed as a whole.
        std::error_code ec;
        std::filesystem::remove_all(temporary_, ec);
        created_ = false;
    }
    temporary_.clear();
}

bool AtomicFileWriter::Replace(const std::string& target, std::string_view bytes, std::string* error)
{
    AtomicFileWriter writer(target);
    const bool done = writer.Begin() && writer.Write(bytes.data(), bytes.size()) && writer.Commit();
    Report(error, writer.Error());
    return done;
}

bool AtomicFileWriter::ReplaceThrough(const std::string& target, const std::function<bool(const std::string&)>& fill,
                                      std::optional<mode_t> mode, std::string* error)
{
    AtomicFileWriter writer(target);
    writer.mode_ = mode;
    TemporaryFiles::RemoveStaleBeside(target);
    writer.temporary_ = TemporaryFiles::NameBeside(target);
    if (writer.temporary_.empty()) {
        writer.Fail("no free temporary name beside it", 0);
        Report(error, writer.Error());
        return false;
    }
    writer.created_ = true;
    bool done = false;
    if (!fill(writer.temporary_)) {
        writer.Fail("the new content could not be written", 0);
    } else {
        // O_NOFOLLOW and the type check: only a regular file that fill made replaces the target.
        writer.fd_ = ::open(writer.temporary_.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
        struct stat st {};
        if (writer.fd_ < 0) {
            writer.Fail("the new file could not be opened", errno);
        } else if (::fstat(writer.fd_, &st) != 0 || !S_ISREG(st.st_mode)) {
            writer.Fail("the new content is not a regular file", 0);
        } else {
            done = writer.Finish();
        }
    }
    writer.Discard();
    Report(error, writer.Error());
    return done;
}

bool AtomicFileWriter::MoveOver(const std::string& source, const std::string& target, std::string* error)
{
    if (::rename(source.c_str(), target.c_str()) == 0) {
        Report(error, std::string());
        return true;
    }
    const int saved = errno;
    Report(error, "\"" + target + "\": \"" + source + "\" could not be moved over it (" +
                      std::generic_category().message(saved) + ")");
    errno = saved;
    return false;
}
