// A serial meter port through termios: opened exclusively (TIOCEXCL and an flock, so neither a
// second program nor a second open in this one can talk into an exchange), raw, 115200 8N1 once the
// link applies its line settings. Reads and writes honour the link's time-outs (interval between
// bytes, multiplier per byte, constant) with a poll loop on the injected clock and waiter.
#pragma once

#include "platform/Clock.h"
#include "platform/FdWaiter.h"
#include "platform/MeterTransport.h"

#include <memory>
#include <string>

class PosixSerialPort final : public MeterTransport {
public:
    // Opens the device; null with *err set (when err is given) to the errno of the failing call.
    static std::unique_ptr<PosixSerialPort> Open(const std::string& path, Clock& clock, FdWaiter& waiter,
                                                 int* err);
    ~PosixSerialPort() override;
    PosixSerialPort(const PosixSerialPort&) = delete;
    PosixSerialPort& operator=(const PosixSerialPort&) = delete;

    int Read(void* buffer, std::size_t length, std::size_t* actual) override;
    int Write(const void* buffer, std::size_t length, std::size_t* actual) override;
    int SetTimeouts(const COMMTIMEOUTS& timeouts) override;
    int GetTimeouts(COMMTIMEOUTS* timeouts) override;
    int Purge() override;
    void Sleep(std::uint32_t ms) override;
    int Close() override;
    int GetLineSettings(DCB* dcb) override;
    int SetLineSettings(const DCB& dcb) override;

private:
    PosixSerialPort(int fd, Clock& clock, FdWaiter& waiter) : fd_(fd), clock_(clock), waiter_(waiter) {}

    int fd_;
    Clock& clock_;
    FdWaiter& waiter_;
    COMMTIMEOUTS timeouts_{};
};
