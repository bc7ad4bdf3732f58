#include "flash/CZarnflashSerialLink.h"

#include <cstring>

CZarnflashSerialLink::CZarnflashSerialLink(std::unique_ptr<CCommT310> link) : link_(std::move(link)) {}

BOOL CZarnflashSerialLink::Open(const std::string& port, int* err)
{
    if (err) *err = 0;
    // With several meter ports attached nothing says which one is meant.
    if (port.empty() && link_->HasMultipleT310Ports()) {
        if (err) *err = kSeveralDevices;
        return FALSE;
    }
    return link_->ConnectPort(port, err);
}

BOOL CZarnflashSerialLink::Prepare(int* err)
{
    return link_->PrepareDevice(err);
}

BOOL CZarnflashSerialLink::Transact(const std::string& command, std::string* reply)
{
    if (reply) reply->clear();
    writeFailed_ = true;
    if (command.empty() || command.size() > 64 || !link_->IsOpen()) return FALSE;
    DWORD written = 0;
    if (!link_->Write(command.data(), static_cast<DWORD>(command.size()), &written, nullptr) ||
        written != command.size()) {
        return FALSE;
    }
    writeFailed_ = false;
    char answer[8] = {};
    DWORD got = 0;
    const BOOL ok = link_->Read(answer, 6, &got, nullptr);
    if (reply) reply->assign(answer, strnlen(answer, 6));
    return ok && got == 6 ? TRUE : FALSE;
}

BOOL CZarnflashSerialLink::Close()
{
    return link_->Close(nullptr);
}
