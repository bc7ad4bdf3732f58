#include "meter/CKZARN_TransferData.h"

#include "core/util/TextUtility.h"

#include "profilelib/ZarnLibString.h"
#include "profilelib/ZarnLib_PatchKey.h"
#include "profilelib/ZarnLib_Profile.h"
#include "profilelib/ZarnLib_ProfileFile.h"
#include "profilelib/ZarnLib_Vector2.h"

#include <cfloat>
#include <cmath>
#include <cstring>

namespace {

constexpr std::int8_t kNoValue = -128;
constexpr double kTenthsBound = 1.0e6; // far beyond the byte, small enough for an int

bool HasValue(double v)
{
    return v != DBL_MAX && !std::isnan(v);
}

// Tenths of a value rounded as the meter expects (half toward zero). Values far beyond the byte
// are held at a bound that still converts to an int; the byte itself is clamped by Clamp.
int Tenths(double v)
{
    double t = v > 0 ? v * 10.0 + 0.499999 : v * 10.0 - 0.499999;
    if (t > kTenthsBound) t = kTenthsBound;
    if (t < -kTenthsBound) t = -kTenthsBound;
    return static_cast<int>(t);
}

std::int8_t Clamp(int tenths)
{
    if (tenths > 127) tenths = 127;
    if (tenths < -127) tenths = -127;
    return static_cast<std::int8_t>(tenths);
}

std::string TextOf(const char* bytes)
{
    std::size_t n = 0;
    while (n < CKZARN_TransferData::kNameSize && bytes[n] != '\0') ++n;
    return std::string(bytes, n);
}

const ExposureRange kDefaultRange{0.0, -3.5, -2.5, 2.5, 3.5};
const ExposureRange kEmptyRange{DBL_MAX, DBL_MAX, DBL_MAX, DBL_MAX, DBL_MAX};

// Byte k of group g in a 20-byte HID row: CPP-DRP, DRP, centre, DRM, CPM-DRM.
void EncodeHidGroup(const ExposureRange& r, std::uint8_t* out)
{
    out[0] = static_cast<std::uint8_t>(CKZARN_TransferData::EncodeDifference(r.cpp, r.drp));
    out[1] = static_cast<std::uint8_t>(CKZARN_TransferData::EncodeTenths(r.drp));
    out[2] = static_cast<std::uint8_t>(CKZARN_TransferData::EncodeTenths(r.centre));
    out[3] = static_cast<std::uint8_t>(CKZARN_TransferData::EncodeTenths(r.drm));
    out[4] = static_cast<std::uint8_t>(CKZARN_TransferData::EncodeDifference(r.cpm, r.drm));
}

// A limit point from its difference byte over the decoded base point.
double DecodeFromBase(std::int8_t difference, std::int8_t base)
{
    if (difference == kNoValue || base == kNoValue) return DBL_MAX;
    return CKZARN_TransferData::DecodeTenths(difference) + CKZARN_TransferData::DecodeTenths(base);
}

void DecodeHidGroup(const std::uint8_t* in, ExposureRange* r)
{
    const auto b = [in](int k) { return static_cast<std::int8_t>(in[k]); };
    r->drp = CKZARN_TransferData::DecodeTenths(b(1));
    r->centre = CKZARN_TransferData::DecodeTenths(b(2));
    r->drm = CKZARN_TransferData::DecodeTenths(b(3));
    r->cpp = DecodeFromBase(b(0), b(1));
    r->cpm = DecodeFromBase(b(4), b(3));
}

// T-310 slot layout relative to the slot's start.
constexpr std::size_t kT310Groups = 32;
constexpr std::size_t kT310Differences = 600;

std::size_t T310PointByte(int slot, int group, int row)
{
    return T310TransferBlock::SlotOffset(slot) + kT310Groups + 140u * static_cast<std::size_t>(group) +
           4u * static_cast<std::size_t>(row);
}

std::size_t T310DifferenceByte(int slot, int group, int row)
{
    return T310TransferBlock::SlotOffset(slot) + kT310Differences + 70u * static_cast<std::size_t>(group) +
           2u * static_cast<std::size_t>(row);
}

constexpr double kT310Limit = 7.05;

} // namespace

CKZARN_TransferData::CKZARN_TransferData()
{
    std::memset(header_, 0, sizeof header_);
    for (int s = 0; s < kSlots; ++s) {
        std::memset(slots_[s].name, 0, sizeof slots_[s].name);
        for (int r = 0; r < kIsoTableSize; ++r) {
            // Rows a T-310 never transfers keep the library's default limits.
            const bool defaults = s < 3 && r >= 35;
            for (ExposureRange& g : slots_[s].rows[r].group) g = defaults ? kDefaultRange : kEmptyRange;
        }
    }
}

int CKZARN_TransferData::GetProfileCount(int family)
{
    return (family == MeterFamilyT140 || family == MeterFamilyT520) ? 10 : 3;
}

int CKZARN_TransferData::GetRowCount(int family)
{
    if (family == MeterFamilyT140) return 52;
    if (family == MeterFamilyT520) return 67;
    return 35;
}

std::string CKZARN_TransferData::GetProfileName(int index) const
{
    if (index < 1 || index >= kSlots) index = 0;
    return TextOf(slots_[index].name);
}

ProfileRow* CKZARN_TransferData::GetProfileRows(int index)
{
    return (index >= 0 && index < kSlots) ? slots_[index].rows : nullptr;
}

const ProfileRow* CKZARN_TransferData::GetProfileRows(int index) const
{
    return (index >= 0 && index < kSlots) ? slots_[index].rows : nullptr;
}

std::string CKZARN_TransferData::GetHeaderText() const
{
    return TextOf(header_);
}

void CKZARN_TransferData::CopyName(char* destination, const std::string& text)
{
    std::memset(destination, 0, kNameSize);
    std::memcpy(destination, text.data(), CutAtCharacter(text, kNameSize - 1));
}

void CKZARN_TransferData::SetHeaderText(const std::string& text)
{
    CopyName(header_, text);
}

BOOL CKZARN_TransferData::SetProfileName(int index, const std::string& name)
{
    if (index < 0 || index >= kSlots) return FALSE;
    CopyName(slots_[index].name, name);
    return TRUE;
}

std::int8_t CKZARN_TransferData::EncodeTenths(double value)
{
    if (!HasValue(value)) return kNoValue;
    return Clamp(Tenths(value));
}

double CKZARN_TransferData::DecodeTenths(std::int8_t byte)
{
    return byte == kNoValue ? DBL_MAX : byte / 10.0;
}

std::int8_t CKZARN_TransferData::EncodeDifference(double a, double b)
{
    if (!HasValue(a) || !HasValue(b)) return kNoValue;
    // The difference is taken from the base byte the meter holds, so a limit point beyond the
    // byte's range over a base at the byte's limit still comes back as it was (12.7 + 12.7).
    return Clamp(Tenths(a) - Clamp(Tenths(b)));
}

template <typename Block>
void CKZARN_TransferData::ReadHidImage(const Block& block, int rows)
{
    std::memcpy(header_, block.bytes.data() + Block::kHeaderText, kNameSize);
    for (int s = 0; s < kSlots; ++s) {
        std::memcpy(slots_[s].name, block.bytes.data() + Block::SlotOffset(s), kNameSize);
        for (int r = 0; r < rows; ++r) {
            for (int g = 0; g < 4; ++g) {
                DecodeHidGroup(block.bytes.data() + Block::ProfileByte(s, r, g, 0), &slots_[s].rows[r].group[g]);
            }
        }
    }
}

template <typename Block>
void CKZARN_TransferData::WriteHidImage(Block& block, int rows) const
{
    std::memcpy(block.bytes.data() + Block::kHeaderText, header_, kNameSize);
    for (int s = 0; s < kSlots; ++s) {
        std::memcpy(block.bytes.data() + Block::SlotOffset(s), slots_[s].name, kNameSize);
        for (int r = 0; r < rows; ++r) {
            for (int g = 0; g < 4; ++g) {
                EncodeHidGroup(slots_[s].rows[r].group[g], block.bytes.data() + Block::ProfileByte(s, r, g, 0));
            }
        }
    }
}

int CKZARN_TransferData::ReadT140Image(const T140TransferBlock* block)
{
    if (!block) return 0;
    family_ = MeterFamilyT140;
    ReadHidImage(*block, T140TransferBlock::kRows);
    return 1;
}

int CKZARN_TransferData::ReadT520Image(const T520TransferBlock* block)
{
    if (!block) return 0;
    family_ = MeterFamilyT520;
    ReadHidImage(*block, T520TransferBlock::kRows);
    return 1;
}

int CKZARN_TransferData::WriteT140Image(T140TransferBlock* block) const
{
    if (!block || family_ == MeterFamilyT310 || family_ == MeterFamilyT520) return 0;
    WriteHidImage(*block, T140TransferBlock::kRows);
    return 1;
}

int CKZARN_TransferData::WriteT520Image(T520TransferBlock* block) const
{
    if (!block || family_ == MeterFamilyT310 || family_ == MeterFamilyT140) return 0;
    WriteHidImage(*block, T520TransferBlock::kRows);
    return 1;
}

int CKZARN_TransferData::ReadT310Image(const T310TransferBlock* block)
{
    if (!block) return 0;
    family_ = MeterFamilyT310;
    const std::uint8_t* bytes = block->bytes.data();
    std::memcpy(header_, bytes + T310TransferBlock::kHeaderText, kNameSize);
    for (int s = 0; s < T310TransferBlock::kSlots; ++s) {
        std::memcpy(slots_[s].name, bytes + T310TransferBlock::SlotOffset(s), kNameSize);
        for (int r = 0; r < 35; ++r) {
            for (int g = 0; g < 4; ++g) {
                const std::uint8_t* p = bytes + T310PointByte(s, g, r);
                const std::uint8_t* d = bytes + T310DifferenceByte(s, g, r);
                const auto drp = static_cast<std::int8_t>(p[0]);
                const auto drm = static_cast<std::int8_t>(p[1]);
                ExposureRange& out = slots_[s].rows[r].group[g];
                out.drp = DecodeTenths(drp);
                out.drm = DecodeTenths(drm);
                out.centre = DecodeTenths(static_cast<std::int8_t>(p[2]));
                out.cpp = DecodeFromBase(static_cast<std::int8_t>(d[0]), drp);
                out.cpm = DecodeFromBase(static_cast<std::int8_t>(d[1]), drm);
            }
        }
    }
    return 1;
}

int CKZARN_TransferData::WriteT310Image(T310TransferBlock* block) const
{
    if (!block) return 0;
    std::uint8_t* bytes = block->bytes.data();
    std::memcpy(bytes + T310TransferBlock::kHeaderText, header_, kNameSize);
    for (int s = 0; s < T310TransferBlock::kSlots; ++s) {
        std::memcpy(bytes + T310TransferBlock::SlotOffset(s), slots_[s].name, kNameSize);
        for (int r = 0; r < 35; ++r) {
            for (int g = 0; g < 4; ++g) {
                const ExposureRange& v = slots_[s].rows[r].group[g];
                // The T-310 takes limits within +-7.0 EV. A DRP or CPP without value counts as
                // above the limit, so the meter gets 70 and a zero difference for them, as it always
                // has; a DRM or CPM without value stays without value.
                const bool drpHigh = !HasValue(v.drp) || v.drp >= kT310Limit;
                const bool drmLow = HasValue(v.drm) && v.drm <= -kT310Limit;
                std::int8_t cppDiff;
                if (!HasValue(v.cpp)) {
                    cppDiff = 0; // (CPP - DRP) - (CPP - 7.0) with CPP without value
                } else if (v.cpp >= kT310Limit) {
                    cppDiff = drpHigh ? 0 : EncodeTenths((v.cpp - v.drp) - (v.cpp - 7.0));
                } else {
                    cppDiff = EncodeDifference(v.cpp, v.drp);
                }
                std::int8_t cpmDiff;
                if (!HasValue(v.cpm) || !HasValue(v.drm)) {
                    cpmDiff = kNoValue;
                } else if (v.cpm <= -kT310Limit) {
                    cpmDiff = drmLow ? 0 : EncodeTenths((v.cpm - v.drm) - (v.cpm + 7.0));
                } else {
                    cpmDiff = EncodeDifference(v.cpm, v.drm);
                }
                std::uint8_t* p = bytes + T310PointByte(s, g, r);
                p[0] = static_cast<std::uint8_t>(drpHigh ? 70 : EncodeTenths(v.drp));
                p[1] = static_cast<std::uint8_t>(drmLow ? -70 : EncodeTenths(v.drm));
                p[2] = static_cast<std::uint8_t>(EncodeTenths(v.centre));
                p[3] = 0;
                std::uint8_t* d = bytes + T310DifferenceByte(s, g, r);
                d[0] = static_cast<std::uint8_t>(cppDiff);
                d[1] = static_cast<std::uint8_t>(cpmDiff);
            }
        }
    }
    return 1;
}

int CKZARN_TransferData::BuildFromProfileFile(const std::string& path, const std::string& name, int slot)
{
    if (slot < 0 || slot >= kSlots) return 0;
    ZarnLib_Profile profile;
    const ZarnLibString file(path.c_str());
    if (LoadProfile(&file, &profile) != 0) return 0;

    CopyName(slots_[slot].name, name);
    const bool points = profile.GetSubVersion() == 0;
    ZarnLib_PatchKey key;
    for (int k = 0; k < kIsoTableSize; ++k) {
        key.SetIso(ISO_TABLE[k]);
        key.SetChartKind(profile.GetChartKind());
        for (int g = 0; g < 4; ++g) {
            const int lightSource = g % 2;
            const int blockIndex = g / 2;
            key.SetLightSource(lightSource);
            // Outputs in the library's order CPM, DRM, DRP, CPP (, CNT).
            _ZARNLIB_VECTOR2 five[5] = {{-3.5, 0}, {-2.5, 0}, {2.5, 0}, {3.5, 0}, {0, 0}};
            double centre = 0.0;
            int result = points ? profile.GetTablePoints(key, blockIndex, five, &centre)
                                : profile.GetTableLimits(key, blockIndex, five, &centre);
            if (result != 0) {
                result = points ? profile.GetPointsForSettings(key, blockIndex, five, &centre)
                                : profile.GetPointsForSettingsAlt(key, blockIndex, five, &centre);
            }
            if (result != 0) {
                five[0].x = -3.5;
                five[1].x = -2.5;
                five[2].x = 2.5;
                five[3].x = 3.5;
                centre = 0.0;
            }
            slots_[slot].rows[k].group[g] = ExposureRange{centre, five[0].x, five[1].x, five[2].x, five[3].x};
        }
    }
    return 1;
}
