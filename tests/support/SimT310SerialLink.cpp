#include "tests/support/SimT310SerialLink.h"

#include <cerrno>
#include <cstdint>
#include <fcntl.h>
#include <filesystem>
#include <poll.h>
#include <stdlib.h>
#include <sys/eventfd.h>
#include <sys/inotify.h>
#include <termios.h>
#include <unistd.h>

SimT310SerialLink::SimT310SerialLink(MeterSimulator& meter, SimulatedLineWaiter& waiter, FakeUsbSysfs& sysfs,
                                     std::string deviceDir, std::string portName, std::uint16_t productId)
    : meter_(meter), waiter_(waiter), sysfs_(sysfs), deviceDir_(std::move(deviceDir)), portName_(std::move(portName))
{
    const int master = ::posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (master < 0) {
        return;
    }
    char name[128];
    if (::grantpt(master) != 0 || ::unlockpt(master) != 0 || ::ptsname_r(master, name, sizeof name) != 0) {
        ::close(master);
        return;
    }
    const int slave = ::open(name, O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (slave < 0) {
        ::close(master);
        return;
    }
    // Raw at once: an echoing line would send the host's commands straight back to it.
    termios t{};
    ::tcgetattr(slave, &t);
    ::cfmakeraw(&t);
    ::tcsetattr(slave, TCSANOW, &t);
    std::error_code ec;
    std::filesystem::create_directories(deviceDir_, ec);
    std::filesystem::remove(DevicePath(), ec);
    std::filesystem::create_symlink(name, DevicePath(), ec);
    sysfs_.AddUsbTty(portName_, 0x1F3C, productId, 0);
    closeWatch_ = ::inotify_init1(IN_CLOEXEC | IN_NONBLOCK);
    if (closeWatch_ >= 0) {
        ::inotify_add_watch(closeWatch_, name, IN_CLOSE_WRITE);
    }
    master_ = master;
    slave_ = slave;
    stopFd_ = ::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
    thread_ = std::thread([this] { Run(); });
}

SimT310SerialLink::~SimT310SerialLink()
{
    if (stopFd_ >= 0) {
        const std::uint64_t one = 1;
        [[maybe_unused]] const ssize_t n = ::write(stopFd_, &one, sizeof one);
    }
    if (thread_.joinable()) {
        thread_.join();
    }
    Hangup();
    if (stopFd_ >= 0) {
        ::close(stopFd_);
    }
    if (closeWatch_ >= 0) {
        ::close(closeWatch_);
    }
}

void SimT310SerialLink::Unplug()
{
    meter_.Unplug();
    Hangup();
}

void SimT310SerialLink::Hangup()
{
    if (unplugged_.exchange(true)) {
        return;
    }
    std::error_code ec;
    std::filesystem::remove(DevicePath(), ec);
    sysfs_.Remove(portName_);
    // Closing the slave first and then the master hangs the line up for the host.
    if (slave_ >= 0) {
        ::close(slave_);
    }
    // The thread may still poll the master: it sees the hang-up flag and stops before touching it.
    if (!thread_.joinable() || thread_.get_id() == std::this_thread::get_id()) {
        if (master_ >= 0) {
            ::close(master_);
            master_ = -1;
        }
    } else {
        const std::uint64_t one = 1;
        [[maybe_unused]] const ssize_t n = ::write(stopFd_, &one, sizeof one);
    }
}

void SimT310SerialLink::WriteAll(const std::string& bytes)
{
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(master_, bytes.data() + done, bytes.size() - done);
        if (n > 0) {
            done += static_cast<std::size_t>(n);
        } else if (n < 0 && errno != EINTR && errno != EAGAIN) {
            return;
        }
    }
}

void SimT310SerialLink::HandleCommand(const std::string& command)
{
    const SimReply reply = meter_.Exchange(command);
    switch (reply.kind) {
    case SimReply::Kind::Unplugged:
    case SimReply::Kind::Failed:
        Hangup();
        return;
    case SimReply::Kind::Silent:
        waiter_.DeclareSilence();
        return;
    case SimReply::Kind::Answer:
        break;
    }
    if (reply.delayMs > 0) {
        // The delay counts from the moment the host waits for this answer.
        waiter_.WaitForHostReading();
        waiter_.AdvanceClock(reply.delayMs);
    }
    if (const std::uint32_t latency = latencyMs_.load()) {
        // The answer written next wakes the host, which then sees the later time; waking it here
        // as well would only add a wake-up that finds nothing to read.
        waiter_.GetClock().Advance(latency);
    }
    WriteAll(reply.bytes);
    const std::size_t expected = command == "[" ? 1 : 6;
    if (reply.bytes.size() < expected) {
        waiter_.DeclareSilence();
    }
}

void SimT310SerialLink::Run()
{
    std::string pending;
    for (;;) {
        pollfd fds[3] = {{master_, POLLIN, 0}, {stopFd_, POLLIN, 0}, {closeWatch_, POLLIN, 0}};
        if (::poll(fds, 3, -1) < 0) {
            if (errno == EINTR) {
                continue;
            }
            break;
        }
        if (fds[1].revents & POLLIN) {
            break;
        }
        if (unplugged_.load()) {
            break;
        }
        if (fds[2].revents & POLLIN) {
            alignas(inotify_event) char events[512];
            if (::read(closeWatch_, events, sizeof events) > 0) {
                pending.clear();
                meter_.LinkClosed();
            }
        }
        if (fds[0].revents & (POLLERR | POLLNVAL)) {
            break;
        }
        if (!(fds[0].revents & POLLIN)) {
            continue;
        }
        char buffer[64];
        const ssize_t n = ::read(master_, buffer, sizeof buffer);
        if (n <= 0) {
            if (n < 0 && (errno == EINTR || errno == EAGAIN)) {
                continue;
            }
            break;
        }
        for (ssize_t i = 0; i < n && !unplugged_.load(); ++i) {
            const char c = buffer[i];
            if (pending.empty() && c == '[') {
                HandleCommand("[");
                continue;
            }
            pending += c;
            if (pending.size() == (pending[0] == 'R' ? recordLength_.load() : 6)) {
                HandleCommand(pending);
                pending.clear();
            }
        }
    }
    if (master_ >= 0 && unplugged_.load()) {
        ::close(master_);
        master_ = -1;
    }
}
