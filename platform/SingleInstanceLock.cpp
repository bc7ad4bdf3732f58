#include "platform/SingleInstanceLock.h"

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <sys/file.h>
#include <unistd.h>

SingleInstanceLock::SingleInstanceLock(std::string name) : name_(std::move(name)) {}

SingleInstanceLock::~SingleInstanceLock()
{
    Release();
}

std::string SingleInstanceLock::RuntimeFolder()
{
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    std::error_code ec;
    if (runtime != nullptr && *runtime == '/' && std::filesystem::is_directory(runtime, ec)) {
        return runtime;
    }
    return std::filesystem::temp_directory_path(ec).string();
}

std::string SingleInstanceLock::BasePath() const
{
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    std::string base = RuntimeFolder() + "/" + name_;
    // The temporary folder is shared by every user: the user id keeps their instances apart.
    if (runtime == nullptr || RuntimeFolder() != runtime) {
        base += "-" + std::to_string(::getuid());
    }
    return base;
}

std::string SingleInstanceLock::LockPath() const
{
    return BasePath() + ".lock";
}

std::string SingleInstanceLock::SocketPath() const
{
    return BasePath() + ".sock";
}

SingleInstanceLock::Result SingleInstanceLock::Acquire()
{
    if (fd_ >= 0) {
        return Result::Owned;
    }
    const int fd = ::open(LockPath().c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (fd < 0) {
        return Result::Failed;
    }
    int rc;
    do {
        rc = ::flock(fd, LOCK_EX | LOCK_NB);
    } while (rc != 0 && errno == EINTR);
    if (rc != 0) {
        const bool busy = errno == EWOULDBLOCK;
        ::close(fd);
        return busy ? Result::AlreadyRunning : Result::Failed;
    }
    fd_ = fd;
    return Result::Owned;
}

void SingleInstanceLock::Release()
{
    if (fd_ < 0) {
        return;
    }
    // The file stays: removing it would let a third process lock a new file while a second one
    // still waits on the old one.
    ::flock(fd_, LOCK_UN);
    ::close(fd_);
    fd_ = -1;
}
