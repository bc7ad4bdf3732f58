// Opens serial meter ports with termios. The clock and the waiter are injectable: a test on a
// pseudo-terminal passes a clock and waiter of its own so time-outs run without real waiting.
#pragma once

#include "platform/Clock.h"
#include "platform/FdWaiter.h"
#include "platform/PollFdWaiter.h"
#include "platform/SerialDeviceSystem.h"

class PosixSerialDeviceSystem final : public SerialDeviceSystem {
public:
    // The real clock and poll(2).
    PosixSerialDeviceSystem();
    PosixSerialDeviceSystem(Clock& clock, FdWaiter& waiter);

    std::unique_ptr<MeterTransport> Open(const std::string& path, int* err) override;
    Clock& GetClock() override { return clock_; }

private:
    Clock& clock_;
    PollFdWaiter ownWaiter_;
    FdWaiter& waiter_;
};
