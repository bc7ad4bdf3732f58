#include "meter/CCommHidMeter.h"
#include "meter/MeterErrorOut.h"

#include "meter/MeterReply.h"

#include <string>

namespace {

// Item codes of the custom functions, by the index that SelectCustomItem takes.
constexpr unsigned kItemTable[35] = {0x000, 0x001, 0x002, 0x003, 0x004, 0x005, 0x006, 0x100, 0x101,
                                     0x102, 0x103, 0x104, 0x105, 0x106, 0x200, 0x201, 0x202, 0x203,
                                     0x210, 0x220, 0x300, 0x301, 0x302, 0x303, 0x007, 0x008, 0x230,
                                     0x231, 0x240, 0x241, 0x242, 0x243, 0x211, 0x232, 0x304};

// Area codes of SelectArea's indices.
constexpr unsigned kAreaTable[5] = {0x00, 0x10, 0x11, 0x12, 0x20};

bool IsCompletionStatus(unsigned status)
{
    return status == 1 || status == 2 || status == 3 || status == 15;
}

// A text ends at the first unit with a zero byte, or after 16 units.
bool EndsText(std::uint16_t unit)
{
    return (unit & 0x00FF) == 0 || (unit & 0xFF00) == 0;
}

std::uint16_t GetWord(const std::uint8_t* p)
{
    return static_cast<std::uint16_t>(p[0] | (p[1] << 8));
}

void SetWord(std::uint8_t* p, unsigned value)
{
    p[0] = static_cast<std::uint8_t>(value & 0xFF);
    p[1] = static_cast<std::uint8_t>((value >> 8) & 0xFF);
}

// Builds a six-character command: head, the value in `width` upper-case hexadecimal digits, tail.
// FALSE when the value does not fit its field (nothing is then sent).
bool Format(char (&out)[8], const char* head, unsigned value, int width, const char* tail)
{
    static const char kDigits[] = "0123456789ABCDEF";
    if (width < 4 && value >= (1u << (4 * width))) return false;
    if (value > 0xFFFF) return false;
    std::string text = head;
    for (int shift = 4 * (width - 1); shift >= 0; shift -= 4) text += kDigits[(value >> shift) & 0xF];
    text += tail;
    if (text.size() != 6) return false;
    for (int i = 0; i < 6; ++i) out[i] = text[static_cast<std::size_t>(i)];
    out[6] = out[7] = 0;
    return true;
}

} // namespace

CCommHidMeter::CCommHidMeter(HidDeviceSystem& system, const HidMeterFamily& family)
    : CCommSyncHidBase(system), family_(family)
{
}

BOOL CCommHidMeter::Close(int* err)
{
    notifyWindow_ = HWND{};
    notifyMessage_ = 0;
    progressTotal_ = 0;
    progressCount_ = 0;
    return CCommSyncHidBase::Close(err);
}

BOOL CCommHidMeter::FindHidDevice(std::string* path, BOOL* moreThanOne)
{
    if (!path) return FALSE;
    path->clear();
    int matches = 0;
    for (const HidDeviceInfo& device : System().Enumerate(kVendorId, family_.productId)) {
        if (device.vendorId != kVendorId || device.productId != family_.productId) continue;
        *path = device.path;
        ++matches;
    }
    if (moreThanOne) *moreThanOne = matches > 1 ? TRUE : FALSE;
    return TRUE;
}

BOOL CCommHidMeter::IsDevicePresent(BOOL* moreThanOne)
{
    if (moreThanOne) *moreThanOne = FALSE;
    std::string path;
    FindHidDevice(&path, moreThanOne);
    return path.empty() ? FALSE : TRUE;
}

BOOL CCommHidMeter::OpenDevice(int* err)
{
    ClearErr(err);
    std::string path;
    if (!FindHidDevice(&path, nullptr) || path.empty()) {
        if (err) *err = kNoDevice;
        return FALSE;
    }
    if (!Open(path, err)) return FALSE;
    const COMMTIMEOUTS timeouts{100, 20, 200, 20, 200};
    SetTimeouts(&timeouts, nullptr);
    return TRUE;
}

BOOL CCommHidMeter::PrepareDevice(int* err)
{
    ClearErr(err);
    return TRUE;
}

void CCommHidMeter::SetNotifyWindow(HWND window, UINT message)
{
    notifyWindow_ = window;
    notifyMessage_ = message;
}

void CCommHidMeter::BeginProgress(int total)
{
    progressTotal_ = total;
    progressCount_ = 0;
}

void CCommHidMeter::SkipProgress(int steps)
{
    if (!notifyWindow_ || steps <= 0) return;
    progressCount_ += steps - 1;
    PostProgress();
}

void CCommHidMeter::PostProgress()
{
    if (!notifyWindow_) return;
    ++progressCount_;
    if (sink_ && sink_->IsWindow(notifyWindow_)) {
        sink_->PostMessage(notifyWindow_, notifyMessage_, static_cast<WPARAM>(progressCount_),
                           static_cast<LPARAM>(progressTotal_));
    }
}

// --- command primitives --------------------------------------------------------------------------

BOOL CCommHidMeter::Command(const char* command, char* reply, int* err, bool upperCase)
{
    DWORD bytesRead = 0;
    for (int i = 0; i < 8; ++i) reply[i] = 0;
    if (!Transact(command, 6, nullptr, reply, 6, &bytesRead, err)) return FALSE;
    if (bytesRead != 7) return FALSE;
    reply[6] = 0;
    if (upperCase) MeterReply::UpperCase(reply);
    return MeterReply::HasLetter(reply, command[0]) ? TRUE : FALSE;
}

BOOL CCommHidMeter::CommandLetter(const char* command, int* err)
{
    char reply[8];
    return Command(command, reply, err);
}

BOOL CCommHidMeter::CommandEcho(const char* command, int width, unsigned value, int* err)
{
    char reply[8];
    if (!Command(command, reply, err)) return FALSE;
    return MeterReply::EchoMatches(reply, width, value) ? TRUE : FALSE;
}

BOOL CCommHidMeter::CommandRead(const char* command, int width, unsigned* value, int* err)
{
    char reply[8];
    if (!Command(command, reply, err)) return FALSE;
    *value = MeterReply::ReadField(reply, width);
    return TRUE;
}

int CCommHidMeter::QueryField2(const char* query, int* err)
{
    unsigned value = 0;
    if (!CommandRead(query, 2, &value, err)) return -1;
    return static_cast<int>(value);
}

// --- selections ------------------------------------------------------------------------------------

BOOL CCommHidMeter::SelectAreaCode(unsigned code, int* err)
{
    char command[8];
    if (!Format(command, "W00", code, 2, "1")) return FALSE;
    return CommandEcho(command, 2, code, err);
}

BOOL CCommHidMeter::SelectArea(int index, int* err)
{
    ClearErr(err);
    if (index < 0 || index > 4) return FALSE;
    return SelectAreaCode(kAreaTable[index], err);
}

BOOL CCommHidMeter::SelectCustomCode(unsigned code, int* err)
{
    char command[8];
    if (!Format(command, "W0", code, 3, "3")) return FALSE;
    return CommandEcho(command, 3, code, err);
}

BOOL CCommHidMeter::SelectCustomItem(int index, int* err)
{
    ClearErr(err);
    if (index < 0 || index >= family_.itemCount || index >= 35) return FALSE;
    return SelectCustomCode(kItemTable[index], err);
}

BOOL CCommHidMeter::SelectListEntry(int list, int entry, int* err)
{
    ClearErr(err);
    const int entries = (list == 0 || list == 1) ? 20 : (list == 2 ? 30 : 0);
    if (entry < 0 || entry >= entries) return FALSE;
    char command[8];
    if (!Format(command, "W00", static_cast<unsigned>(entry), 2, "3")) return FALSE;
    return CommandEcho(command, 2, static_cast<unsigned>(entry), err);
}

// --- texts -------------------------------------------------------------------------------------------

BOOL CCommHidMeter::ReadTextUnits(std::uint8_t* destination, int* err)
{
    if (!CommandEcho("W00009", 1, 0, err)) return FALSE;
    for (int i = 0; i < 16; ++i) {
        unsigned unit = 0;
        if (!CommandRead("W0000A", 4, &unit, err)) return FALSE;
        SetWord(destination + 2 * i, unit);
        PostProgress();
        if (EndsText(static_cast<std::uint16_t>(unit))) {
            SkipProgress(kTextSteps - 1 - i);
            break;
        }
    }
    return TRUE;
}

BOOL CCommHidMeter::WriteTextUnits(const std::uint8_t* source, int* err)
{
    if (!CommandEcho("W00009", 1, 0, err)) return FALSE;
    for (int i = 0; i < 16; ++i) {
        const std::uint16_t unit = GetWord(source + 2 * i);
        char command[8];
        if (!Format(command, "W", unit, 4, "B")) return FALSE;
        if (!CommandEcho(command, 4, unit, err)) return FALSE;
        PostProgress();
        if (EndsText(unit)) {
            SkipProgress(kTextSteps - 1 - i);
            break;
        }
    }
    return TRUE;
}

BOOL CCommHidMeter::WriteHeaderText(const std::uint8_t* block)
{
    // The header's exchanges report no error code.
    if (!CommandLetter("W00011", nullptr)) return FALSE;
    if (!CommandLetter("W00009", nullptr)) return FALSE;
    for (int i = 0; i < 16; ++i) {
        const std::uint16_t unit = GetWord(block + 2 * i);
        char command[8];
        if (!Format(command, "W", unit, 4, "B")) return FALSE;
        // The echo must match, and the text ends on the unit sent, not on what came back.
        if (!CommandEcho(command, 4, unit, nullptr)) return FALSE;
        PostProgress();
        if (EndsText(unit)) {
            SkipProgress(kTextSteps - 1 - i);
            break;
        }
    }
    return CommitAndComplete(nullptr);
}

// --- commit ---------------------------------------------------------------------------------------

BOOL CCommHidMeter::CommitAndComplete(int* err, bool stepPerPoll)
{
    unsigned status = 0;
    if (!CommandRead("W0000F", 1, &status, err) || !IsCompletionStatus(status)) return FALSE;
    PostProgress();
    const std::uint64_t start = GetClock().NowMs();
    while (status == 3) {
        if (GetClock().NowMs() - start >= kCommitDeadlineMs) return FALSE;
        SleepMs(20);
        if (!CommandRead("W0000E", 1, &status, err) || !IsCompletionStatus(status)) return FALSE;
        // A long completion keeps its poll steps below the final one.
        if (stepPerPoll && progressCount_ < progressTotal_ - 1) PostProgress();
    }
    if (stepPerPoll) progressCount_ = progressTotal_ - 1;
    PostProgress();
    return status == 2 ? TRUE : FALSE;
}

// --- custom functions -------------------------------------------------------------------------

BOOL CCommHidMeter::ReadCustomItems(std::uint8_t* block, const HidCustomItem* items, std::size_t count, int* err)
{
    if (!SelectArea(0, err)) return FALSE;
    for (std::size_t i = 0; i < count; ++i) {
        if (!SelectCustomCode(items[i].code, err)) return FALSE;
        unsigned value = 0;
        if (!CommandRead("W00004", 1, &value, err) || value > family_.maxValue) return FALSE;
        block[items[i].byte] = static_cast<std::uint8_t>(value);
        PostProgress();
    }
    return TRUE;
}

BOOL CCommHidMeter::WriteCustomItems(const std::uint8_t* block, const HidCustomItem* items, std::size_t count,
                                     int* err)
{
    if (!SelectArea(0, err)) return FALSE;
    for (std::size_t i = 0; i < count; ++i) {
        if (!SelectCustomCode(items[i].code, err)) return FALSE;
        const unsigned value = block[items[i].byte];
        char command[8];
        if (!Format(command, "W000", value, 1, "5")) return FALSE;
        if (!CommandEcho(command, 1, value, err)) return FALSE;
        PostProgress();
    }
    return CommitAndComplete(err);
}

// --- user lists ---------------------------------------------------------------------------------

BOOL CCommHidMeter::ReadSettingTablesOf(std::uint8_t* block, int* err)
{
    // Per entry one step, and each name of list 0x12 counts its 16 text steps.
    BeginProgress(70 + 30 * kTextSteps);
    unsigned value = 0;
    // Lists 0x10 and 0x11: value, field A, field B.
    for (int list = 0; list < 2; ++list) {
        std::uint8_t* base = block + (list == 0 ? family_.list10 : family_.list11);
        if (!SelectAreaCode(list == 0 ? 0x10u : 0x11u, err)) return FALSE;
        for (int entry = 0; entry < 20; ++entry) {
            std::uint8_t* e = base + 6 * entry;
            if (!SelectListEntry(list, entry, err)) return FALSE;
            if (!CommandRead("W00004", 1, &value, err) || value > family_.maxValue) return FALSE;
            e[0] = static_cast<std::uint8_t>(value);
            if (!CommandRead("W00006", 4, &value, err)) return FALSE;
            SetWord(e + 2, value);
            if (list == 0 && family_.list10Field12Bit) {
                char reply[8];
                if (!Command("W00008", reply, err)) return FALSE;
                SetWord(e + 4, MeterReply::Read12Bit(reply));
            } else {
                if (!CommandRead("W00008", 2, &value, err)) return FALSE;
                e[4] = static_cast<std::uint8_t>(value);
            }
            PostProgress();
        }
    }
    // List 0x12: value, field A, name.
    if (!SelectAreaCode(0x12, err)) return FALSE;
    for (int entry = 0; entry < 30; ++entry) {
        std::uint8_t* e = block + family_.list12 + 36 * entry;
        if (!SelectListEntry(2, entry, err)) return FALSE;
        if (!CommandRead("W00004", 1, &value, err) || value > family_.maxValue) return FALSE;
        e[0] = static_cast<std::uint8_t>(value);
        if (!CommandRead("W00006", 4, &value, err)) return FALSE;
        SetWord(e + 34, value);
        if (!ReadTextUnits(e + 2, err)) return FALSE;
        PostProgress();
    }
    return TRUE;
}

BOOL CCommHidMeter::WriteSettingTablesOf(const std::uint8_t* block, int* err)
{
    // Per entry one step, two per commit of each of the three areas, 16 per name of list 0x12.
    BeginProgress(76 + 30 * kTextSteps);
    char command[8];
    for (int list = 0; list < 2; ++list) {
        const std::uint8_t* base = block + (list == 0 ? family_.list10 : family_.list11);
        if (!SelectAreaCode(list == 0 ? 0x10u : 0x11u, err)) return FALSE;
        for (int entry = 0; entry < 20; ++entry) {
            const std::uint8_t* e = base + 6 * entry;
            if (!SelectListEntry(list, entry, err)) return FALSE;
            if (!Format(command, "W000", e[0], 1, "5") || !CommandEcho(command, 1, e[0], err)) return FALSE;
            const unsigned fieldA = GetWord(e + 2);
            if (!Format(command, "W", fieldA, 4, "7") || !CommandEcho(command, 4, fieldA, err)) return FALSE;
            if (list == 0 && family_.list10Field12Bit) {
                const unsigned fieldB = GetWord(e + 4);
                char reply[8];
                if (!Format(command, "W0", fieldB, 3, "9") || !Command(command, reply, err)) return FALSE;
                if (!MeterReply::Echo12BitMatches(reply, fieldB)) return FALSE;
            } else {
                const unsigned fieldB = e[4];
                if (!Format(command, "W00", fieldB, 2, "9") || !CommandEcho(command, 2, fieldB, err)) return FALSE;
            }
            unsigned check = 0;
            if (!CommandRead("W0000D", 1, &check, err) || check != 0) return FALSE; // 1: entry refused
            PostProgress();
        }
        if (!CommitAndComplete(err)) return FALSE;
    }
    if (!SelectAreaCode(0x12, err)) return FALSE;
    for (int entry = 0; entry < 30; ++entry) {
        const std::uint8_t* e = block + family_.list12 + 36 * entry;
        if (!SelectListEntry(2, entry, err)) return FALSE;
        if (!Format(command, "W000", e[0], 1, "5") || !CommandEcho(command, 1, e[0], err)) return FALSE;
        const unsigned fieldA = GetWord(e + 34);
        if (!Format(command, "W", fieldA, 4, "7") || !CommandEcho(command, 4, fieldA, err)) return FALSE;
        if (!WriteTextUnits(e + 2, err)) return FALSE;
        PostProgress();
    }
    return CommitAndComplete(err);
}

// --- profiles ------------------------------------------------------------------------------------

BOOL CCommHidMeter::ReadProfileNamesOf(std::uint8_t* block, int* err)
{
    BeginProgress(10 * (1 + kTextSteps));
    if (!SelectAreaCode(0x20, err)) return FALSE;
    for (int slot = 0; slot < 10; ++slot) {
        char command[8];
        if (!Format(command, "W00", static_cast<unsigned>(slot), 1, "03")) return FALSE;
        if (!CommandEcho(command, 1, static_cast<unsigned>(slot), err)) return FALSE;
        if (!ReadTextUnits(block + family_.profiles + 1372 * slot, err)) return FALSE;
        PostProgress();
    }
    return TRUE;
}

BOOL CCommHidMeter::ReadProfileSlot(std::uint8_t* block, int slot, int* err)
{
    std::uint8_t* base = block + family_.profiles + 1372 * slot;
    char command[8];
    if (!Format(command, "W00", static_cast<unsigned>(slot), 1, "03")) return FALSE;
    if (!CommandEcho(command, 1, static_cast<unsigned>(slot), err)) return FALSE;
    if (!ReadTextUnits(base, err)) return FALSE;
    for (unsigned level1 = 0; level1 < 2; ++level1) {
        if (!Format(command, "W00", level1, 1, "13") || !CommandEcho(command, 1, level1, err)) return FALSE;
        for (unsigned level2 = 0; level2 < 2; ++level2) {
            if (!Format(command, "W00", level2, 1, "23") || !CommandEcho(command, 1, level2, err)) return FALSE;
            if (!CommandEcho("W00033", 2, 0, err)) return FALSE;
            if (!CommandEcho("W00043", 1, 0, err)) return FALSE;
            const unsigned group = 2 * level1 + level2;
            for (int row = 0; row < family_.rows; ++row) {
                for (int b = 0; b < 5; ++b) {
                    unsigned value = 0;
                    if (!CommandRead("W00006", 2, &value, err)) return FALSE;
                    base[32 + 20 * row + 5 * group + b] = static_cast<std::uint8_t>(value);
                }
                PostProgress();
            }
        }
    }
    return TRUE;
}

BOOL CCommHidMeter::WriteProfileSlot(const std::uint8_t* block, int slot, int* err)
{
    const std::uint8_t* base = block + family_.profiles + 1372 * slot;
    char command[8];
    if (!Format(command, "W00", static_cast<unsigned>(slot), 1, "03")) return FALSE;
    if (!CommandEcho(command, 1, static_cast<unsigned>(slot), err)) return FALSE;
    if (!CommandEcho("W00015", 1, 1, err)) return FALSE;
    if (!WriteTextUnits(base, err)) return FALSE;
    for (unsigned level1 = 0; level1 < 2; ++level1) {
        if (!Format(command, "W00", level1, 1, "13") || !CommandEcho(command, 1, level1, err)) return FALSE;
        for (unsigned level2 = 0; level2 < 2; ++level2) {
            if (!Format(command, "W00", level2, 1, "23") || !CommandEcho(command, 1, level2, err)) return FALSE;
            if (!CommandEcho("W00033", 2, 0, err)) return FALSE;
            if (!CommandEcho("W00043", 1, 0, err)) return FALSE;
            const unsigned group = 2 * level1 + level2;
            for (int row = 0; row < family_.rows; ++row) {
                for (int b = 0; b < 5; ++b) {
                    const unsigned value = base[32 + 20 * row + 5 * group + b];
                    if (!Format(command, "W00", value, 2, "7") || !CommandEcho(command, 2, value, err)) return FALSE;
                }
                PostProgress();
            }
        }
    }
    return TRUE;
}

BOOL CCommHidMeter::ReadAllProfilesOf(std::uint8_t* block, int* err)
{
    // The header text, then per slot its name and one step per row of each of the four groups.
    BeginProgress(kTextSteps + 10 * SlotSteps());
    // Header text; these exchanges report no error code.
    if (!CommandLetter("W00011", nullptr)) return FALSE;
    if (!CommandLetter("W00009", nullptr)) return FALSE;
    for (int i = 0; i < 16; ++i) {
        unsigned unit = 0;
        if (!CommandRead("W0000A", 4, &unit, nullptr)) return FALSE;
        SetWord(block + 2 * i, unit);
        PostProgress();
        if (EndsText(static_cast<std::uint16_t>(unit))) {
            SkipProgress(kTextSteps - 1 - i);
            break;
        }
    }
    if (!SelectAreaCode(0x20, err)) return FALSE;
    for (int slot = 0; slot < 10; ++slot) {
        if (!ReadProfileSlot(block, slot, err)) return FALSE;
    }
    return TRUE;
}

BOOL CCommHidMeter::WriteProfilesOf(const std::uint8_t* block, unsigned mask, int* err)
{
    mask &= 0x7FF;
    if (mask == 0) return FALSE;
    // The final commit's two steps; the header's text and its own commit; each slot's steps.
    int total = 2 + ((mask & 0x400) ? kTextSteps + 2 : 0);
    for (int slot = 0; slot < 10; ++slot) {
        if (mask & (1u << slot)) total += SlotSteps();
    }
    BeginProgress(total);
    if ((mask & 0x400) && !WriteHeaderText(block)) return FALSE;
    if (!SelectAreaCode(0x20, err)) return FALSE;
    for (int slot = 0; slot < 10; ++slot) {
        if ((mask & (1u << slot)) && !WriteProfileSlot(block, slot, err)) return FALSE;
    }
    return CommitAndComplete(err);
}

// --- reset and queries ------------------------------------------------------------------------------

BOOL CCommHidMeter::ResetMeter(int* err)
{
    ClearErr(err);
    BeginProgress(10);
    if (!CommandLetter("W00F31", err)) return FALSE;
    return CommitAndComplete(err, true);
}

int CCommHidMeter::GetState(int* err)
{
    ClearErr(err);
    const int value = QueryField2("G00006", err);
    return (value >= 0 && value <= 3) ? value : 999;
}

BOOL CCommHidMeter::GetModelName(std::string* text, int* err)
{
    ClearErr(err);
    const std::uint64_t start = GetClock().NowMs();
    int code = GetModelCode(err);
    while (code == 998) {
        if (GetClock().NowMs() - start > 5000) {
            code = 999;
            break;
        }
        SleepMs(200);
        code = GetModelCode(err);
    }
    const std::string name = ModelNameOf(code);
    if (text) *text = name;
    return name != "---" ? TRUE : FALSE;
}

BOOL CCommHidMeter::GetRevision(std::string* text, int* err)
{
    ClearErr(err);
    if (text) text->clear();
    char reply[8];
    if (!Command("G00001", reply, err)) return FALSE;
    if (text) text->assign(reply + 4, 2);
    return TRUE;
}

BOOL CCommHidMeter::GetDateString(std::string* text, int* err)
{
    ClearErr(err);
    std::string result;
    char reply[8];
    // The date replies are taken as they come: an upper-case "G" is required.
    if (!Command("G00002", reply, err, false)) {
        if (text) text->clear();
        return FALSE;
    }
    result.assign(reply + 2, 4);
    result += '/';
    BOOL ok = FALSE;
    if (Command("G00003", reply, err, false)) {
        result.append(reply + 2, 2);
        result += '/';
        result.append(reply + 4, 2);
        ok = TRUE;
    }
    if (text) *text = result;
    return ok;
}

BOOL CCommHidMeter::VersionText(const char* first, const char* second, bool emptyMinor, std::string* text,
                                int* err)
{
    ClearErr(err);
    if (text) text->clear();
    char reply[8];
    if (!Command(first, reply, err)) return FALSE;
    if (reply[2] != '3' || reply[4] != '3') return FALSE;
    std::string lead{reply[3], reply[5]};
    if (!Command(second, reply, err)) return FALSE;
    for (int i = 2; i < 6; ++i) {
        if (!MeterReply::IsHexDigit(reply[i])) return FALSE;
    }
    const unsigned major = MeterReply::ReadField(reply, 4) >> 8;
    const unsigned minor = MeterReply::ReadField(reply, 2);
    std::string result = lead + ".";
    if (!(emptyMinor && major == 0 && minor == 0)) {
        result += std::to_string(major);
        if (minor < 10) result += '0';
        result += std::to_string(minor);
    }
    if (text) *text = result;
    return TRUE;
}

BOOL CCommHidMeter::GetVersionA(std::string* text, int* err)
{
    return VersionText("G0001A", "G0000A", true, text, err);
}

BOOL CCommHidMeter::GetVersionB(std::string* text, int* err)
{
    return VersionText("G00019", "G00009", false, text, err);
}
