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
    if (command.empty() || command.size() > 64) return FALSE;
    char answer[8] = {};
    const BOOL ok = link_->Transact(command.data(), static_cast<DWORD>(command.size()), answer, 6, nullptr);
    if (reply) reply->assign(answer, strnlen(answer, 6));
    return ok;
}

BOOL CZarnflashSerialLink::Close()
{
    return link_->Close(nullptr);
}
