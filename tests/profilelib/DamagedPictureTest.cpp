// Pictures that are damaged in ways the decoders would otherwise paper over: a JPEG whose image
// data runs out before its last row, and a TIFF whose strips cannot hold the picture it claims.
#include "profilelib/ZarnExif_ExifReader.h"
#include "profilelib/ZarnLib_ChartMeasure.h"
#include "profilelib/ZarnLib_JpegCodec.h"
#include "profilelib/ZarnLib_PatchKey.h"
#include "profilelib/ZarnLib_EntryKey.h"
#include "profilelib/ZarnLib_TiffCodec.h"
#include "tests/profilelib/ImageTestFiles.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include <sys/stat.h>
#include <unistd.h>

using namespace imagetest;

namespace {

std::vector<unsigned char> ReadAll(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::vector<unsigned char>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// A small photograph-like JPEG: smooth gradients, so every row has data of its own.
std::vector<unsigned char> SmallJpeg(const std::string& path, int w, int h)
{
    auto bitmap = MakeBitmap(w, h, [](int x, int y) { return Rgb(x * 3 % 256, y * 5 % 256, (x + y) % 256); });
    EXPECT_TRUE(ZarnLib_JpegCodec::Encode(*bitmap, path, 90));
    return ReadAll(path);
}

// Offset of the frame header's height field (SOF0: marker, length, precision, then height, width).
std::size_t FrameSizeOffset(const std::vector<unsigned char>& jpeg)
{
    for (std::size_t i = 2; i + 8 < jpeg.size(); ++i) {
        if (jpeg[i] == 0xFF && jpeg[i + 1] == 0xC0) return i + 5;
    }
    return 0;
}

int LoadResult(const std::string& path)
{
    ZarnLib_Image image;
    image.Reset();
    RECT rect{};
    double scale = 0;
    return image.Load(Wide(path), kImageLoadFitPlanes, 100, 100, &rect, &scale);
}

int Measure(const std::string& path)
{
    ZarnLib_PatchKey table;
    table.SetIso(200);
    ZarnLib_EntryKey photo;
    photo.SetIso(200);
    const POINT tl{10, 10}, tr{200, 10}, br{200, 150}, bl{10, 150};
    return MeasureChartPhoto(Wide(path), tl, tr, br, bl, 3, table, photo, nullptr);
}

// Peak resident memory of this process in KiB since the last ResetPeak; -1 where unknown.
long PeakKb()
{
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("VmHWM:", 0) == 0) return std::atol(line.c_str() + 6);
    }
    return -1;
}

bool ResetPeak()
{
    std::ofstream clear("/proc/self/clear_refs");
    clear << "5";
    clear.flush();
    return clear.good();
}

TEST(DamagedPicture, JpegCutShortIsUnreadableButAMissingEndMarkerIsNot)
{
    const std::string full = TempFile("cut_full.jpg");
    const std::vector<unsigned char> bytes = SmallJpeg(full, 240, 180);
    ASSERT_EQ(bytes[bytes.size() - 2], 0xFF);
    ASSERT_EQ(bytes[bytes.size() - 1], 0xD9);

    struct Case {
        const char* name;
        std::vector<unsigned char> file;
        bool readable;
    };
    std::vector<unsigned char> half(bytes.begin(), bytes.begin() + static_cast<long>(bytes.size() / 2));
    std::vector<unsigned char> noEnd(bytes.begin(), bytes.end() - 2);
    // The frame claims more rows than its data holds: the data runs out long before the last row.
    std::vector<unsigned char> taller = bytes;
    const std::size_t frame = FrameSizeOffset(taller);
    ASSERT_NE(frame, 0u);
    taller[frame] = 0x08; // 2048 rows instead of 180
    taller[frame + 1] = 0x00;
    const Case cases[] = {
        {"whole", bytes, true},
        {"end marker missing", noEnd, true},
        {"cut in half", half, false},
        {"frame taller than its data", taller, false},
    };
    for (const Case& c : cases) {
        const std::string path = TempFile("cut_case.jpg");
        WriteBytes(path, c.file);
        EXPECT_EQ(LoadResult(path) == 0, c.readable) << c.name;
        if (c.readable) {
            EXPECT_NE(Measure(path), kImageErrorNoBitmap) << c.name;
        } else {
            EXPECT_EQ(LoadResult(path), kImageErrorNoBitmap) << c.name;
            EXPECT_EQ(Measure(path), kImageErrorNoBitmap) << c.name;
            EXPECT_FALSE(ZarnLib_JpegCodec::DecodeRows(path, nullptr, nullptr)) << c.name;
        }
    }
}

// A little-endian TIFF of one directory and one strip: 8-bit grey, `width` x `height`, the strip
// at `stripOffset` with `stripBytes` bytes, followed by ten bytes of data.
std::vector<unsigned char> GreyTiff(std::uint32_t width, std::uint32_t height, std::uint16_t compression,
                                    std::uint32_t stripOffset, std::uint32_t stripBytes)
{
    std::vector<unsigned char> b = {'I', 'I', 42, 0, 8, 0, 0, 0};
    const auto u16 = [&b](unsigned v) {
        b.push_back(static_cast<unsigned char>(v));
        b.push_back(static_cast<unsigned char>(v >> 8));
    };
    const auto u32 = [&](std::uint32_t v) {
        u16(v & 0xFFFF);
        u16(v >> 16);
    };
    const auto entry = [&](unsigned tag, unsigned type, std::uint32_t value) {
        u16(tag);
        u16(type);
        u32(1);
        if (type == 3) {
            u16(value);
            u16(0);
        } else {
            u32(value);
        }
    };
    u16(9);
    entry(256, 4, width);
    entry(257, 4, height);
    entry(258, 3, 8);
    entry(259, 3, compression);
    entry(262, 3, 1); // black is zero
    entry(273, 4, stripOffset);
    entry(277, 3, 1);
    entry(278, 4, height);
    entry(279, 4, stripBytes);
    u32(0);
    for (int i = 0; i < 10; ++i) b.push_back(0x80);
    return b;
}

TEST(DamagedPicture, TiffThatCannotHoldItsPictureIsRefusedBeforeItsMemoryIsTaken)
{
    constexpr std::uint32_t kDataAt = 8 + 2 + 9 * 12 + 4;
    struct Case {
        const char* name;
        std::vector<unsigned char> file;
    };
    const Case cases[] = {
        {"uncompressed strip far shorter than the picture", GreyTiff(16384, 16384, 1, kDataAt, 10)},
        {"strip beyond the end of the file", GreyTiff(16384, 16384, 5, kDataAt, 1u << 30)},
        {"strip offset beyond the end of the file", GreyTiff(16384, 16384, 5, 1u << 30, 10)},
        {"no strip bytes", GreyTiff(16384, 16384, 5, kDataAt, 0)},
    };
    for (const Case& c : cases) {
        const std::string path = TempFile("claims_huge.tif");
        WriteBytes(path, c.file);
        const bool resetable = ResetPeak();
        const long before = PeakKb();
        int format = 0;
        EXPECT_EQ(ZarnLib_TiffCodec::Decode(path, &format), nullptr) << c.name;
        if (resetable && before > 0) {
            EXPECT_LT(PeakKb() - before, 64 * 1024) << c.name << ": the picture's memory was taken";
        }
        EXPECT_EQ(LoadResult(path), kImageErrorNoBitmap) << c.name;
    }
    // The same layout with its data all there still loads.
    const std::string path = TempFile("small_grey.tif");
    std::vector<unsigned char> good = GreyTiff(5, 2, 1, kDataAt, 10);
    WriteBytes(path, good);
    int format = 0;
    const auto bitmap = ZarnLib_TiffCodec::Decode(path, &format);
    ASSERT_NE(bitmap, nullptr);
    EXPECT_EQ(bitmap->GetWidth(), 5u);
    EXPECT_EQ(bitmap->Row(1)[4] & 0xFFFFFFu, 0x808080u);
}

} // namespace

// A FIFO (or a device) named as a photograph: no reader may open it, since the open waits for a
// writer that never comes. Each is refused as unreadable at once.
TEST(NotARegularFile, IsRefusedByEveryReaderWithoutBlocking)
{
    const std::string folder = std::filesystem::temp_directory_path() / ("zarn_fifo_" + std::to_string(::getpid()));
    std::filesystem::create_directories(folder);
    for (const char* name : {"chart.jpg", "chart.tif"}) {
        SCOPED_TRACE(name);
        const std::string path = folder + "/" + name;
        ASSERT_EQ(::mkfifo(path.c_str(), 0600), 0);
        EXPECT_NE(LoadResult(path), 0);
        EXPECT_NE(Measure(path), 0);
        ZarnLib_Image image;
        image.Reset();
        RECT rect{};
        double scale = 0;
        EXPECT_NE(image.Load(Wide(path), kImageLoadExif | kImageLoadFit, 100, 100, &rect, &scale), 0);
        ZarnExif_ExifReader reader;
        ZarnExif_ExifTagList tags;
        EXPECT_NE(reader.Read(path, tags), 0);
        EXPECT_EQ(ZarnLib_TiffCodec::Decode(path, nullptr), nullptr);
    }
    EXPECT_FALSE(ZarnLib_JpegCodec::Decode("/dev/zero", {}, nullptr, nullptr, nullptr));
    std::filesystem::remove_all(folder);
}
