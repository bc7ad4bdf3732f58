#include "platform/PosixSerialDeviceSystem.h"

#include "platform/PosixSerialPort.h"

PosixSerialDeviceSystem::PosixSerialDeviceSystem()
    : clock_(SystemClock::Instance()), ownWaiter_(clock_), waiter_(ownWaiter_)
{
}

PosixSerialDeviceSystem::PosixSerialDeviceSystem(Clock& clock, FdWaiter& waiter)
    : clock_(clock), ownWaiter_(clock), waiter_(waiter)
{
}

std::unique_ptr<MeterTransport> PosixSerialDeviceSystem::Open(const std::string& path, int* err)
{
    return PosixSerialPort::Open(path, clock_, waiter_, err);
}
