// A HID meter opened through hidapi: output reports with their report id, input reports read with a
// bound of ReadTotalTimeoutMultiplier per byte plus ReadTotalTimeoutConstant (20 ms per byte plus
// 500 ms until time-outs are set), so a silent meter cannot hang the caller.
#pragma once

#include "platform/Clock.h"
#include "platform/MeterTransport.h"

struct hid_device_;

class HidApiTransport final : public MeterTransport {
public:
    HidApiTransport(hid_device_* device, Clock& clock);
    ~HidApiTransport() override;
    HidApiTransport(const HidApiTransport&) = delete;
    HidApiTransport& operator=(const HidApiTransport&) = delete;

    int Read(void* buffer, std::size_t length, std::size_t* actual) override;
    int Write(const void* buffer, std::size_t length, std::size_t* actual) override;
    int SetTimeouts(const COMMTIMEOUTS& timeouts) override;
    int GetTimeouts(COMMTIMEOUTS* timeouts) override;
    int Purge() override;
    void Sleep(std::uint32_t ms) override;
    int Close() override;

    // The bound of one read of `length` bytes under the given time-outs, in milliseconds.
    static int ReadBoundMs(const COMMTIMEOUTS& timeouts, std::size_t length);

private:
    hid_device_* device_;
    Clock& clock_;
    COMMTIMEOUTS timeouts_{};
};
