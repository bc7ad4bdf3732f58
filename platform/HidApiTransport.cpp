#include "platform/HidApiTransport.h"

#include <hidapi/hidapi.h>

#include <cerrno>

HidApiTransport::HidApiTransport(hid_device_* device, Clock& clock) : device_(device), clock_(clock) {}

HidApiTransport::~HidApiTransport()
{
    Close();
}

int HidApiTransport::ReadBoundMs(const COMMTIMEOUTS& timeouts, std::size_t length)
{
    std::uint64_t multiplier = timeouts.ReadTotalTimeoutMultiplier;
    std::uint64_t constant = timeouts.ReadTotalTimeoutConstant;
    if (multiplier == 0 && constant == 0) {
        multiplier = 20;
        constant = 500;
    }
    const std::uint64_t bound = multiplier * length + constant;
    return bound > 600000 ? 600000 : static_cast<int>(bound);
}

int HidApiTransport::Read(void* buffer, std::size_t length, std::size_t* actual)
{
    if (actual) *actual = 0;
    if (!device_) return EBADF;
    const int n = hid_read_timeout(device_, static_cast<unsigned char*>(buffer), length,
                                   ReadBoundMs(timeouts_, length));
    if (n < 0) return EIO;
    if (actual) *actual = static_cast<std::size_t>(n);
    return 0;
}

int HidApiTransport::Write(const void* buffer, std::size_t length, std::size_t* actual)
{
    if (actual) *actual = 0;
    if (!device_) return EBADF;
    // The first byte is the report id; hidraw sends it with the report.
    const int n = hid_write(device_, static_cast<const unsigned char*>(buffer), length);
    if (n < 0) return EIO;
    if (actual) *actual = static_cast<std::size_t>(n);
    return static_cast<std::size_t>(n) == length ? 0 : EIO;
}

int HidApiTransport::SetTimeouts(const COMMTIMEOUTS& timeouts)
{
    timeouts_ = timeouts;
    return 0;
}

int HidApiTransport::GetTimeouts(COMMTIMEOUTS* timeouts)
{
    if (!timeouts) return EINVAL;
    *timeouts = timeouts_;
    return 0;
}

int HidApiTransport::Purge()
{
    if (!device_) return EBADF;
    unsigned char scratch[64];
    while (hid_read_timeout(device_, scratch, sizeof scratch, 0) > 0) {
    }
    return 0;
}

void HidApiTransport::Sleep(std::uint32_t ms)
{
    clock_.SleepMs(ms);
}

int HidApiTransport::Close()
{
    if (device_) {
        hid_close(device_);
        device_ = nullptr;
    }
    return 0;
}
