#include "meter/CCommSyncHidBase.h"
#include "meter/MeterErrorOut.h"

#include <cstring>

CCommSyncHidBase::CCommSyncHidBase(HidDeviceSystem& system) : system_(system) {}

CCommSyncHidBase::~CCommSyncHidBase()
{
    if (device_) device_->Close();
}

BOOL CCommSyncHidBase::Open(const std::string& path, int* err)
{
    ClearErr(err);
    if (device_) Close(nullptr);
    if (path.empty()) return FALSE;
    int code = 0;
    std::unique_ptr<MeterTransport> device = system_.Open(path, &code);
    if (!device) {
        SetErr(err, code != 0 ? code : EIO);
        return FALSE;
    }
    device_ = std::move(device);
    timeouts_ = COMMTIMEOUTS{};
    device_->GetTimeouts(&timeouts_); // a failure leaves the copy zero
    return TRUE;
}

BOOL CCommSyncHidBase::Close(int* err)
{
    ClearErr(err);
    if (!device_) return FALSE;
    const int code = device_->Close();
    device_.reset();
    timeouts_ = COMMTIMEOUTS{};
    if (code != 0) {
        SetErr(err, code);
        return FALSE;
    }
    return TRUE;
}

BOOL CCommSyncHidBase::Read(void* buffer, DWORD length, DWORD* bytesRead, int* err)
{
    ClearErr(err);
    if (bytesRead) *bytesRead = 0;
    if (!buffer || !device_) return FALSE;
    std::size_t actual = 0;
    const int code = device_->Read(buffer, length, &actual);
    if (bytesRead) *bytesRead = static_cast<DWORD>(actual);
    if (code != 0) {
        SetErr(err, code);
        return FALSE;
    }
    return TRUE;
}

BOOL CCommSyncHidBase::Write(const void* report, DWORD length, DWORD* /*ignored*/, int* err)
{
    ClearErr(err);
    if (!report || !device_) return FALSE;
    std::size_t actual = 0;
    const int code = device_->Write(report, length, &actual);
    if (code != 0) {
        SetErr(err, code);
        return FALSE;
    }
    return TRUE;
}

BOOL CCommSyncHidBase::GetTimeouts(COMMTIMEOUTS* timeouts)
{
    if (!timeouts || !device_) return FALSE;
    return device_->GetTimeouts(timeouts) == 0 ? TRUE : FALSE;
}

BOOL CCommSyncHidBase::SetTimeouts(const COMMTIMEOUTS* timeouts, int* err)
{
    ClearErr(err);
    if (!timeouts || !device_) return FALSE;
    timeouts_ = *timeouts;
    // The device itself has no time-outs; the link uses them to bound its reads.
    device_->SetTimeouts(*timeouts);
    return TRUE;
}

BOOL CCommSyncHidBase::Transact(const char* command, DWORD commandLength, DWORD* /*ignored*/, char* reply,
                                DWORD replyLength, DWORD* bytesRead, int* err)
{
    ClearErr(err);
    if (bytesRead) *bytesRead = 0;
    unsigned char report[8] = {};
    if (!command || commandLength > 7 || replyLength > 7) return FALSE;
    report[0] = (commandLength > 0 && command[0] == 'R') ? 0x02 : 0x01;
    std::memcpy(report + 1, command, commandLength);
    if (!Write(report, commandLength + 1, nullptr, err)) return FALSE;

    unsigned char input[8] = {};
    const BOOL ok = Read(input, replyLength + 1, bytesRead, err);
    std::memcpy(reply, input + 1, 7);
    return ok;
}

BOOL CCommSyncHidBase::Purge()
{
    if (!device_) return FALSE;
    return device_->Purge() == 0 ? TRUE : FALSE;
}

void CCommSyncHidBase::SleepMs(std::uint32_t ms)
{
    if (device_) {
        device_->Sleep(ms);
    } else {
        system_.GetClock().SleepMs(ms);
    }
}
