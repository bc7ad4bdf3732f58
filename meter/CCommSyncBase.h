// Serial link to a meter (the T-310 family's USB virtual COM port): owns one open port, keeps the
// line settings and time-outs it found when it opened the port, and offers synchronous reads and
// writes. Every operation that can fail takes an optional error pointer: set to 0 first, then to the
// platform error of a failed call; protocol failures leave it 0.
#pragma once

#include "platform/Clock.h"
#include "platform/CommTimeouts.h"
#include "platform/MeterTransport.h"
#include "platform/SerialDcb.h"
#include "platform/SerialDeviceSystem.h"
#include "platform/WinTypes.h"

#include <cstdint>
#include <memory>
#include <string>

class CCommSyncBase {
public:
    explicit CCommSyncBase(SerialDeviceSystem& system);
    virtual ~CCommSyncBase();
    CCommSyncBase(const CCommSyncBase&) = delete;
    CCommSyncBase& operator=(const CCommSyncBase&) = delete;

    // Opens the port, closing an open one first; an empty path fails without an error code. On
    // success the port's current time-outs and line settings are saved.
    virtual BOOL Open(const std::string& path, int* err = nullptr);
    // FALSE when no port is open; otherwise closes it and zeroes the saved records.
    virtual BOOL Close(int* err = nullptr);
    // One synchronous read or write, bounded by the time-outs in force; FALSE without I/O for a null
    // buffer or a closed port. A read that runs into its time-out succeeds with fewer bytes.
    virtual BOOL Read(void* buffer, DWORD length, DWORD* bytesRead, int* err = nullptr);
    virtual BOOL Write(const void* buffer, DWORD length, DWORD* bytesWritten, int* err = nullptr);
    virtual BOOL GetCommState(DCB* dcb, int* err = nullptr);
    virtual BOOL SetCommState(const DCB* dcb, int* err = nullptr);
    virtual BOOL GetCommTimeouts(COMMTIMEOUTS* timeouts);
    virtual BOOL SetCommTimeouts(const COMMTIMEOUTS* timeouts, int* err = nullptr);

    bool IsOpen() const { return port_ != nullptr; }
    const DCB& SavedCommState() const { return savedState_; }
    const COMMTIMEOUTS& SavedCommTimeouts() const { return savedTimeouts_; }

protected:
    SerialDeviceSystem& System() { return system_; }
    Clock& GetClock() { return system_.GetClock(); }
    // The protocol's waits: through the open port, else through the clock.
    void SleepMs(std::uint32_t ms);

private:
    SerialDeviceSystem& system_;
    std::unique_ptr<MeterTransport> port_;
    DCB savedState_{};
    COMMTIMEOUTS savedTimeouts_{};
};
