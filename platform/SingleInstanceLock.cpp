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
    const std::string display = DisplayTag();
    if (!display.empty()) base += "@" + display;
    return base;
}

std::string SingleInstanceLock::DisplayTag()
{
    const char* wayland = std::getenv("WAYLAND_DISPLAY");
    const char* x11 = std::getenv("DISPLAY");
    std::string display;
    if (wayland != nullptr && *wayland != '\0') {
        display = wayland;
    } else if (x11 != nullptr) {
        display = x11;
        // ":0" and ":0.1" are screens of one display, which one user's session owns.
        const size_t colon = display.rfind(':');
        const size_t dot = display.find('.', colon == std::string::npos ? 0 : colon);
        if (colon != std::string::npos && dot != std::string::npos) display.resize(dot);
    }
    // Kept short: the socket's path must fit an AF_UNIX address.
    if (display.size() > 40) display.erase(0, display.size() - 40);
    for (char& c : display) {
        const bool plain = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '.' ||
                           c == '-' || c == '_';
        if (!plain) c = '_';
    }
    return display;
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
