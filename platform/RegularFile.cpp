#include "platform/RegularFile.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

bool RegularFile::IsRegular(const std::string& path)
{
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

int RegularFile::Open(const std::string& path)
{
    // O_NONBLOCK keeps the open of a FIFO from waiting for a writer; the type is checked on the
    // descriptor itself, so nothing can be swapped in between the check and the read.
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0) {
        return kInvalid;
    }
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        return kInvalid;
    }
    const int flags = ::fcntl(fd, F_GETFL);
    if (flags < 0 || ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK) != 0) {
        ::close(fd);
        return kInvalid;
    }
    return fd;
}

std::FILE* RegularFile::OpenStream(const std::string& path)
{
    const int fd = Open(path);
    if (fd == kInvalid) {
        return nullptr;
    }
    std::FILE* file = ::fdopen(fd, "rb");
    if (file == nullptr) {
        ::close(fd);
    }
    return file;
}

RegularFile::ReadResult RegularFile::ReadAll(const std::string& path, std::size_t maxBytes, std::string& out)
{
    out.clear();
    const int fd = Open(path);
    if (fd == kInvalid) {
        return ReadResult::Unreadable;
    }
    struct stat st {};
    if (::fstat(fd, &st) != 0) {
        ::close(fd);
        return ReadResult::Unreadable;
    }
    if (static_cast<unsigned long long>(st.st_size) > maxBytes) {
        ::close(fd);
        return ReadResult::TooLarge;
    }
    out.reserve(static_cast<std::size_t>(st.st_size));
    char buffer[65536];
    for (;;) {
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n < 0) {
            if (errno == EINTR) {
                continue;
            }
            ::close(fd);
            out.clear();
            return ReadResult::Unreadable;
        }
        if (n == 0) {
            break;
        }
        // The file may grow while it is read: the ceiling holds for what is read, not only the size.
        if (out.size() + static_cast<std::size_t>(n) > maxBytes) {
            ::close(fd);
            out.clear();
            return ReadResult::TooLarge;
        }
        out.append(buffer, static_cast<std::size_t>(n));
    }
    ::close(fd);
    return ReadResult::Ok;
}
