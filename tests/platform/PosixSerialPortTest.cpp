// The termios port on a pseudo-terminal: raw bytes both ways, the read time-outs (total and
// between bytes) on the test clock, exclusive open, line settings and a hung-up line.
#include "platform/PosixSerialPort.h"
#include "tests/support/ManualClock.h"
#include "tests/support/ScratchFolder.h"
#include "tests/support/SimulatedLineWaiter.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <fcntl.h>
#include <poll.h>
#include <stdlib.h>
#include <string>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>
#include <vector>

namespace {

// A pseudo-terminal whose master plays the meter; a second slave descriptor lets the test see
// when bytes written by the master have reached the line (it never reads them).
class Pty {
public:
    Pty()
    {
        master_ = ::posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
        char name[128];
        if (master_ < 0 || ::grantpt(master_) != 0 || ::unlockpt(master_) != 0 || ::ptsname_r(master_, name, sizeof name) != 0) {
            return;
        }
        path_ = name;
        watch_ = ::open(name, O_RDWR | O_NOCTTY | O_CLOEXEC);
        termios t{};
        ::tcgetattr(watch_, &t);
        ::cfmakeraw(&t);
        ::tcsetattr(watch_, TCSANOW, &t);
    }
    ~Pty()
    {
        if (watch_ >= 0) ::close(watch_);
        if (master_ >= 0) ::close(master_);
    }
    const std::string& Path() const { return path_; }
    int Master() const { return master_; }
    void CloseMaster()
    {
        ::close(watch_);
        watch_ = -1;
        ::close(master_);
        master_ = -1;
    }
    // Writes from the meter's side and waits until the line holds at least that many bytes.
    void Send(const std::string& bytes)
    {
        ASSERT_EQ(::write(master_, bytes.data(), bytes.size()), static_cast<ssize_t>(bytes.size()));
        for (;;) {
            int available = 0;
            ASSERT_EQ(::ioctl(watch_, FIONREAD, &available), 0);
            if (available >= static_cast<int>(bytes.size())) return;
            pollfd p{watch_, POLLIN, 0};
            ::poll(&p, 1, -1);
        }
    }
    std::string Receive(std::size_t count)
    {
        std::string got;
        while (got.size() < count) {
            char c[64];
            const ssize_t n = ::read(master_, c, std::min(sizeof c, count - got.size()));
            if (n <= 0) break;
            got.append(c, static_cast<std::size_t>(n));
        }
        return got;
    }

private:
    int master_ = -1;
    int watch_ = -1;
    std::string path_;
};

class SerialPortTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_FALSE(pty.Path().empty());
        int err = -1;
        port = PosixSerialPort::Open(pty.Path(), clock, waiter, &err);
        ASSERT_NE(port, nullptr) << err;
        EXPECT_EQ(err, 0);
        ASSERT_EQ(port->SetTimeouts(COMMTIMEOUTS{100, 20, 500, 20, 500}), 0);
    }

    Pty pty;
    ManualClock clock;
    SimulatedLineWaiter waiter{clock};
    std::unique_ptr<PosixSerialPort> port;
};

TEST_F(SerialPortTest, EveryByteValuePassesUnchangedBothWaysWithoutEcho)
{
    std::string all;
    for (int i = 0; i < 256; ++i) all += static_cast<char>(i);
    std::size_t written = 0;
    ASSERT_EQ(port->Write(all.data(), all.size(), &written), 0);
    EXPECT_EQ(written, all.size());
    EXPECT_EQ(pty.Receive(all.size()), all);

    pty.Send(all);
    std::string got(256, '\0');
    std::size_t read = 0;
    ASSERT_EQ(port->Read(got.data(), got.size(), &read), 0);
    EXPECT_EQ(read, 256u);
    EXPECT_EQ(got, all);
    // Nothing came back to the meter's side: the line does not echo.
    pollfd p{pty.Master(), POLLIN, 0};
    EXPECT_EQ(::poll(&p, 1, 0), 0);
}

TEST_F(SerialPortTest, ReadTimeOutsEndAShortReplyWithoutAnError)
{
    // Six bytes asked for: 20 ms per byte plus 500 ms in all, at most 100 ms between bytes.
    struct Case {
        std::string sent;
        std::uint64_t elapsed;
    };
    for (const Case& c : {Case{"", 620}, Case{"L0012", 100}, Case{"L", 100}}) {
        SCOPED_TRACE(c.sent);
        if (!c.sent.empty()) pty.Send(c.sent);
        waiter.DeclareSilence();
        const std::uint64_t start = clock.NowMs();
        char reply[6] = {};
        std::size_t read = 99;
        EXPECT_EQ(port->Read(reply, 6, &read), 0);
        EXPECT_EQ(read, c.sent.size());
        EXPECT_EQ(std::string(reply, read), c.sent);
        EXPECT_EQ(clock.NowMs() - start, c.elapsed);
    }
}

TEST_F(SerialPortTest, SecondOpenOfAnOpenPortIsRefused)
{
    int err = 0;
    EXPECT_EQ(PosixSerialPort::Open(pty.Path(), clock, waiter, &err), nullptr);
    EXPECT_EQ(err, EBUSY);
    ASSERT_EQ(port->Close(), 0);
    auto again = PosixSerialPort::Open(pty.Path(), clock, waiter, &err);
    EXPECT_NE(again, nullptr);
    EXPECT_EQ(err, 0);
}

TEST_F(SerialPortTest, LineSettingsRoundTripAndInvalidOnesAreRefused)
{
    DCB dcb;
    dcb.BaudRate = 115200;
    dcb.ByteSize = 8;
    dcb.Parity = NOPARITY;
    dcb.StopBits = ONESTOPBIT;
    ASSERT_EQ(port->SetLineSettings(dcb), 0);
    DCB read;
    ASSERT_EQ(port->GetLineSettings(&read), 0);
    EXPECT_EQ(read, dcb);
    DCB bad = dcb;
    bad.ByteSize = 9;
    EXPECT_EQ(port->SetLineSettings(bad), EINVAL);
    bad = dcb;
    bad.BaudRate = 123;
    EXPECT_EQ(port->SetLineSettings(bad), EINVAL);
}

TEST_F(SerialPortTest, HungUpLineFailsTheReadWithAnError)
{
    pty.CloseMaster();
    char reply[6];
    std::size_t read = 0;
    EXPECT_NE(port->Read(reply, 6, &read), 0);
    EXPECT_EQ(read, 0u);
}

TEST(SerialPortOpen, MissingDeviceOrNoTerminalFails)
{
    ManualClock clock;
    SimulatedLineWaiter waiter{clock};
    ScratchFolder folder;
    int err = 0;
    EXPECT_EQ(PosixSerialPort::Open(folder.File("ttyUSB9"), clock, waiter, &err), nullptr);
    EXPECT_EQ(err, ENOENT);
    const std::string file = folder.File("plain");
    ::close(::open(file.c_str(), O_CREAT | O_WRONLY, 0600));
    EXPECT_EQ(PosixSerialPort::Open(file, clock, waiter, &err), nullptr);
    EXPECT_EQ(err, ENOTTY);
}

} // namespace
