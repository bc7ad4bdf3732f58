#include "profilelib/ZarnLib_ProfileFile.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "tests/support/ScratchFolder.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes ReadAll(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return Bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

void WriteAll(const std::string& path, const Bytes& bytes)
{
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

// Builds file images field by field.
struct Image {
    Bytes b;
    Image& Tag(const char* t)
    {
        b.insert(b.end(), t, t + 4);
        return *this;
    }
    Image& I16(int v)
    {
        b.push_back(static_cast<std::uint8_t>(v & 0xFF));
        b.push_back(static_cast<std::uint8_t>((v >> 8) & 0xFF));
        return *this;
    }
    Image& I32(std::int64_t v)
    {
        for (int i = 0; i < 4; ++i) {
            b.push_back(static_cast<std::uint8_t>((v >> (8 * i)) & 0xFF));
        }
        return *this;
    }
    Image& Raw(std::initializer_list<std::uint8_t> bytes)
    {
        b.insert(b.end(), bytes);
        return *this;
    }
    Image& Chunk(const char* t) { return Tag(t).I32(1); }
    Image& Header(int version, int sub, std::int64_t tables)
    {
        return Tag("KPPM").I16(version).I16(sub).Chunk("KPTL").I32(tables);
    }
    // A table without entries, blocks all zero (no adjustments), without its chart kind.
    Image& TableWithoutKind(int iso, std::int64_t entries = 0)
    {
        Chunk("KPTE").Chunk("KPID").I32(iso);
        for (int i = 0; i < 7; ++i) {
            I32(0);
        }
        return Chunk("KPCL").I32(entries);
    }
    Image& Blocks()
    {
        b.insert(b.end(), 2 * 81, 0);
        return *this;
    }
    Image& Entry(std::int64_t points)
    {
        Chunk("KPCE").Chunk("KEID").I32(100).I32(30).I32(11);
        b.insert(b.end(), 8, 0);
        return Chunk("ZCPL").I32(points);
    }
    Image& Points(int n)
    {
        for (int i = 0; i < n; ++i) {
            Raw({1, 0, 0, 0x20, 0x3D, 0x88, 0x79, 0x2D}); // x = 1.0
            Raw({2, 0, 0, 0x20, 0x3D, 0x88, 0x79, 0x2D}); // y = 2.0
        }
        return *this;
    }
};

ZarnLib_PatchKey TableKey(int iso, int light)
{
    ZarnLib_PatchKey k;
    k.SetIso(iso);
    k.SetLightSource(light);
    k.SetIlShutter(40);
    k.SetIlAperture(20);
    k.SetIlTenths(3);
    k.SetRlShutter(41);
    k.SetRlAperture(21);
    k.SetRlTenths(9);
    k.SetChartKind(1);
    return k;
}

ZarnLib_CnvPolyLine Curve(int n, double scale)
{
    std::vector<_ZARNLIB_VECTOR2> p;
    for (int i = 0; i < n; ++i) {
        p.push_back({static_cast<double>(i), scale * i + 0.1});
    }
    ZarnLib_CnvPolyLine c;
    c.SetPoints(p.data(), n, false);
    return c;
}

// Several tables (two at one ISO), entries and both blocks with adjustments.
void FillProfile(ZarnLib_Profile& p)
{
    const int isos[] = {400, 100, 100};
    for (int t = 0; t < 3; ++t) {
        const ZarnLib_PatchKey key = TableKey(isos[t], t);
        for (int e = 0; e < t + 1; ++e) {
            ZarnLib_EntryKey entry;
            entry.SetIso(isos[t]);
            entry.SetShutter(30 + e);
            entry.SetAperture(11);
            entry.SetExposureOffset(0.3 * e);
            ASSERT_EQ(p.AddEntry(key, entry, Curve(7, 10.5 + e)), 0);
        }
        const _ZARNLIB_VECTOR2 five[5] = {{-3.5, 20}, {-2.5, 35}, {2.5, 230.25}, {3.5, 245}, {0.125, 118}};
        ASSERT_EQ(p.SetTablePoints(key, 0, five), 0);
        const _ZARNLIB_VECTOR2 four[4] = {{-3.1, 21}, {-2.2, 36}, {2.2, 229}, {3.3, 244}};
        ASSERT_EQ(p.SetTablePointsOrCreate(key, 1, four, -1.5 + t), 0);
        p.GetTableAt(p.TableCount() - 1)->GetBlock(0)->adjustment = 0.75;
    }
    p.SetIlOffset(0.4);
    p.SetRlOffset(-0.7);
    p.SetChartKind(3);
}

class ZarnLibProfileFileTest : public ::testing::Test {
protected:
    ScratchFolder folder;
    std::string path = folder.File("profile.kpf");
    ZarnLibString kpf{path.c_str()};

    int Save(ZarnLib_Profile& p) { return SaveProfile(&kpf, &p); }
    int Load(ZarnLib_Profile& p) { return LoadProfile(&kpf, &p); }
    Bytes EncodedOffset(double v)
    {
        ZarnLib_Profile p;
        p.SetVersion(2);
        p.SetIlOffset(v);
        EXPECT_EQ(Save(p), 0);
        const Bytes all = ReadAll(path);
        EXPECT_EQ(all.size(), 40u);
        return Bytes(all.begin() + 20, all.begin() + 28);
    }
};

} // namespace

TEST_F(ZarnLibProfileFileTest, PortableDoubleEncoding)
{
    const struct {
        double value;
        Bytes bytes;
    } cases[] = {
        {1.0, {0x01, 0x00, 0x00, 0x20, 0x3D, 0x88, 0x79, 0x2D}},
        {-2.5, {0x02, 0x00, 0x00, 0x68, 0x4C, 0xEA, 0xD7, 0xB8}},
        {0.1, {0xFD, 0xFF, 0x00, 0x00, 0x95, 0x73, 0xC2, 0x48}},
        {0.0, {0, 0, 0, 0, 0, 0, 0, 0}},
        {-0.0, {0, 0, 0, 0, 0, 0, 0, 0}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(EncodedOffset(c.value), c.bytes) << c.value;
        Bytes file = Image().Header(2, 0, 0).b;
        file.insert(file.end(), c.bytes.begin(), c.bytes.end());
        WriteAll(path, file);
        ZarnLib_Profile p;
        ASSERT_EQ(Load(p), 0);
        EXPECT_EQ(p.GetIlOffset(), c.value == 0 ? 0.0 : c.value) << c.value;
    }
}

TEST_F(ZarnLibProfileFileTest, DoublesKeepFourteenDigits)
{
    ZarnLib_Profile p;
    p.SetVersion(2);
    p.SetIlOffset(1.0 + std::ldexp(1.0, -52));
    p.SetRlOffset(-1234.5678901234);
    ASSERT_EQ(Save(p), 0);
    ZarnLib_Profile q;
    ASSERT_EQ(Load(q), 0);
    EXPECT_EQ(q.GetIlOffset(), 1.0);
    EXPECT_NEAR(q.GetRlOffset(), -1234.5678901234, 1e-9);
}

TEST_F(ZarnLibProfileFileTest, FileSizes)
{
    const struct {
        int version;
        int sub;
        int tables;
        int points; // one entry of this many points per table, -1 for none
        std::uintmax_t size;
    } cases[] = {
        {2, 0, 0, -1, 40},        {3, 1, 0, -1, 40},           {2, 0, 1, -1, 40 + 226},
        {3, 0, 1, -1, 40 + 226},  {3, 1, 1, -1, 40 + 242},     {3, 1, 2, -1, 40 + 2 * 242},
        {2, 0, 1, 7, 40 + 226 + 48 + 7 * 16}, {3, 1, 2, 25, 40 + 2 * (242 + 48 + 25 * 16)},
    };
    for (const auto& c : cases) {
        ZarnLib_Profile p;
        p.SetVersion(static_cast<std::int16_t>(c.version));
        p.SetSubVersion(static_cast<std::int16_t>(c.sub));
        for (int t = 0; t < c.tables; ++t) {
            if (c.points < 0) {
                const _ZARNLIB_VECTOR2 four[4] = {};
                p.SetTablePointsOrCreate(TableKey(100 * (t + 1), 0), 0, four, 0);
            } else {
                ZarnLib_EntryKey e;
                p.AddEntry(TableKey(100 * (t + 1), 0), e, Curve(c.points, 1));
            }
        }
        ASSERT_EQ(Save(p), 0);
        EXPECT_EQ(std::filesystem::file_size(path), c.size) << c.version << "." << c.sub << " " << c.tables;
    }
}

TEST_F(ZarnLibProfileFileTest, VersionRulesOfLoading)
{
    const struct {
        int version;
        int sub;
        int result;
        int storedSub;
    } cases[] = {{2, 0, 0, 0},  {2, 1, 0, 0},  {2, 2, -1, 0}, {3, 0, 0, 0},  {3, 1, 0, 1},
                 {3, 2, -1, 0}, {3, -1, -1, 0}, {4, 0, -1, 0}, {1, 0, -1, 0}, {-1, 0, -1, 0}};
    for (const auto& c : cases) {
        WriteAll(path, Image().Header(c.version, c.sub, 0).b);
        ZarnLib_Profile p;
        ASSERT_EQ(Load(p), c.result) << c.version << "." << c.sub;
        if (c.result == 0) {
            EXPECT_EQ(p.GetVersion(), c.version);
            EXPECT_EQ(p.GetSubVersion(), c.storedSub);
            EXPECT_EQ(p.TableCount(), 0);
            EXPECT_EQ(p.GetIlOffset(), 0);
            EXPECT_EQ(p.GetRlOffset(), 0);
            EXPECT_EQ(p.GetChartKind(), 0);
        } else {
            EXPECT_EQ(p.GetVersion(), -1); // a failed load leaves the profile alone
        }
    }
}

TEST_F(ZarnLibProfileFileTest, VersionRulesOfSaving)
{
    const struct {
        int version;
        int sub;
        int result;
    } cases[] = {{2, 0, 0},  {2, -1, 0}, {2, 5, 0},  {3, 0, 0},   {3, 1, 0},
                 {-1, 0, -1}, {4, 0, -1}, {1, 0, -1}, {3, -1, -1}, {3, 2, -1}};
    for (const auto& c : cases) {
        WriteAll(path, {'o', 'l', 'd'});
        ZarnLib_Profile p;
        FillProfile(p);
        p.SetVersion(static_cast<std::int16_t>(c.version));
        p.SetSubVersion(static_cast<std::int16_t>(c.sub));
        EXPECT_EQ(Save(p), c.result) << c.version << "." << c.sub;
        if (c.result != 0) {
            EXPECT_EQ(ReadAll(path), (Bytes{'o', 'l', 'd'})) << "a refused save must not touch the file";
            continue;
        }
        // What was saved, loads.
        ZarnLib_Profile q;
        ASSERT_EQ(Load(q), 0) << c.version << "." << c.sub;
        EXPECT_TRUE(q.IsEqual(&p));
        EXPECT_EQ(q.GetSubVersion(), c.version == 3 ? c.sub : 0);
    }
    // No temporary files are left behind.
    int files = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(folder.Path())) {
        ++files;
    }
    EXPECT_EQ(files, 1);
}

TEST_F(ZarnLibProfileFileTest, SaveIntoAMissingFolderFailsCleanly)
{
    ZarnLibString nowhere(folder.File("no/such/folder/p.kpf").c_str());
    ZarnLib_Profile p;
    p.SetVersion(2);
    EXPECT_EQ(SaveProfile(&nowhere, &p), -1);
    EXPECT_EQ(SaveProfile(nullptr, &p), -1);
    EXPECT_EQ(SaveProfile(&kpf, nullptr), -1);
}

TEST_F(ZarnLibProfileFileTest, RoundTripWithAdjustments)
{
    ZarnLib_Profile p;
    FillProfile(p);
    p.SetVersion(3);
    p.SetSubVersion(1);
    ASSERT_EQ(Save(p), 0);
    ZarnLib_Profile q;
    ASSERT_EQ(Load(q), 0);
    ASSERT_TRUE(q.IsEqual(&p));
    EXPECT_EQ(q.GetVersion(), 3);
    EXPECT_EQ(q.GetSubVersion(), 1);
    EXPECT_EQ(q.GetIlOffset(), 0.4);
    EXPECT_EQ(q.GetRlOffset(), -0.7);
    EXPECT_EQ(q.GetChartKind(), 3);
    for (int t = 0; t < p.TableCount(); ++t) {
        const ZarnLib_KestrinPatchElement* a = p.GetTableAt(t);
        const ZarnLib_KestrinPatchElement* b = q.GetTableAt(t);
        EXPECT_EQ(b->GetStoredChartKind(), 1);
        EXPECT_EQ(b->GetBlock(0)->adjustment, a->GetBlock(0)->adjustment);
        EXPECT_EQ(b->GetBlock(1)->adjustment, a->GetBlock(1)->adjustment);
        EXPECT_EQ(b->Key().GetRlTenths(), 9);
        EXPECT_EQ(b->Key().GetChartKind(), 0); // not stored
        EXPECT_EQ(b->GetEntry(b->GetEntryCount() - 1)->GetKey().GetExposureOffset(),
                  a->GetEntry(a->GetEntryCount() - 1)->GetKey().GetExposureOffset());
    }
}

TEST_F(ZarnLibProfileFileTest, AdjustmentsAreDroppedWithoutSubVersionOne)
{
    for (int version : {2, 3}) {
        ZarnLib_Profile p;
        FillProfile(p);
        p.SetVersion(static_cast<std::int16_t>(version));
        p.SetSubVersion(0);
        ASSERT_EQ(Save(p), 0);
        ZarnLib_Profile q;
        ASSERT_EQ(Load(q), 0);
        EXPECT_TRUE(q.IsEqual(&p));
        EXPECT_EQ(q.GetTableAt(0)->GetBlock(1)->adjustment, 0);
        EXPECT_EQ(q.GetTableAt(2)->GetBlock(0)->adjustment, 0);
    }
}

TEST_F(ZarnLibProfileFileTest, FailedLoadLeavesTheProfileAsItWas)
{
    ZarnLib_Profile original;
    FillProfile(original);
    original.SetVersion(3);
    original.SetSubVersion(1);
    ASSERT_EQ(Save(original), 0);
    const Bytes good = ReadAll(path);

    ZarnLib_Profile target;
    FillProfile(target);
    target.SetVersion(2);
    target.SetSubVersion(0);
    // Cut inside the second table: the file's first table would have been read already.
    WriteAll(path, Bytes(good.begin(), good.begin() + 20 + 242 + 300));
    EXPECT_EQ(Load(target), -1);
    EXPECT_TRUE(target.IsEqual(&original));
    EXPECT_EQ(target.GetVersion(), 2);
    EXPECT_EQ(target.GetIlOffset(), 0.4);

    ZarnLibString absent(folder.File("absent.kpf").c_str());
    EXPECT_EQ(LoadProfile(&absent, &target), -1);
    EXPECT_EQ(LoadProfile(nullptr, &target), -1);
    EXPECT_EQ(LoadProfile(&kpf, nullptr), -1);
    EXPECT_EQ(target.TableCount(), 3);
}

TEST_F(ZarnLibProfileFileTest, OptionalFieldsAtTheEnd)
{
    // The last table lacks its chart kind and there is no trailer.
    WriteAll(path, Image().Header(2, 0, 1).TableWithoutKind(200).Blocks().b);
    ZarnLib_Profile p;
    ASSERT_EQ(Load(p), 0);
    ASSERT_EQ(p.TableCount(), 1);
    EXPECT_EQ(p.GetTableAt(0)->GetStoredChartKind(), 0);
    EXPECT_EQ(p.GetTableAt(0)->Key().GetIso(), 200);
    // Only part of the trailer.
    Image partial = Image().Header(2, 0, 0);
    partial.Raw({1, 0, 0, 0x20, 0x3D, 0x88, 0x79, 0x2D, 1, 0});
    WriteAll(path, partial.b);
    ASSERT_EQ(Load(p), 0);
    EXPECT_EQ(p.GetIlOffset(), 1.0);
    EXPECT_EQ(p.GetRlOffset(), 0.0);
}

TEST_F(ZarnLibProfileFileTest, CurvePointCounts)
{
    const struct {
        std::int64_t count;
        int points;
        int result;
        int loaded;
    } cases[] = {{0, 0, 0, 0}, {-4, 0, -1, 0}, {1, 1, -1, 0}, {2, 2, 0, 2}, {3, 2, -1, 0}};
    for (const auto& c : cases) {
        WriteAll(path, Image().Header(2, 0, 1).TableWithoutKind(100, 1).Entry(c.count).Points(c.points).Blocks().I32(1).b);
        ZarnLib_Profile p;
        ASSERT_EQ(Load(p), c.result) << c.count;
        if (c.result == 0) {
            EXPECT_EQ(p.GetTableAt(0)->GetEntry(0)->Curve().GetCount(), c.loaded);
            EXPECT_EQ(p.GetTableAt(0)->GetStoredChartKind(), 1);
        }
    }
}

TEST_F(ZarnLibProfileFileTest, DamagedCountsFailWithoutLargeAllocations)
{
    const Bytes cases[] = {
        Image().Header(2, 0, 0x7FFFFFFF).b,
        Image().Header(2, 0, 1).TableWithoutKind(100, 0x7FFFFFFF).Blocks().b,
        Image().Header(2, 0, 1).TableWithoutKind(100, 1).Entry(0x7FFFFFFF).Points(3).Blocks().b,
        Image().Header(2, 0, 1).TableWithoutKind(100, 1).Entry(0x10000000).Points(3).Blocks().b,
        // Negative counts: damage, not an empty list.
        Image().Header(2, 0, -2147483648LL).b,
        Image().Header(2, 0, -1).b,
        Image().Header(2, 0, 1).TableWithoutKind(100, -2147483648LL).Blocks().b,
        Image().Header(2, 0, 1).TableWithoutKind(100, 1).Entry(-1).Points(0).Blocks().b,
    };
    for (const Bytes& file : cases) {
        WriteAll(path, file);
        ZarnLib_Profile p;
        EXPECT_EQ(Load(p), -1);
        EXPECT_EQ(p.TableCount(), 0);
    }
}

TEST_F(ZarnLibProfileFileTest, WrongTagsAndChunkVersionsFail)
{
    Image wrongMagic;
    wrongMagic.Tag("KPPX").I16(2).I16(0).Chunk("KPTL").I32(0);
    Image wrongChunkVersion;
    wrongChunkVersion.Tag("KPPM").I16(2).I16(0).Tag("KPTL").I32(2).I32(0);
    Image wrongTableTag = Image().Header(2, 0, 1);
    wrongTableTag.Chunk("KPTX");
    for (const Image& file : {wrongMagic, wrongChunkVersion, wrongTableTag}) {
        WriteAll(path, file.b);
        ZarnLib_Profile p;
        EXPECT_EQ(Load(p), -1);
    }
}
