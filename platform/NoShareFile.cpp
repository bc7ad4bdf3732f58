#include "platform/NoShareFile.h"

#include "platform/RegularFile.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

int NoShareFile::Open(const std::string& path)
{
    // The files held are the ones a view shows: only a regular file, never a FIFO that would block.
    const int fd = RegularFile::Open(path);
    if (fd < 0) {
        return kInvalid;
    }
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        ::close(fd);
        return kInvalid; // a sharing violation
    }
    return fd;
}

void NoShareFile::Close(int handle)
{
    if (handle != kInvalid) {
        ::close(handle);
    }
}

bool NoShareFile::IsHeldElsewhere(const std::string& path)
{
    const int fd = RegularFile::Open(path);
    if (fd < 0) {
        return false;
    }
    const bool held = ::flock(fd, LOCK_SH | LOCK_NB) != 0;
    ::close(fd);
    return held;
}
