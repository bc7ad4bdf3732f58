#include "meter/CCommT310.h"
#include "meter/MeterErrorOut.h"

#include "meter/MeterReply.h"

#include <cstdio>
#include <cstring>

namespace {

// The three runs of a slot that the meter keeps (relative word numbers); the rest is never moved.
struct SlotRun {
    unsigned first;
    unsigned last;
};
constexpr SlotRun kSlotRuns[] = {{0x000, 0x00F}, {0x010, 0x127}, {0x12C, 0x1B7}};
constexpr int kWordsPerSlot = 436;

constexpr unsigned kStatusIdle = 1;
constexpr unsigned kStatusDone = 2;
constexpr unsigned kStatusSaving = 3;
constexpr unsigned kStatusFailed = 15;

bool IsStatus(unsigned s)
{
    return s == kStatusIdle || s == kStatusDone || s == kStatusSaving || s == kStatusFailed;
}

} // namespace

CCommT310::CCommT310(SerialDeviceSystem& system, UsbSerialPortFinder finder, std::string deviceDir)
    : CCommSyncBase(system), finder_(std::move(finder)), deviceDir_(std::move(deviceDir))
{
}

CCommT310::~CCommT310() = default;

BOOL CCommT310::Close(int* err)
{
    notifyWindow_ = nullptr;
    notifyMessage_ = 0;
    progressTotal_ = 0;
    progressCount_ = 0;
    return CCommSyncBase::Close(err);
}

std::string CCommT310::FindT310Port() const
{
    const auto ports = finder_.FindPorts(kVendorId, kProductId, kInterface);
    return ports.empty() ? std::string() : ports.front();
}

BOOL CCommT310::HasMultipleT310Ports() const
{
    // Only ports of the meter's own USB identity count: other USB serial adapters with the same
    // bridge chip must not make the meter look attached twice.
    return finder_.FindPorts(kVendorId, kProductId, kInterface).size() > 1 ? TRUE : FALSE;
}

BOOL CCommT310::IsDevicePresent(BOOL* moreThanOne)
{
    if (moreThanOne) {
        *moreThanOne = FALSE;
    }
    const auto ports = finder_.FindPorts(kVendorId, kProductId, kInterface);
    if (ports.size() > 1) {
        if (moreThanOne) {
            *moreThanOne = TRUE;
        }
        return TRUE;
    }
    return ports.empty() ? FALSE : TRUE;
}

BOOL CCommT310::OpenDevice(int* err)
{
    return ConnectPort(std::string(), err);
}

BOOL CCommT310::ConnectPort(const std::string& portName, int* err)
{
    ClearErr(err);
    // A port name is a device name in the device folder, never a path of its own.
    if (portName.size() > 259 || portName.find('/') != std::string::npos || portName == "." || portName == "..") {
        if (err) {
            *err = kNoDeviceError;
        }
        return FALSE;
    }
    const std::string port = portName.empty() ? FindT310Port() : portName;
    if (port.empty()) {
        if (err) {
            *err = kNoDeviceError;
        }
        return FALSE;
    }
    if (!Open(deviceDir_ + "/" + port, err)) {
        return FALSE;
    }
    DCB dcb = SavedCommState();
    dcb.BaudRate = 115200;
    dcb.ByteSize = 8;
    dcb.Parity = NOPARITY;
    dcb.StopBits = ONESTOPBIT;
    dcb.fParity = 0;
    // A port that refuses these shows up as failed exchanges later.
    SetCommState(&dcb, nullptr);
    const COMMTIMEOUTS timeouts{100, 20, 200, 20, 200};
    SetCommTimeouts(&timeouts, nullptr);
    return TRUE;
}

BOOL CCommT310::PrepareDevice(int* err)
{
    ClearErr(err);
    for (int attempt = 0; attempt < 6; ++attempt) {
        const char request = '[';
        DWORD written = 0;
        if (!Write(&request, 1, &written, err)) {
            return FALSE;
        }
        if (written != 1) {
            continue;
        }
        char answer = 0;
        DWORD got = 0;
        if (!Read(&answer, 1, &got, err)) {
            return FALSE;
        }
        if (got == 1 && answer == '[') {
            return TRUE;
        }
    }
    return FALSE;
}

BOOL CCommT310::Transact(const char* command, DWORD length, char* reply, DWORD replyLength, int* err)
{
    ClearErr(err);
    if (command == nullptr || reply == nullptr) {
        return FALSE;
    }
    std::memset(reply, 0, replyLength + 1);
    DWORD written = 0;
    if (!Write(command, length, &written, err) || written != length) {
        return FALSE;
    }
    DWORD got = 0;
    if (!Read(reply, replyLength, &got, err) || got != replyLength) {
        return FALSE;
    }
    return TRUE;
}

BOOL CCommT310::Command(const char* command, char letter, char* reply, int* err, bool keepCase)
{
    if (!Transact(command, 6, reply, 6, err)) {
        return FALSE;
    }
    if (!keepCase) {
        MeterReply::UpperCase(reply);
    }
    return MeterReply::HasLetter(reply, letter) ? TRUE : FALSE;
}

BOOL CCommT310::SetAddress(unsigned address, int* err)
{
    char command[8];
    std::snprintf(command, sizeof command, "L0%03X1", address & 0xFFF);
    char reply[8];
    return Command(command, 'L', reply, err) && MeterReply::EchoMatches(reply, 3, address & 0xFFF) ? TRUE : FALSE;
}

BOOL CCommT310::ReadWord(unsigned address, std::uint16_t* word, int* err)
{
    if (!SetAddress(address, err)) {
        return FALSE;
    }
    char reply[8];
    if (!Command("L00002", 'L', reply, err)) {
        return FALSE;
    }
    *word = static_cast<std::uint16_t>(MeterReply::ReadField(reply, 4));
    return TRUE;
}

BOOL CCommT310::WriteWord(unsigned address, std::uint16_t word, int* err)
{
    if (!SetAddress(address, err)) {
        return FALSE;
    }
    char command[8];
    std::snprintf(command, sizeof command, "L%04X3", static_cast<unsigned>(word));
    char reply[8];
    return Command(command, 'L', reply, err) && MeterReply::EchoMatches(reply, 4, word) ? TRUE : FALSE;
}

BOOL CCommT310::ReadWordRange(T310TransferBlock* block, std::size_t offset, unsigned first, unsigned last, int* err)
{
    for (unsigned address = first; address <= last && last >= first; ++address) {
        std::uint16_t word = 0;
        if (!ReadWord(address, &word, err)) {
            return FALSE;
        }
        block->SetWord(offset, word);
        offset += 2;
        PostProgress();
    }
    return TRUE;
}

BOOL CCommT310::WriteWordRange(const T310TransferBlock* block, std::size_t offset, unsigned first, unsigned last,
                               int* err)
{
    for (unsigned address = first; address <= last && last >= first; ++address) {
        if (!WriteWord(address, block->GetWord(offset), err)) {
            return FALSE;
        }
        offset += 2;
        PostProgress();
    }
    return TRUE;
}

BOOL CCommT310::ReadSlot(T310TransferBlock* block, int slot, int* err)
{
    const unsigned base = T310TransferBlock::kSlotAddress + T310TransferBlock::kSlotWords * static_cast<unsigned>(slot);
    for (const SlotRun& run : kSlotRuns) {
        if (!ReadWordRange(block, T310TransferBlock::OffsetOfAddress(base + run.first), base + run.first,
                           base + run.last, err)) {
            return FALSE;
        }
    }
    return TRUE;
}

BOOL CCommT310::WriteSlot(const T310TransferBlock* block, int slot, int* err)
{
    const unsigned base = T310TransferBlock::kSlotAddress + T310TransferBlock::kSlotWords * static_cast<unsigned>(slot);
    for (const SlotRun& run : kSlotRuns) {
        if (!WriteWordRange(block, T310TransferBlock::OffsetOfAddress(base + run.first), base + run.first,
                            base + run.last, err)) {
            return FALSE;
        }
    }
    return TRUE;
}

BOOL CCommT310::CommitAndWait(int* err)
{
    char reply[8];
    if (!Command("L00008", 'L', reply, err)) {
        return FALSE;
    }
    unsigned status = MeterReply::ReadField(reply, 1);
    if (!IsStatus(status)) {
        return FALSE;
    }
    PostProgress();
    // A meter that keeps answering "saving" is given up after a deadline instead of being polled
    // for ever.
    const std::uint64_t start = GetClock().NowMs();
    while (status == kStatusSaving) {
        if (GetClock().NowMs() - start >= kCommitDeadlineMs) {
            return FALSE;
        }
        SleepMs(kCommitPollMs);
        if (!Command("L00007", 'L', reply, err)) {
            return FALSE;
        }
        status = MeterReply::ReadField(reply, 1);
        if (!IsStatus(status)) {
            return FALSE;
        }
    }
    PostProgress();
    return status == kStatusDone ? TRUE : FALSE;
}

int CCommT310::GetModelCode(int* err)
{
    ClearErr(err);
    char reply[8];
    if (!Command("G00000", 'G', reply, err)) {
        return 999;
    }
    const unsigned code = MeterReply::ReadField(reply, 1);
    return code == 2 || code == 3 ? static_cast<int>(code) : 999;
}

BOOL CCommT310::GetModelName(std::string* text, int* err)
{
    const int code = GetModelCode(err);
    const char* name = code == 2 ? "T-310D/DR" : code == 3 ? "T-310CINE" : "---";
    if (text) {
        *text = name;
    }
    return code == 999 ? FALSE : TRUE;
}

BOOL CCommT310::GetRevision(std::string* text, int* err)
{
    ClearErr(err);
    if (text) {
        text->clear();
    }
    char reply[8];
    if (!Command("G00001", 'G', reply, err)) {
        return FALSE;
    }
    if (text) {
        text->assign(reply + 4, 2);
    }
    return TRUE;
}

BOOL CCommT310::GetDateString(std::string* text, int* err)
{
    ClearErr(err);
    std::string date;
    if (text) {
        text->clear();
    }
    // The date replies are not upper-cased: a lower-case "g" is no date.
    char reply[8];
    if (!Command("G00002", 'G', reply, err, true)) {
        return FALSE;
    }
    date.assign(reply + 2, 4);
    date += '/';
    BOOL ok = FALSE;
    if (Command("G00003", 'G', reply, err, true)) {
        date.append(reply + 2, 2);
        date += '/';
        date.append(reply + 4, 2);
        ok = TRUE;
    }
    if (text) {
        *text = date;
    }
    return ok;
}

BOOL CCommT310::ReadCustomSettings(T310TransferBlock* block, int* err)
{
    ClearErr(err);
    if (block == nullptr) {
        return FALSE;
    }
    StartProgress(2);
    return ReadWordRange(block, T310TransferBlock::kCustom, 0x110, 0x111, err);
}

BOOL CCommT310::WriteCustomSettings(const T310TransferBlock* block, int* err)
{
    ClearErr(err);
    if (block == nullptr) {
        return FALSE;
    }
    // Two words, then the commit's step and the completion's.
    StartProgress(4);
    if (!WriteWordRange(block, T310TransferBlock::kCustom, 0x110, 0x111, err)) {
        return FALSE;
    }
    return CommitAndWait(err);
}

BOOL CCommT310::ReadProfileNames(T310TransferBlock* block, int* err)
{
    ClearErr(err);
    if (block == nullptr) {
        return FALSE;
    }
    StartProgress(48);
    for (int slot = 0; slot < T310TransferBlock::kSlots; ++slot) {
        const unsigned base = T310TransferBlock::kSlotAddress + T310TransferBlock::kSlotWords * static_cast<unsigned>(slot);
        if (!ReadWordRange(block, T310TransferBlock::SlotOffset(slot), base, base + 0x00F, err)) {
            return FALSE;
        }
    }
    return TRUE;
}

BOOL CCommT310::ReadAllProfiles(T310TransferBlock* block, int* err)
{
    ClearErr(err);
    if (block == nullptr) {
        return FALSE;
    }
    StartProgress(16 + T310TransferBlock::kSlots * kWordsPerSlot);
    if (!ReadWordRange(block, T310TransferBlock::kHeaderText, 0x100, 0x10F, err)) {
        return FALSE;
    }
    for (int slot = 0; slot < T310TransferBlock::kSlots; ++slot) {
        if (!ReadSlot(block, slot, err)) {
            return FALSE;
        }
    }
    return TRUE;
}

BOOL CCommT310::WriteProfiles(const T310TransferBlock* block, int mask, int* err)
{
    ClearErr(err);
    if (block == nullptr || mask == 0) {
        return FALSE;
    }
    int total = (mask & 0x8) ? 18 : 2;
    for (int slot = 0; slot < T310TransferBlock::kSlots; ++slot) {
        if (mask & (1 << slot)) {
            total += kWordsPerSlot;
        }
    }
    StartProgress(total);
    if ((mask & 0x8) && !WriteWordRange(block, T310TransferBlock::kHeaderText, 0x100, 0x10F, err)) {
        return FALSE;
    }
    for (int slot = 0; slot < T310TransferBlock::kSlots; ++slot) {
        if ((mask & (1 << slot)) && !WriteSlot(block, slot, err)) {
            return FALSE;
        }
    }
    return CommitAndWait(err);
}

void CCommT310::SetNotifyWindow(HWND window, UINT message)
{
    notifyWindow_ = window;
    notifyMessage_ = message;
}

void CCommT310::StartProgress(int total)
{
    progressCount_ = 0;
    progressTotal_ = total;
}

void CCommT310::PostProgress()
{
    if (!notifyWindow_) {
        return;
    }
    ++progressCount_;
    if (sink_ != nullptr && sink_->IsWindow(notifyWindow_)) {
        sink_->PostMessage(notifyWindow_, notifyMessage_, static_cast<WPARAM>(progressCount_),
                           static_cast<LPARAM>(progressTotal_));
    }
}
