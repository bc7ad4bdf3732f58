#include "profilelib/ZarnExif_ExifReader.h"
#include "tests/profilelib/ImageTestFiles.h"
#include "tests/support/ZarnTest_ExifWriter.h"

#include <gtest/gtest.h>

using namespace imagetest;

namespace {

std::vector<unsigned char> Ascii(const char* s, std::size_t n) { return std::vector<unsigned char>(s, s + n); }

int ReadBytes(const std::vector<unsigned char>& bytes, ZarnExif_ExifTagList& list, const char* name = "exif.bin")
{
    const std::string path = TempFile(name);
    WriteBytes(path, bytes);
    ZarnExif_ExifReader reader;
    return reader.Read(Wide(path), list);
}

class ExifByteOrder : public ::testing::TestWithParam<bool> {};

TEST_P(ExifByteOrder, ReadsEntriesInDepthFirstOrderWithTheirTexts)
{
    ZarnTest_ExifWriter w(GetParam());
    w.AddAscii(false, 271, "Kam");                       // count 4: inside the entry
    w.AddAscii(false, 272, "Model");                     // count 6: at its offset
    w.AddLong(false, 305, 3000000000u);
    w.AddShort(true, 34855, {100, 200});
    w.AddRational(true, 33434, 1, 250);
    w.AddEntry(true, 36864, 7, 4, Ascii("0230", 4));
    w.AddEntry(true, 40000, 13, 1, w.Bytes32(0));         // unknown type: located, not formatted
    w.AddEntry(true, 40001, 5, 0, w.Bytes32(0x01020304)); // rational without elements
    ZarnExif_ExifTagList list;
    ASSERT_EQ(0, ReadBytes(w.BuildTiffBlock(), list));
    ASSERT_EQ(9u, list.size()) << "4 entries of directory 0 (pointer included) and 5 of the Exif directory";
    EXPECT_EQ(271, list[0].tag);
    EXPECT_EQ("Kam", list[0].text);
    EXPECT_EQ("Model", list[1].text);
    EXPECT_EQ("-1294967296", list[2].text);
    EXPECT_EQ(34665, list[3].tag);
    EXPECT_EQ(33434, list[4].tag) << "the Exif entries follow their pointer";
    const ZarnExif_ExifTag* iso = ZarnExif_FindTag(list, 34855);
    ASSERT_NE(nullptr, iso);
    EXPECT_EQ("100, 200", iso->text);
    EXPECT_EQ(200, iso->value);
    const ZarnExif_ExifTag* time = ZarnExif_FindTag(list, 33434);
    EXPECT_EQ("1/250", time->text);
    int ok = -1;
    EXPECT_DOUBLE_EQ(0.004, time->GetUnsignedRational(&ok));
    EXPECT_EQ(1, ok);
    const ZarnExif_ExifTag* version = ZarnExif_FindTag(list, 36864);
    EXPECT_EQ(GetParam() ? "0x00003032" : "0x00003230", version->text);
    const ZarnExif_ExifTag* unknown = ZarnExif_FindTag(list, 40000);
    EXPECT_EQ("", unknown->text);
    EXPECT_EQ(0, unknown->value);
    const ZarnExif_ExifTag* empty = ZarnExif_FindTag(list, 40001);
    EXPECT_EQ("", empty->text) << "no element to format, and no read past the 4-byte field";
    EXPECT_EQ(0, empty->denominator);
}

INSTANTIATE_TEST_SUITE_P(BothOrders, ExifByteOrder, ::testing::Values(false, true));

TEST(ExifReader, ResultCodesOfMalformedFiles)
{
    ZarnTest_ExifWriter w(true);
    w.AddShort(true, 34855, {400});
    std::vector<unsigned char> good = w.BuildTiffBlock();
    std::vector<unsigned char> magic43 = good;
    magic43[3] = 43;
    // Inside a JPEG, so that the file is recognised and the TIFF header itself is examined.
    const auto length = static_cast<unsigned char>(magic43.size() + 8);
    magic43.insert(magic43.begin(), {0xFF, 0xD8, 0xFF, 0xE1, 0, length, 'E', 'x', 'i', 'f', 0, 0});
    std::vector<unsigned char> offsetZero = good;
    offsetZero[4] = offsetZero[5] = offsetZero[6] = offsetZero[7] = 0;
    std::vector<unsigned char> emptyDir = {'M', 'M', 0, 42, 0, 0, 0, 8, 0, 0, 0, 0, 0, 0};
    const std::vector<unsigned char> png = {0x89, 'P', 'N', 'G', 13, 10, 26, 10, 0, 0};
    const std::vector<unsigned char> jpegNoApp1 = {0xFF, 0xD8, 0xFF, 0xE0, 0, 4, 0, 0, 0xFF, 0xD9};
    const std::vector<unsigned char> jpegXmpFirst = {0xFF, 0xD8, 0xFF, 0xE1, 0, 10, 'h', 't', 't', 'p', 0, 0, 0, 0,
                                                     0xFF, 0xE1, 0, 8, 'E', 'x', 'i', 'f', 0, 0};
    const struct {
        const char* name;
        std::vector<unsigned char> bytes;
        int result;
    } cases[] = {
        {"png", png, 2},
        {"five bytes", {'I', 'I', '*', 0, 8}, 2},
        {"magic 43", magic43, 3},
        {"directory offset 0", offsetZero, 5},
        {"empty directory 0", emptyDir, 3},
        {"JPEG without APP1", jpegNoApp1, 5},
        {"first APP1 holds XMP", jpegXmpFirst, 3},
        {"directory past the end", {'I', 'I', '*', 0, 0xFF, 0xFF, 0, 0}, 3},
    };
    for (const auto& c : cases) {
        ZarnExif_ExifTagList list;
        EXPECT_EQ(c.result, ReadBytes(c.bytes, list)) << c.name;
    }
    ZarnExif_ExifReader reader;
    ZarnExif_ExifTagList list;
    EXPECT_EQ(1, reader.Read(std::string("/nonexistent/file.jpg"), list));
}

TEST(ExifReader, JpegWithJfifBeforeExifIsRead)
{
    ZarnTest_ExifWriter w(false);
    w.AddExposure(800, 1, 60, 56, 10);
    auto bitmap = MakeBitmap(16, 16, [](int, int) { return Rgb(1, 2, 3); });
    const std::string path = TempFile("jfif_exif.jpg");
    ASSERT_TRUE(w.WriteJpeg(*bitmap, path, 90));
    ZarnExif_ExifReader reader;
    ZarnExif_ExifTagList list;
    ASSERT_EQ(0, reader.Read(path, list));
    ASSERT_NE(nullptr, ZarnExif_FindTag(list, 34855));
    EXPECT_EQ(800, ZarnExif_FindTag(list, 34855)->GetShortValue());
}

TEST(ExifReader, DirectoryLoopsAndHugeCountsEndSafely)
{
    // Exif pointer of directory 0 leading back to directory 0; a value claiming 2^32 - 1 rationals.
    ZarnTest_ExifWriter w(false);
    w.AddEntry(false, 34665, 4, 1, w.Bytes32(8));
    w.AddEntry(false, 34853, 4, 1, w.Bytes32(8));
    w.AddEntry(false, 33434, 5, 0xFFFFFFFFu, w.Bytes32(8));
    ZarnExif_ExifTagList list;
    EXPECT_EQ(0, ReadBytes(w.BuildTiffBlock(), list));
    ASSERT_EQ(3u, list.size());
    EXPECT_EQ("", list[0].text.substr(0, 0));
    EXPECT_EQ("", ZarnExif_FindTag(list, 33434)->text);
}

TEST(ExifTag, RationalGettersAndParsers)
{
    ZarnExif_ExifTag t;
    t.type = 5;
    t.value = -1; // 0xFFFFFFFF unsigned
    t.denominator = 0;
    int ok = 7;
    EXPECT_EQ(0.0, t.GetUnsignedRational(&ok));
    EXPECT_EQ(0, ok);
    t.denominator = 2;
    EXPECT_DOUBLE_EQ(4294967295.0 / 2, t.GetUnsignedRational(&ok));
    EXPECT_DOUBLE_EQ(-0.5, t.GetSignedRational(&ok));
    t.type = 3;
    ok = 7;
    EXPECT_EQ(0.0, t.GetUnsignedRational(&ok));
    EXPECT_EQ(7, ok) << "other types leave the flag alone";

    EXPECT_EQ(0x1F, ZarnExif_ParseHex("0x1f"));
    EXPECT_EQ(0xAB, ZarnExif_ParseHex("AB"));
    EXPECT_EQ(0, ZarnExif_ParseHex("0x1g"));
    EXPECT_EQ(-42, ZarnExif_ParseDecimal("-42"));
    EXPECT_STREQ("SRATIONAL", ZarnExif_TypeName(10));
    EXPECT_STREQ("---", ZarnExif_TypeName(13));
}

} // namespace
