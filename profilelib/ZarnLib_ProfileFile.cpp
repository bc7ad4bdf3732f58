#include "profilelib/ZarnLib_ProfileFile.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <memory>
#include <new>
#include <string>


#include "platform/AtomicFileWriter.h"
#include "profilelib/ZarnLib_StorageFile.h"

namespace {

constexpr char kMagic[4] = {'K', 'P', 'P', 'M'};
constexpr char kTagTableList[4] = {'K', 'P', 'T', 'L'};
constexpr char kTagTable[4] = {'K', 'P', 'T', 'E'};
constexpr char kTagTableKey[4] = {'K', 'P', 'I', 'D'};
constexpr char kTagEntryList[4] = {'K', 'P', 'C', 'L'};
constexpr char kTagEntry[4] = {'K', 'P', 'C', 'E'};
constexpr char kTagEntryKey[4] = {'K', 'E', 'I', 'D'};
constexpr char kTagCurve[4] = {'Z', 'C', 'P', 'L'};
constexpr std::int32_t kChunkVersion = 1;

constexpr double kMantissaScale = 1e14;
constexpr std::uint64_t kMantissaMax = 99999999999999ULL;
constexpr std::uint64_t kSignBit = 1ULL << 47;

// Smallest sizes on disk, used to refuse counts that the rest of the file cannot hold.
constexpr long kMinTableBytes = 222; // a table without entries, adjustments and chart kind
constexpr long kMinEntryBytes = 48;  // an entry without points
constexpr long kPointBytes = 16;

void EncodePortableDouble(double value, std::uint8_t out[8])
{
    int exponent = 0;
    std::uint64_t mantissa = 0;
    if (std::isinf(value)) {
        exponent = 32767;
        mantissa = kMantissaMax;
    } else if (!std::isnan(value) && value != 0.0) {
        const double m = std::frexp(value, &exponent);
        exponent = std::clamp(exponent, -32768, 32767);
        mantissa = static_cast<std::uint64_t>(std::floor(std::fabs(m) * kMantissaScale + 0.5));
        mantissa = std::min(mantissa, kMantissaMax);
    }
    if (value < 0) {
        mantissa |= kSignBit;
    }
    const auto e = static_cast<std::uint16_t>(static_cast<std::int16_t>(exponent));
    out[0] = static_cast<std::uint8_t>(e & 0xFF);
    out[1] = static_cast<std::uint8_t>(e >> 8);
    for (int i = 0; i < 6; ++i) {
        out[2 + i] = static_cast<std::uint8_t>((mantissa >> (8 * i)) & 0xFF);
    }
}

double DecodePortableDouble(const std::uint8_t in[8])
{
    const auto exponent = static_cast<std::int16_t>(static_cast<std::uint16_t>(in[0] | (in[1] << 8)));
    std::uint64_t field = 0;
    for (int i = 0; i < 6; ++i) {
        field |= static_cast<std::uint64_t>(in[2 + i]) << (8 * i);
    }
    double value = static_cast<double>(field & (kSignBit - 1)) / kMantissaScale;
    if ((field & kSignBit) != 0) {
        value = -value;
    }
    return std::ldexp(value, exponent);
}

// Field-by-field reader over a storage file; every method returns the storage code.
class Reader {
public:
    explicit Reader(ZarnLib_StorageFile& f) : file(f), size(f.GetSize()) {}

    int Bytes(void* buffer, int n)
    {
        int count = n;
        return file.Read(buffer, &count);
    }
    int Int16(std::int16_t* v)
    {
        std::uint8_t b[2];
        const int r = Bytes(b, 2);
        if (r == 0) {
            *v = static_cast<std::int16_t>(static_cast<std::uint16_t>(b[0] | (b[1] << 8)));
        }
        return r;
    }
    int Int32(std::int32_t* v)
    {
        std::uint8_t b[4];
        const int r = Bytes(b, 4);
        if (r == 0) {
            const std::uint32_t u = static_cast<std::uint32_t>(b[0]) | (static_cast<std::uint32_t>(b[1]) << 8) |
                                    (static_cast<std::uint32_t>(b[2]) << 16) |
                                    (static_cast<std::uint32_t>(b[3]) << 24);
            *v = static_cast<std::int32_t>(u);
        }
        return r;
    }
    int Double(double* v)
    {
        std::uint8_t b[8];
        const int r = Bytes(b, 8);
        if (r == 0) {
            *v = DecodePortableDouble(b);
        }
        return r;
    }
    // A tag followed by chunk version 1.
    bool Chunk(const char tag[4])
    {
        char got[4];
        std::int32_t version = 0;
        return Bytes(got, 4) == 0 && std::memcmp(got, tag, 4) == 0 && Int32(&version) == 0 &&
               version == kChunkVersion;
    }
    // True when the rest of the file can hold `count` items of at least `itemBytes` each. A
    // negative count is damage (the writer never writes one), refused like a count too large.
    bool Holds(std::int32_t count, long itemBytes) const
    {
        if (count < 0) return false;
        const long left = size - file.GetPosition();
        return count == 0 || (left >= 0 && count <= left / itemBytes);
    }

private:
    ZarnLib_StorageFile& file;
    long size;
};

class Writer {
public:
    explicit Writer(ZarnLib_StorageFile& f) : file(f) {}

    bool Bytes(const void* buffer, int n)
    {
        int count = n;
        return file.Write(buffer, &count) == 0;
    }
    bool Byte(unsigned char v) { return Bytes(&v, 1); }
    bool Int16(std::int16_t v)
    {
        const auto u = static_cast<std::uint16_t>(v);
        const std::uint8_t b[2] = {static_cast<std::uint8_t>(u & 0xFF), static_cast<std::uint8_t>(u >> 8)};
        return Bytes(b, 2);
    }
    bool Int32(std::int32_t v)
    {
        const auto u = static_cast<std::uint32_t>(v);
        const std::uint8_t b[4] = {static_cast<std::uint8_t>(u & 0xFF), static_cast<std::uint8_t>((u >> 8) & 0xFF),
                                   static_cast<std::uint8_t>((u >> 16) & 0xFF),
                                   static_cast<std::uint8_t>(u >> 24)};
        return Bytes(b, 4);
    }
    bool Double(double v)
    {
        std::uint8_t b[8];
        EncodePortableDouble(v, b);
        return Bytes(b, 8);
    }
    bool Chunk(const char tag[4]) { return Bytes(tag, 4) && Int32(kChunkVersion); }

private:
    ZarnLib_StorageFile& file;
};

bool ReadBlock(Reader& in, ZarnLib_ResultBlock& block, bool withAdjustment)
{
    if (in.Bytes(&block.valid, 1) != 0) {
        return false;
    }
    for (_ZARNLIB_VECTOR2& point : block.points) {
        if (in.Double(&point.x) != 0 || in.Double(&point.y) != 0) {
            return false;
        }
    }
    return !withAdjustment || in.Double(&block.adjustment) == 0;
}

std::unique_ptr<ZarnLib_ProfileEntry> ReadEntry(Reader& in)
{
    std::int32_t iso = 0;
    std::int32_t shutter = 0;
    std::int32_t aperture = 0;
    double offset = 0.0;
    std::int32_t count = 0;
    if (!in.Chunk(kTagEntry) || !in.Chunk(kTagEntryKey) || in.Int32(&iso) != 0 || in.Int32(&shutter) != 0 ||
        in.Int32(&aperture) != 0 || in.Double(&offset) != 0 || !in.Chunk(kTagCurve) || in.Int32(&count) != 0) {
        return nullptr;
    }
    if (!in.Holds(count, kPointBytes)) {
        return nullptr;
    }
    std::unique_ptr<ZarnLib_ProfileEntry> entry(new (std::nothrow) ZarnLib_ProfileEntry);
    if (!entry) {
        return nullptr;
    }
    ZarnLib_EntryKey& key = entry->GetKey();
    key.SetIso(iso);
    key.SetShutter(shutter);
    key.SetAperture(aperture);
    key.SetExposureOffset(offset);
    if (count > 0) {
        std::unique_ptr<_ZARNLIB_VECTOR2[]> points(new (std::nothrow) _ZARNLIB_VECTOR2[static_cast<std::size_t>(count)]);
        if (!points) {
            return nullptr;
        }
        for (std::int32_t i = 0; i < count; ++i) {
            if (in.Double(&points[i].x) != 0 || in.Double(&points[i].y) != 0) {
                return nullptr;
            }
        }
        // A single point is not a curve: the polyline refuses it and the load fails.
        if (entry->Curve().SetPoints(points.get(), count, false) != 0) {
            return nullptr;
        }
    }
    return entry;
}

std::unique_ptr<ZarnLib_KestrinPatchElement> ReadTable(Reader& in, bool withAdjustments)
{
    std::int32_t fields[8] = {};
    if (!in.Chunk(kTagTable) || !in.Chunk(kTagTableKey)) {
        return nullptr;
    }
    for (std::int32_t& field : fields) {
        if (in.Int32(&field) != 0) {
            return nullptr;
        }
    }
    std::unique_ptr<ZarnLib_KestrinPatchElement> table(new (std::nothrow) ZarnLib_KestrinPatchElement);
    if (!table) {
        return nullptr;
    }
    // The readings are stored as read; the file is not required to keep them on their scales.
    ZarnLib_PatchKey key;
    key.SetIso(fields[0]);
    key.SetLightSource(fields[1]);
    key.SetIlShutter(fields[2]);
    key.SetIlAperture(fields[3]);
    key.SetIlTenths(fields[4]);
    key.SetRlShutter(fields[5]);
    key.SetRlAperture(fields[6]);
    key.SetRlTenths(fields[7]);
    table->Key() = key;

    std::int32_t entryCount = 0;
    if (!in.Chunk(kTagEntryList) || in.Int32(&entryCount) != 0 || !in.Holds(entryCount, kMinEntryBytes)) {
        return nullptr;
    }
    for (std::int32_t i = 0; i < entryCount; ++i) {
        std::unique_ptr<ZarnLib_ProfileEntry> entry = ReadEntry(in);
        if (!entry || table->AppendEntry(std::move(entry)) != 0) {
            return nullptr;
        }
    }
    if (!ReadBlock(in, *table->GetBlock(0), withAdjustments) || !ReadBlock(in, *table->GetBlock(1), withAdjustments)) {
        return nullptr;
    }
    std::int32_t kind = 0;
    if (in.Int32(&kind) != 0) {
        kind = 0;
    }
    table->SetChartKind(kind);
    return table;
}

int ReadProfile(ZarnLib_StorageFile& file, ZarnLib_Profile& profile)
{
    Reader in(file);
    char magic[4];
    std::int16_t version = 0;
    std::int16_t subVersion = 0;
    if (in.Bytes(magic, 4) != 0 || std::memcmp(magic, kMagic, 4) != 0) {
        return -1;
    }
    if (in.Int16(&version) != 0 || (version != 2 && version != 3)) {
        return -1;
    }
    profile.SetVersion(version);
    if (in.Int16(&subVersion) != 0 || (subVersion != 0 && subVersion != 1)) {
        return -1;
    }
    profile.SetSubVersion(version == 3 ? subVersion : 0);
    const bool withAdjustments = version == 3 && subVersion == 1;

    std::int32_t tableCount = 0;
    if (!in.Chunk(kTagTableList) || in.Int32(&tableCount) != 0 || !in.Holds(tableCount, kMinTableBytes)) {
        return -1;
    }
    for (std::int32_t i = 0; i < tableCount; ++i) {
        std::unique_ptr<ZarnLib_KestrinPatchElement> table = ReadTable(in, withAdjustments);
        if (!table || profile.AppendTable(std::move(table)) != 0) {
            return -1;
        }
    }
    // The trailer is optional: older files end after the tables.
    double offset = 0.0;
    profile.SetIlOffset(in.Double(&offset) == 0 ? offset : 0.0);
    offset = 0.0;
    profile.SetRlOffset(in.Double(&offset) == 0 ? offset : 0.0);
    std::int32_t kind = 0;
    profile.SetChartKind(in.Int32(&kind) == 0 ? kind : 0);
    return 0;
}

bool WriteBlock(Writer& out, const ZarnLib_ResultBlock& block, bool withAdjustment)
{
    if (!out.Byte(block.valid)) {
        return false;
    }
    for (const _ZARNLIB_VECTOR2& point : block.points) {
        if (!out.Double(point.x) || !out.Double(point.y)) {
            return false;
        }
    }
    return !withAdjustment || out.Double(block.adjustment);
}

bool WriteTable(Writer& out, const ZarnLib_KestrinPatchElement& table, bool withAdjustments)
{
    const ZarnLib_PatchKey& key = table.Key();
    const std::int32_t fields[8] = {key.GetIso(), key.GetLightSource(), key.GetIlShutter(), key.GetIlAperture(),
                                    key.GetIlTenths(), key.GetRlShutter(), key.GetRlAperture(), key.GetRlTenths()};
    if (!out.Chunk(kTagTable) || !out.Chunk(kTagTableKey)) {
        return false;
    }
    for (std::int32_t field : fields) {
        if (!out.Int32(field)) {
            return false;
        }
    }
    if (!out.Chunk(kTagEntryList) || !out.Int32(table.GetEntryCount())) {
        return false;
    }
    for (int i = 0; i < table.GetEntryCount(); ++i) {
        const ZarnLib_ProfileEntry& entry = *table.GetEntry(i);
        const ZarnLib_EntryKey& entryKey = entry.GetKey();
        const ZarnLib_CnvPolyLine& curve = entry.Curve();
        if (!out.Chunk(kTagEntry) || !out.Chunk(kTagEntryKey) || !out.Int32(entryKey.GetIso()) ||
            !out.Int32(entryKey.GetShutterIndex()) || !out.Int32(entryKey.GetApertureIndex()) ||
            !out.Double(entryKey.GetExposureOffset()) || !out.Chunk(kTagCurve) || !out.Int32(curve.GetCount())) {
            return false;
        }
        for (int k = 0; k < curve.GetCount(); ++k) {
            if (!out.Double(curve.GetPoints()[k].x) || !out.Double(curve.GetPoints()[k].y)) {
                return false;
            }
        }
    }
    return WriteBlock(out, *table.GetBlock(0), withAdjustments) &&
           WriteBlock(out, *table.GetBlock(1), withAdjustments) && out.Int32(table.GetStoredChartKind());
}

bool WriteProfile(ZarnLib_StorageFile& file, const ZarnLib_Profile& profile)
{
    Writer out(file);
    const std::int16_t version = profile.GetVersion();
    const bool isVersion3 = version == 3;
    const std::int16_t subVersion = isVersion3 ? profile.GetSubVersion() : 0;
    const bool withAdjustments = isVersion3 && subVersion == 1;
    if (!out.Bytes(kMagic, 4) || !out.Int16(version) || !out.Int16(subVersion) || !out.Chunk(kTagTableList) ||
        !out.Int32(profile.TableCount())) {
        return false;
    }
    for (int i = 0; i < profile.TableCount(); ++i) {
        if (!WriteTable(out, *profile.GetTableAt(i), withAdjustments)) {
            return false;
        }
    }
    return out.Double(profile.GetIlOffset()) && out.Double(profile.GetRlOffset()) && out.Int32(profile.GetChartKind());
}

} // namespace

int LoadProfile(const ZarnLibString* path, ZarnLib_Profile* profile)
{
    if (path == nullptr || profile == nullptr) {
        return -1;
    }
    std::unique_ptr<ZarnLib_StorageFile> file(CreateStorageFile(*path, 0));
    if (!file || file->Open(1) != kStorageOk) {
        return -1;
    }
    long size = 0;
    if (file->GetSizeEx(&size) != kStorageOk || size > kMaxProfileFileBytes) {
        file->Close();
        return -1;
    }
    // Read into a profile of our own; the caller's profile changes only when all went well.
    ZarnLib_Profile loaded;
    const int result = ReadProfile(*file, loaded);
    file->Close();
    if (result != 0) {
        return -1;
    }
    profile->Swap(loaded);
    return 0;
}

int SaveProfile(const ZarnLibString* path, const ZarnLib_Profile* profile)
{
    if (path == nullptr || profile == nullptr) {
        return -1;
    }
    // Refuse what the reader would refuse before anything touches the disk.
    const std::int16_t version = profile->GetVersion();
    if (version != 2 && version != 3) {
        return -1;
    }
    if (version == 3 && profile->GetSubVersion() != 0 && profile->GetSubVersion() != 1) {
        return -1;
    }
    // Written beside the target, which it replaces only once it is whole and on the disk.
    const bool saved = AtomicFileWriter::ReplaceThrough(path->GetText(), [profile](const std::string& temporary) {
        std::unique_ptr<ZarnLib_StorageFile> file(CreateStorageFile(temporary.c_str(), 0));
        if (!file || file->Create(3) != kStorageOk) {
            return false;
        }
        const bool written = WriteProfile(*file, *profile);
        return file->Close() == kStorageOk && written;
    });
    return saved ? 0 : -1;
}
