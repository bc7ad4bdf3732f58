#include "meter/CCommT520.h"

#include "platform/HidApiDeviceSystem.h"

std::atomic<int> g_T520ModuleStatus{0};
std::atomic<int> g_T520ModuleVariant{0};

namespace {

HidMeterFamily T520Family()
{
    HidMeterFamily f;
    f.productId = CCommT520::kProductId;
    f.list10 = T520TransferBlock::kList10;
    f.list11 = T520TransferBlock::kList11;
    f.list12 = T520TransferBlock::kList12;
    f.profiles = T520TransferBlock::kProfiles;
    f.rows = T520TransferBlock::kRows;
    f.maxValue = 5;
    f.list10Field12Bit = true;
    f.itemCount = 35;
    return f;
}

// Transfer order and block bytes; 0x004 and 0x005 sit in swapped bytes, 0x006 is never moved. The
// last two exist from revision "16" on.
constexpr HidCustomItem kItems[34] = {
    {0x000, 32}, {0x001, 33}, {0x002, 34}, {0x003, 35}, {0x004, 37}, {0x005, 36}, {0x100, 38},
    {0x101, 39}, {0x102, 40}, {0x103, 41}, {0x104, 42}, {0x105, 43}, {0x106, 44}, {0x200, 45},
    {0x201, 46}, {0x202, 47}, {0x203, 48}, {0x210, 49}, {0x220, 50}, {0x300, 51}, {0x301, 52},
    {0x302, 53}, {0x303, 54}, {0x007, 55}, {0x008, 56}, {0x230, 57}, {0x231, 58}, {0x240, 59},
    {0x241, 60}, {0x242, 61}, {0x243, 62}, {0x211, 63}, {0x304, 65}, {0x232, 64}};

} // namespace

CCommT520::CCommT520(HidDeviceSystem& system) : CCommHidMeter(system, T520Family()) {}

CCommT520::CCommT520() : CCommT520(HidApiDeviceSystem::Instance()) {}

int CCommT520::GetModelCode(int* err)
{
    if (err) *err = 0;
    const int code = QueryField2("G00000", err);
    if (code == 0x20) return 8;
    if (code == 0xFC) return 998;
    return 999;
}

std::string CCommT520::ModelNameOf(int code) const
{
    return code == 8 ? "T-520D" : "---";
}

int CCommT520::GetStatus(int* err)
{
    if (err) *err = 0;
    const int field = QueryField2("G00007", err);
    if (field < 0) return 999;
    const int status = field == 0 ? 0 : field == 1 ? 1 : field == 0x0F ? 998 : 999;
    GetVariant(nullptr);
    g_T520ModuleStatus.store(status);
    return status;
}

int CCommT520::GetVariant(int* err)
{
    if (err) *err = 0;
    const int field = QueryField2("G0000B", err);
    if (field < 0) return 0;
    int variant = 0;
    switch (field) {
    case 0: variant = 1; break;
    case 1: variant = 3; break;
    case 3: variant = 2; break;
    case 4: variant = 4; break;
    case 5: variant = 5; break;
    default: variant = 0; break;
    }
    g_T520ModuleVariant.store(variant);
    return variant;
}

BOOL CCommT520::GetInfo11String(std::string* text, int* err)
{
    if (err) *err = 0;
    if (text) text->clear();
    char reply[8];
    if (!Command("G00011", reply, err)) return FALSE;
    if (text) text->assign(reply + 4, 2);
    return TRUE;
}

BOOL CCommT520::WaitUntilReady(const std::string& /*revisionText*/, int* err)
{
    if (err) *err = 0;
    SleepMs(500);
    const std::uint64_t start = GetClock().NowMs();
    int status = GetStatus(err);
    while (status == 998) {
        if (GetClock().NowMs() - start > 5000) {
            status = 999;
            break;
        }
        SleepMs(200);
        status = GetStatus(err);
    }
    return status == 1 ? TRUE : FALSE;
}

std::size_t CCommT520::CustomItemCount(int* /*err*/)
{
    std::string revision;
    GetRevision(&revision, nullptr);
    return revision >= "16" ? 34 : 32;
}

BOOL CCommT520::ReadCustomSettings(T520TransferBlock* block, int* err)
{
    if (err) *err = 0;
    if (!block) return FALSE;
    const std::size_t count = CustomItemCount(err);
    BeginProgress(static_cast<int>(count));
    return ReadCustomItems(block->bytes.data(), kItems, count, err);
}

BOOL CCommT520::WriteCustomSettings(const T520TransferBlock* block, int* err)
{
    if (err) *err = 0;
    if (!block) return FALSE;
    const std::size_t count = CustomItemCount(err);
    // One step per item, then the commit's step and the completion's.
    BeginProgress(static_cast<int>(count) + 2);
    return WriteCustomItems(block->bytes.data(), kItems, count, err);
}

BOOL CCommT520::ReadSettingTables(T520TransferBlock* block, int* err)
{
    if (err) *err = 0;
    return block ? ReadSettingTablesOf(block->bytes.data(), err) : FALSE;
}

BOOL CCommT520::WriteSettingTables(const T520TransferBlock* block, int* err)
{
    if (err) *err = 0;
    return block ? WriteSettingTablesOf(block->bytes.data(), err) : FALSE;
}

BOOL CCommT520::ReadProfileNames(T520TransferBlock* block, int* err)
{
    if (err) *err = 0;
    return block ? ReadProfileNamesOf(block->bytes.data(), err) : FALSE;
}

BOOL CCommT520::ReadAllProfiles(T520TransferBlock* block, int* err)
{
    if (err) *err = 0;
    return block ? ReadAllProfilesOf(block->bytes.data(), err) : FALSE;
}

BOOL CCommT520::WriteProfiles(const T520TransferBlock* block, unsigned mask, int* err)
{
    if (err) *err = 0;
    return block ? WriteProfilesOf(block->bytes.data(), mask, err) : FALSE;
}
