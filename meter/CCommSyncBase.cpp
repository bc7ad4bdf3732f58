#include "meter/CCommSyncBase.h"
#include "meter/MeterErrorOut.h"

CCommSyncBase::CCommSyncBase(SerialDeviceSystem& system) : system_(system) {}

CCommSyncBase::~CCommSyncBase()
{
    if (port_) port_->Close();
}

BOOL CCommSyncBase::Open(const std::string& path, int* err)
{
    ClearErr(err);
    if (port_) Close(nullptr);
    if (path.empty()) return FALSE;
    // The port is opened exclusively, so that probing and opening are one step: a port held by
    // another program fails here with its error code, and no second program can open it meanwhile.
    int code = 0;
    std::unique_ptr<MeterTransport> port = system_.Open(path, &code);
    if (!port) {
        SetErr(err, code != 0 ? code : EIO);
        return FALSE;
    }
    port_ = std::move(port);
    port_->GetTimeouts(&savedTimeouts_);
    port_->GetLineSettings(&savedState_);
    return TRUE;
}

BOOL CCommSyncBase::Close(int* err)
{
    ClearErr(err);
    if (!port_) return FALSE;
    const int code = port_->Close();
    port_.reset();
    savedState_ = DCB{};
    savedTimeouts_ = COMMTIMEOUTS{};
    if (code != 0) {
        SetErr(err, code);
        return FALSE;
    }
    return TRUE;
}

BOOL CCommSyncBase::Read(void* buffer, DWORD length, DWORD* bytesRead, int* err)
{
    ClearErr(err);
    if (bytesRead) *bytesRead = 0;
    if (!buffer || !port_) return FALSE;
    std::size_t actual = 0;
    const int code = port_->Read(buffer, length, &actual);
    if (bytesRead) *bytesRead = static_cast<DWORD>(actual);
    if (code != 0) {
        SetErr(err, code);
        return FALSE;
    }
    return TRUE;
}

BOOL CCommSyncBase::Write(const void* buffer, DWORD length, DWORD* bytesWritten, int* err)
{
    ClearErr(err);
    if (bytesWritten) *bytesWritten = 0;
    if (!buffer || !port_) return FALSE;
    std::size_t actual = 0;
    const int code = port_->Write(buffer, length, &actual);
    if (bytesWritten) *bytesWritten = static_cast<DWORD>(actual);
    if (code != 0) {
        SetErr(err, code);
        return FALSE;
    }
    return TRUE;
}

BOOL CCommSyncBase::GetCommState(DCB* dcb, int* err)
{
    ClearErr(err);
    if (!dcb || !port_) return FALSE;
    const int code = port_->GetLineSettings(dcb);
    if (code != 0) {
        SetErr(err, code);
        return FALSE;
    }
    return TRUE;
}

BOOL CCommSyncBase::SetCommState(const DCB* dcb, int* err)
{
    ClearErr(err);
    if (!dcb || !port_) return FALSE;
    const int code = port_->SetLineSettings(*dcb);
    if (code != 0) {
        SetErr(err, code);
        return FALSE;
    }
    return TRUE;
}

BOOL CCommSyncBase::GetCommTimeouts(COMMTIMEOUTS* timeouts)
{
    if (!timeouts || !port_) return FALSE;
    return port_->GetTimeouts(timeouts) == 0 ? TRUE : FALSE;
}

BOOL CCommSyncBase::SetCommTimeouts(const COMMTIMEOUTS* timeouts, int* err)
{
    ClearErr(err);
    if (!timeouts || !port_) return FALSE;
    const int code = port_->SetTimeouts(*timeouts);
    if (code != 0) {
        SetErr(err, code);
        return FALSE;
    }
    return TRUE;
}

void CCommSyncBase::SleepMs(std::uint32_t ms)
{
    if (port_) {
        port_->Sleep(ms);
    } else {
        system_.GetClock().SleepMs(ms);
    }
}
