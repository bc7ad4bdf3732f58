// One open link to a meter: a small table of operations (read, write, time-outs, purge, sleep, close),
// so that a simulated link replaces a real HID device or serial port and even the protocol's waits go
// through the link. Results are 0 or an errno-style error code; a read that runs into its time-out is
// not an error: it returns 0 with fewer bytes than asked for.
#pragma once

#include "platform/CommTimeouts.h"
#include "platform/SerialDcb.h"

#include <cerrno>
#include <cstddef>
#include <cstdint>

class MeterTransport {
public:
    virtual ~MeterTransport() = default;

    // Reads up to length bytes. HID: one input report (length bounds it). Serial: until length bytes
    // came or a time-out ran out.
    virtual int Read(void* buffer, std::size_t length, std::size_t* actual) = 0;
    // Writes the bytes. HID: one output report whose first byte is the report id.
    virtual int Write(const void* buffer, std::size_t length, std::size_t* actual) = 0;
    virtual int SetTimeouts(const COMMTIMEOUTS& timeouts) = 0;
    virtual int GetTimeouts(COMMTIMEOUTS* timeouts) = 0;
    // Drops whatever input is waiting (a late reply of an earlier command).
    virtual int Purge() = 0;
    virtual void Sleep(std::uint32_t ms) = 0;
    virtual int Close() = 0;

    // Line settings; only serial links have them.
    virtual int GetLineSettings(DCB* /*dcb*/) { return ENOTSUP; }
    virtual int SetLineSettings(const DCB& /*dcb*/) { return ENOTSUP; }
};
