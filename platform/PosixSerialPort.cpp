#include "platform/PosixSerialPort.h"

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

namespace {

constexpr DWORD kMaxDword = 0xFFFFFFFFu;

struct BaudEntry {
    DWORD rate;
    speed_t speed;
};

constexpr BaudEntry kBauds[] = {
    {1200, B1200},   {2400, B2400},   {4800, B4800},     {9600, B9600},     {19200, B19200},
    {38400, B38400}, {57600, B57600}, {115200, B115200}, {230400, B230400},
};

// Puts the line into raw mode: no echo, no line editing, no character translation, no signals.
// The descriptor is non-blocking and all waiting happens in the poll loop; VMIN 1 makes a read
// without data fail with EAGAIN, so that a read of 0 bytes means the line has hung up.
void MakeRaw(termios& t)
{
    ::cfmakeraw(&t);
    t.c_cflag |= CLOCAL | CREAD;
    t.c_cflag &= ~static_cast<tcflag_t>(CRTSCTS);
    t.c_iflag &= ~static_cast<tcflag_t>(IXON | IXOFF | IXANY);
    t.c_cc[VMIN] = 1;
    t.c_cc[VTIME] = 0;
}

std::uint64_t AddMs(std::uint64_t now, std::uint64_t ms)
{
    return ms >= FdWaiter::kNoDeadline - now ? FdWaiter::kNoDeadline : now + ms;
}

} // namespace

std::unique_ptr<PosixSerialPort> PosixSerialPort::Open(const std::string& path, Clock& clock,
                                                       FdWaiter& waiter, int* err)
{
    auto fail = [err](int code) {
        if (err) {
            *err = code;
        }
        return nullptr;
    };
    if (err) {
        *err = 0;
    }
    if (path.empty()) {
        return fail(ENOENT);
    }
    const int fd = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        return fail(errno);
    }
    auto closeAndFail = [&](int code) {
        ::close(fd);
        return fail(code);
    };
    // TIOCEXCL keeps other programs out (root excepted); the lock also keeps out a second open by
    // a program running as root.
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        return closeAndFail(errno == EWOULDBLOCK ? EBUSY : errno);
    }
    termios t{};
    if (::tcgetattr(fd, &t) != 0) {
        return closeAndFail(errno);
    }
    if (::ioctl(fd, TIOCEXCL) != 0) {
        return closeAndFail(errno);
    }
    MakeRaw(t);
    if (::tcsetattr(fd, TCSANOW, &t) != 0) {
        const int e = errno;
        ::ioctl(fd, TIOCNXCL);
        return closeAndFail(e);
    }
    // Whatever a previous session left in the buffers belongs to no exchange of this one.
    ::tcflush(fd, TCIOFLUSH);
    return std::unique_ptr<PosixSerialPort>(new PosixSerialPort(fd, clock, waiter));
}

PosixSerialPort::~PosixSerialPort()
{
    Close();
}

int PosixSerialPort::Close()
{
    if (fd_ < 0) {
        return EBADF;
    }
    ::ioctl(fd_, TIOCNXCL);
    const int r = ::close(fd_);
    fd_ = -1;
    return r == 0 ? 0 : errno;
}

int PosixSerialPort::Read(void* buffer, std::size_t length, std::size_t* actual)
{
    if (actual) {
        *actual = 0;
    }
    if (fd_ < 0) {
        return EBADF;
    }
    if (buffer == nullptr) {
        return EINVAL;
    }
    auto* out = static_cast<unsigned char*>(buffer);
    const COMMTIMEOUTS t = timeouts_;
    // Interval "MAXDWORD" with both totals zero: return at once with what has arrived.
    const bool immediate = t.ReadIntervalTimeout == kMaxDword && t.ReadTotalTimeoutMultiplier == 0 &&
                           t.ReadTotalTimeoutConstant == 0;
    const std::uint64_t start = clock_.NowMs();
    std::uint64_t totalDeadline = FdWaiter::kNoDeadline;
    if (t.ReadTotalTimeoutMultiplier != 0 || t.ReadTotalTimeoutConstant != 0) {
        totalDeadline = AddMs(start, static_cast<std::uint64_t>(t.ReadTotalTimeoutMultiplier) * length +
                                         t.ReadTotalTimeoutConstant);
    }
    std::size_t got = 0;
    std::uint64_t lastByteMs = start;
    while (got < length) {
        const ssize_t n = ::read(fd_, out + got, length - got);
        if (n > 0) {
            got += static_cast<std::size_t>(n);
            lastByteMs = clock_.NowMs();
            continue;
        }
        if (n == 0) {
            // End of file on a tty: the device has gone (unplugged).
            if (actual) {
                *actual = got;
            }
            return EIO;
        }
        if (errno == EINTR) {
            continue;
        }
        if (errno != EAGAIN && errno != EWOULDBLOCK) {
            const int e = errno;
            if (actual) {
                *actual = got;
            }
            return e;
        }
        if (immediate) {
            break;
        }
        std::uint64_t deadline = totalDeadline;
        if (got > 0 && t.ReadIntervalTimeout != 0 && t.ReadIntervalTimeout != kMaxDword) {
            deadline = std::min(deadline, AddMs(lastByteMs, t.ReadIntervalTimeout));
        }
        const FdWaiter::Result r = waiter_.Wait(fd_, POLLIN, deadline);
        if (r == FdWaiter::Result::TimedOut) {
            break;
        }
        if (r == FdWaiter::Result::Failed) {
            const int e = errno != 0 ? errno : EIO;
            if (actual) {
                *actual = got;
            }
            return e;
        }
    }
    if (actual) {
        *actual = got;
    }
    return 0;
}

int PosixSerialPort::Write(const void* buffer, std::size_t length, std::size_t* actual)
{
    if (actual) {
        *actual = 0;
    }
    if (fd_ < 0) {
        return EBADF;
    }
    if (buffer == nullptr) {
        return EINVAL;
    }
    const auto* in = static_cast<const unsigned char*>(buffer);
    const COMMTIMEOUTS t = timeouts_;
    std::uint64_t deadline = FdWaiter::kNoDeadline;
    if (t.WriteTotalTimeoutMultiplier != 0 || t.WriteTotalTimeoutConstant != 0) {
        deadline = AddMs(clock_.NowMs(), static_cast<std::uint64_t>(t.WriteTotalTimeoutMultiplier) * length +
                                             t.WriteTotalTimeoutConstant);
    }
    std::size_t done = 0;
    int result = 0;
    while (done < length) {
        const ssize_t n = ::write(fd_, in + done, length - done);
        if (n > 0) {
            done += static_cast<std::size_t>(n);
            continue;
        }
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n < 0 && errno != EAGAIN && errno != EWOULDBLOCK) {
            result = errno;
            break;
        }
        const FdWaiter::Result r = waiter_.Wait(fd_, POLLOUT, deadline);
        if (r == FdWaiter::Result::TimedOut) {
            break;
        }
        if (r == FdWaiter::Result::Failed) {
            result = errno != 0 ? errno : EIO;
            break;
        }
    }
    if (actual) {
        *actual = done;
    }
    return result;
}

int PosixSerialPort::SetTimeouts(const COMMTIMEOUTS& timeouts)
{
    if (fd_ < 0) {
        return EBADF;
    }
    timeouts_ = timeouts;
    return 0;
}

int PosixSerialPort::GetTimeouts(COMMTIMEOUTS* timeouts)
{
    if (fd_ < 0) {
        return EBADF;
    }
    if (timeouts == nullptr) {
        return EINVAL;
    }
    *timeouts = timeouts_;
    return 0;
}

int PosixSerialPort::Purge()
{
    if (fd_ < 0) {
        return EBADF;
    }
    return ::tcflush(fd_, TCIFLUSH) == 0 ? 0 : errno;
}

void PosixSerialPort::Sleep(std::uint32_t ms)
{
    clock_.SleepMs(ms);
}

int PosixSerialPort::GetLineSettings(DCB* dcb)
{
    if (fd_ < 0) {
        return EBADF;
    }
    if (dcb == nullptr) {
        return EINVAL;
    }
    termios t{};
    if (::tcgetattr(fd_, &t) != 0) {
        return errno;
    }
    DCB d;
    const speed_t speed = ::cfgetospeed(&t);
    d.BaudRate = 0;
    for (const auto& b : kBauds) {
        if (b.speed == speed) {
            d.BaudRate = b.rate;
        }
    }
    switch (t.c_cflag & CSIZE) {
    case CS5: d.ByteSize = 5; break;
    case CS6: d.ByteSize = 6; break;
    case CS7: d.ByteSize = 7; break;
    default: d.ByteSize = 8; break;
    }
    d.Parity = (t.c_cflag & PARENB) ? ((t.c_cflag & PARODD) ? 1 : 2) : NOPARITY;
    d.StopBits = (t.c_cflag & CSTOPB) ? 2 : ONESTOPBIT;
    d.fParity = (t.c_iflag & INPCK) ? 1 : 0;
    d.fBinary = 1;
    *dcb = d;
    return 0;
}

int PosixSerialPort::SetLineSettings(const DCB& dcb)
{
    if (fd_ < 0) {
        return EBADF;
    }
    const BaudEntry* baud = nullptr;
    for (const auto& b : kBauds) {
        if (b.rate == dcb.BaudRate) {
            baud = &b;
        }
    }
    tcflag_t size = 0;
    switch (dcb.ByteSize) {
    case 5: size = CS5; break;
    case 6: size = CS6; break;
    case 7: size = CS7; break;
    case 8: size = CS8; break;
    default: return EINVAL;
    }
    if (baud == nullptr || dcb.Parity > 2 || (dcb.StopBits != ONESTOPBIT && dcb.StopBits != 2)) {
        return EINVAL;
    }
    termios t{};
    if (::tcgetattr(fd_, &t) != 0) {
        return errno;
    }
    MakeRaw(t);
    t.c_cflag &= ~static_cast<tcflag_t>(CSIZE | PARENB | PARODD | CSTOPB);
    t.c_cflag |= size;
    if (dcb.Parity != NOPARITY) {
        t.c_cflag |= PARENB | (dcb.Parity == 1 ? PARODD : 0);
    }
    if (dcb.StopBits == 2) {
        t.c_cflag |= CSTOPB;
    }
    if (dcb.fParity) {
        t.c_iflag |= INPCK;
    } else {
        t.c_iflag &= ~static_cast<tcflag_t>(INPCK);
    }
    if (::cfsetispeed(&t, baud->speed) != 0 || ::cfsetospeed(&t, baud->speed) != 0) {
        return errno;
    }
    return ::tcsetattr(fd_, TCSANOW, &t) == 0 ? 0 : errno;
}
