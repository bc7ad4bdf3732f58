// HID link to a meter (T-140 family, T-520D): owns one open device, writes output reports and reads
// input reports. Reads are bounded: ReadTotalTimeoutMultiplier per byte plus ReadTotalTimeoutConstant
// of the time-outs last set (20 ms per byte plus 500 ms before any are set), so a silent meter ends
// the exchange instead of hanging the worker. Error pointers as in CCommSyncBase.
#pragma once

#include "platform/Clock.h"
#include "platform/CommTimeouts.h"
#include "platform/HidDeviceSystem.h"
#include "platform/MeterTransport.h"
#include "platform/WinTypes.h"

#include <cstdint>
#include <memory>
#include <string>

class CCommSyncHidBase {
public:
    explicit CCommSyncHidBase(HidDeviceSystem& system);
    virtual ~CCommSyncHidBase();
    CCommSyncHidBase(const CCommSyncHidBase&) = delete;
    CCommSyncHidBase& operator=(const CCommSyncHidBase&) = delete;

    // Opens a device path, closing an open device first; an empty path fails without an error code.
    virtual BOOL Open(const std::string& path, int* err = nullptr);
    // FALSE when no device is open; otherwise closes it and zeroes the time-out copy.
    virtual BOOL Close(int* err = nullptr);
    // Reads one input report (report id first). A read that runs into its bound succeeds with 0 bytes.
    virtual BOOL Read(void* buffer, DWORD length, DWORD* bytesRead, int* err = nullptr);
    // Writes one output report (report id first); the third argument is not used.
    virtual BOOL Write(const void* report, DWORD length, DWORD* ignored, int* err = nullptr);
    virtual BOOL GetTimeouts(COMMTIMEOUTS* timeouts);
    // TRUE for a non-null argument on an open device; the read and total constants bound later reads.
    virtual BOOL SetTimeouts(const COMMTIMEOUTS* timeouts, int* err = nullptr);

    // One request/reply exchange: the command as an output report (report id 2 when it begins with
    // "R", else 1), then one input report whose bytes 1 to 7 are copied to reply (the reply characters
    // and a terminating zero; reply must hold 8 bytes). FALSE when the write fails, otherwise the
    // result of the read; *bytesRead counts the report id.
    BOOL Transact(const char* command, DWORD commandLength, DWORD* ignored, char* reply, DWORD replyLength,
                  DWORD* bytesRead, int* err = nullptr);

    // Drops input reports still waiting (the late answer to an exchange given up); FALSE when closed.
    BOOL Purge();

    bool IsOpen() const { return device_ != nullptr; }

protected:
    HidDeviceSystem& System() { return system_; }
    Clock& GetClock() { return system_.GetClock(); }
    // The protocol's waits: through the open device, else through the clock.
    void SleepMs(std::uint32_t ms);

private:
    HidDeviceSystem& system_;
    std::unique_ptr<MeterTransport> device_;
    COMMTIMEOUTS timeouts_{};
};
