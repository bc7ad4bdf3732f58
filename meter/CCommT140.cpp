#include "meter/CCommT140.h"

#include "platform/HidApiDeviceSystem.h"

namespace {

HidMeterFamily T140Family()
{
    HidMeterFamily f;
    f.productId = CCommT140::kProductId;
    f.list10 = T140TransferBlock::kList10;
    f.list11 = T140TransferBlock::kList11;
    f.list12 = T140TransferBlock::kList12;
    f.profiles = T140TransferBlock::kProfiles;
    f.rows = T140TransferBlock::kRows;
    f.maxValue = 3;
    f.list10Field12Bit = false;
    f.itemCount = 24;
    return f;
}

// Transfer order and block bytes (the T-520D's up to item 0x303; 0x006 is never moved).
constexpr HidCustomItem kItems[23] = {
    {0x000, 32}, {0x001, 33}, {0x002, 34}, {0x003, 35}, {0x004, 37}, {0x005, 36}, {0x100, 38}, {0x101, 39},
    {0x102, 40}, {0x103, 41}, {0x104, 42}, {0x105, 43}, {0x106, 44}, {0x200, 45}, {0x201, 46}, {0x202, 47},
    {0x203, 48}, {0x210, 49}, {0x220, 50}, {0x300, 51}, {0x301, 52}, {0x302, 53}, {0x303, 54}};

// Revisions before 17 answer ready at once; later ones may still be busy for up to 3000 ms. The
// revision is compared as a number ("9" is before 17, "100" after it); a revision without leading
// digits counts as before.
bool RevisionBefore17(const std::string& revision)
{
    unsigned value = 0;
    std::size_t digits = 0;
    for (char c : revision) {
        if (c < '0' || c > '9') break;
        if (value < 1000) value = value * 10 + static_cast<unsigned>(c - '0');
        ++digits;
    }
    return digits == 0 || value < 17;
}

} // namespace

CCommT140::CCommT140(HidDeviceSystem& system) : CCommHidMeter(system, T140Family()) {}

CCommT140::CCommT140() : CCommT140(HidApiDeviceSystem::Instance()) {}

int CCommT140::GetModelCode(int* err)
{
    if (err) *err = 0;
    const int code = QueryField2("G00000", err);
    if (code >= 0x10 && code <= 0x13) return code - 0x10 + 4;
    if (code == 0xFC) return 998;
    return 999;
}

std::string CCommT140::ModelNameOf(int code) const
{
    switch (code) {
    case 4: return "T-140D";
    case 5: return "T-140DR";
    case 6: return "T-140DR-EL";
    case 7: return "T-140DR-PX";
    default: return "---";
    }
}

int CCommT140::GetStatus(int* err)
{
    if (err) *err = 0;
    const int field = QueryField2("G00007", err);
    if (field < 0) return 999;
    return field == 0 ? 0 : field == 1 ? 1 : field == 0x0F ? 998 : 999;
}

BOOL CCommT140::WaitUntilReady(const std::string& revisionText, int* err)
{
    if (err) *err = 0;
    SleepMs(500);
    const std::uint64_t start = GetClock().NowMs();
    int status = 0;
    for (;;) {
        status = GetStatus(err);
        const std::uint64_t elapsed = GetClock().NowMs() - start;
        if (status == 998) {
            if (elapsed > 5000) {
                status = 999;
                break;
            }
        } else if (status == 999) {
            break;
        } else if (RevisionBefore17(revisionText) || elapsed >= 3000) {
            break;
        }
        SleepMs(200);
    }
    return status == 1 ? TRUE : FALSE;
}

BOOL CCommT140::ReadCustomSettings(T140TransferBlock* block, int* err)
{
    if (err) *err = 0;
    if (!block) return FALSE;
    BeginProgress(23);
    return ReadCustomItems(block->bytes.data(), kItems, 23, err);
}

BOOL CCommT140::WriteCustomSettings(const T140TransferBlock* block, int* err)
{
    if (err) *err = 0;
    if (!block) return FALSE;
    BeginProgress(25);
    return WriteCustomItems(block->bytes.data(), kItems, 23, err);
}

BOOL CCommT140::ReadSettingTables(T140TransferBlock* block, int* err)
{
    if (err) *err = 0;
    return block ? ReadSettingTablesOf(block->bytes.data(), err) : FALSE;
}

BOOL CCommT140::WriteSettingTables(const T140TransferBlock* block, int* err)
{
    if (err) *err = 0;
    return block ? WriteSettingTablesOf(block->bytes.data(), err) : FALSE;
}

BOOL CCommT140::ReadProfileNames(T140TransferBlock* block, int* err)
{
    if (err) *err = 0;
    return block ? ReadProfileNamesOf(block->bytes.data(), err) : FALSE;
}

BOOL CCommT140::ReadAllProfiles(T140TransferBlock* block, int* err)
{
    if (err) *err = 0;
    return block ? ReadAllProfilesOf(block->bytes.data(), err) : FALSE;
}

BOOL CCommT140::WriteProfiles(const T140TransferBlock* block, unsigned mask, int* err)
{
    if (err) *err = 0;
    return block ? WriteProfilesOf(block->bytes.data(), mask, err) : FALSE;
}
