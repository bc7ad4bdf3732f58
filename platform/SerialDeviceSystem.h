// Where serial meter ports are opened: termios on a real system (exclusive open, raw), a
// pseudo-terminal in tests.
#pragma once

#include "platform/Clock.h"
#include "platform/MeterTransport.h"

#include <memory>
#include <string>

class SerialDeviceSystem {
public:
    virtual ~SerialDeviceSystem() = default;
    // Opens the port (a device path such as /dev/ttyUSB0); null with *err set (when err is given)
    // on failure.
    virtual std::unique_ptr<MeterTransport> Open(const std::string& path, int* err) = 0;
    // The clock that the protocol's waits and time-outs use.
    virtual Clock& GetClock() = 0;
};
