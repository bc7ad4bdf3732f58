#include "flash/CZarnflashHidLink.h"

#include "meter/CCommT140.h"
#include "meter/CCommT520.h"

#include <cctype>
#include <cstdio>
#include <cstring>

namespace {

bool IsHex(char c)
{
    return std::isxdigit(static_cast<unsigned char>(c)) != 0;
}

} // namespace

CZarnflashHidLink::CZarnflashHidLink(std::unique_ptr<CCommHidMeter> link, Family family)
    : link_(std::move(link)), family_(family)
{
}

int CZarnflashHidLink::CountDevices(std::string* path)
{
    std::string found;
    BOOL several = FALSE;
    link_->FindHidDevice(&found, &several);
    if (path) *path = found;
    if (found.empty()) return 0;
    return several ? 2 : 1;
}

BOOL CZarnflashHidLink::IsDevicePresent()
{
    return CountDevices(nullptr) > 0 ? TRUE : FALSE;
}

BOOL CZarnflashHidLink::Open(const std::string& path, int* err)
{
    if (err) *err = 0;
    std::string found;
    const int count = CountDevices(&found);
    if (count == 0) {
        if (err) *err = kNoDevice;
        return FALSE;
    }
    // With several meters attached nothing says which one is meant: a firmware image must not
    // reach the wrong one.
    if (count > 1) {
        if (err) *err = kSeveralDevices;
        return FALSE;
    }
    // The meter read earlier must still be the one attached.
    if (!path.empty() && path != found) {
        if (err) *err = kNoDevice;
        return FALSE;
    }
    if (!link_->Open(found, err)) return FALSE;
    const COMMTIMEOUTS timeouts{100, 0, kReadTimeoutMs, 20, 200};
    link_->SetTimeouts(&timeouts, nullptr);
    return TRUE;
}

BOOL CZarnflashHidLink::Prepare(int* err)
{
    return link_->PrepareDevice(err);
}

BOOL CZarnflashHidLink::Transact(const std::string& command, std::string* reply)
{
    if (reply) reply->clear();
    writeFailed_ = true;
    if (!link_->IsOpen()) return FALSE;
    const bool record = !command.empty() && command[0] == 'R';
    const std::size_t size = record ? kRecordLength : kCommandLength;
    if (command.empty() || command.size() > size) return FALSE;
    unsigned char report[1 + kRecordLength] = {};
    report[0] = record ? 0x02 : 0x01;
    std::memcpy(report + 1, command.data(), command.size());
    // An answer that came after its exchange was given up would be taken for this command's.
    link_->Purge();
    if (!link_->Write(report, static_cast<DWORD>(1 + size), nullptr, nullptr)) return FALSE;
    writeFailed_ = false;

    unsigned char input[1 + kCommandLength + 1] = {};
    DWORD got = 0;
    const BOOL ok = link_->Read(input, static_cast<DWORD>(1 + kCommandLength), &got, nullptr);
    if (!ok || got == 0) {
        if (reply) *reply = "T.O.";
        return FALSE;
    }
    const std::size_t chars = got > 1 ? got - 1 : 0;
    std::string text(reinterpret_cast<const char*>(input + 1), chars > kCommandLength ? kCommandLength : chars);
    const std::size_t nul = text.find('\0');
    if (nul != std::string::npos) text.resize(nul);
    if (reply) *reply = text;
    return got == 1 + kCommandLength ? TRUE : FALSE;
}

BOOL CZarnflashHidLink::Close()
{
    return link_->Close(nullptr);
}

BOOL CZarnflashHidLink::GetModelName(std::string* text)
{
    return link_->GetModelName(text, nullptr);
}

BOOL CZarnflashHidLink::GetRevision(std::string* text)
{
    return link_->GetRevision(text, nullptr);
}

BOOL CZarnflashHidLink::WaitUntilReady(const std::string& revision)
{
    if (family_ == Family::T140) return static_cast<CCommT140&>(*link_).WaitUntilReady(revision, nullptr);
    return static_cast<CCommT520&>(*link_).WaitUntilReady(revision, nullptr);
}

bool CZarnflashHidLink::Query(const char* command, std::string* reply)
{
    std::string text;
    if (!Transact(command, &text) || text.size() != kCommandLength) return false;
    for (char& c : text) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    if (text[0] != command[0]) return false;
    *reply = text;
    return true;
}

std::string CZarnflashHidLink::RadioVersion(const char* first, const char* second)
{
    std::string reply;
    if (!Query(first, &reply)) return {};
    if (reply[2] != '3' || reply[4] != '3') return {};
    const std::string prefix{reply[3], reply[5]};
    if (!Query(second, &reply)) return {};
    // The whole four-digit field is the value: characters 2 to 5.
    for (std::size_t i = 2; i < 6; ++i) {
        if (!IsHex(reply[i])) return {};
    }
    const unsigned value = static_cast<unsigned>(std::stoul(reply.substr(2, 4), nullptr, 16));
    char digits[8];
    std::snprintf(digits, sizeof digits, "%04X", value);
    return prefix + "." + digits;
}

std::string CZarnflashHidLink::GetVersionA()
{
    return RadioVersion("G0001A", "G0000A");
}

std::string CZarnflashHidLink::GetVersionB()
{
    return RadioVersion("G00019", "G00009");
}

int CZarnflashHidLink::GetVariant()
{
    std::string reply;
    if (!Query("G0000B", &reply)) return 0;
    if (!IsHex(reply[4]) || !IsHex(reply[5])) return 0;
    const unsigned value = static_cast<unsigned>(std::stoul(reply.substr(4, 2), nullptr, 16));
    switch (value) {
    case 0: return 1;
    case 1: return 3;
    case 3: return 2;
    default: return 0;
    }
}
