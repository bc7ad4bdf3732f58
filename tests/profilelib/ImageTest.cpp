#include "profilelib/ZarnLib_Image.h"
#include "profilelib/ZarnLib_ImageFunctions.h"
#include "profilelib/ZarnLib_ImageManager.h"
#include "profilelib/ZarnLib_JpegCodec.h"
#include "profilelib/ZarnLib_Scales.h"
#include "tests/profilelib/ImageTestFiles.h"
#include "tests/profilelib/PngGifReader.h"

#include <gtest/gtest.h>

#include <thread>
#include <jpeglib.h>
#include <tiffio.h>

using namespace imagetest;

namespace {

std::uint32_t Gradient(int x, int y) { return Rgb((x * 7) & 0xFF, (y * 5) & 0xFF, ((x + y) * 3) & 0xFF); }

std::string WriteTiff(int w, int h, const std::string& name)
{
    auto b = MakeBitmap(w, h, Gradient);
    const std::string path = TempFile(name);
    ZarnTest_ExifWriter(false).WriteTiff(*b, path);
    return path;
}

std::uint32_t PixelOf(const ZarnLib_Image& image, int x, int y)
{
    const auto p = image.GetPixel(x, y);
    return Rgb(p[0], p[1], p[2]);
}

TEST(ImageLoad, FitRectangleAndScale)
{
    const std::string path = WriteTiff(400, 300, "fit.tif");
    const struct {
        int tw, th;
        RECT rect;
        unsigned w, h;
    } cases[] = {{40, 40, {0, 5, 40, 35}, 40, 30}, {40, 30, {0, 0, 40, 30}, 40, 30}, {80, 30, {20, 0, 60, 30}, 40, 30}};
    for (const auto& c : cases) {
        ZarnLib_Image image;
        image.Reset();
        RECT rect{};
        double scale = 0;
        ASSERT_EQ(0, image.Load(Wide(path), kImageLoadFitPlanes, c.tw, c.th, &rect, &scale));
        EXPECT_DOUBLE_EQ(0.1, scale);
        EXPECT_EQ(c.rect, rect);
        unsigned w = 0, h = 0;
        image.GetWidth(&w);
        image.GetHeight(&h);
        EXPECT_EQ(c.w, w);
        EXPECT_EQ(c.h, h);
        const ZarnLib_ImagePlanes* planes = nullptr;
        EXPECT_EQ(0, image.GetPlanes(&planes));
    }
}

TEST(ImageLoad, FlagsAndOutPointers)
{
    const std::string path = WriteTiff(64, 48, "flags.tif");
    ZarnLib_Image image;
    image.Reset();
    RECT rect{};
    double scale = 0;
    EXPECT_EQ(0, image.Load(Wide(path), kImageLoadFit, 0, 300, &rect, &scale)) << "a zero target does not fit";
    unsigned w = 0;
    image.GetWidth(&w);
    EXPECT_EQ(64u, w);
    EXPECT_EQ(-1, image.Load(Wide(path), kImageLoadFitPlanes, 32, 24, &rect, nullptr));
    image.GetWidth(&w);
    EXPECT_EQ(64u, w) << "the unfitted picture stays";

    // LoadImage hands Load a scale of its own, so a fitted load succeeds.
    EXPECT_EQ(0, LoadImage(&image, Wide(path), kImageLoadFitPlanes, 32, 24, &rect));
    EXPECT_EQ((RECT{0, 0, 32, 24}), rect);
    // Without fitting, LoadImageWithOptions asks for no fitting: the full size stays.
    RECT untouched{1, 2, 3, 4};
    EXPECT_EQ(0, LoadImageWithOptions(&image, Wide(path), false, false, true, 32, 24, &untouched));
    image.GetWidth(&w);
    EXPECT_EQ(64u, w);
    EXPECT_EQ((RECT{1, 2, 3, 4}), untouched);
    const ZarnLib_ImagePlanes* planes = nullptr;
    EXPECT_EQ(0, image.GetPlanes(&planes));
}

TEST(ImageLoad, UndecodableFilesAreErrors)
{
    const std::string garbage = TempFile("garbage.jpg");
    WriteBytes(garbage, {0xFF, 0xD8, 0xFF, 0xDB, 0, 2, 1, 2, 3});
    const std::string text = TempFile("text.tif");
    WriteBytes(text, {'h', 'e', 'l', 'l', 'o'});
    for (const std::string& p : {garbage, text, TempFile("missing.jpg")}) {
        ZarnLib_Image image;
        image.Reset();
        RECT rect{};
        double scale = 0;
        EXPECT_EQ(kImageErrorNoBitmap, image.Load(Wide(p), kImageLoadFitPlanes, 100, 100, &rect, &scale)) << p;
        EXPECT_EQ(0.0, scale);
    }
    ZarnLib_Image noReader;
    EXPECT_EQ(-1, noReader.Load(L"x", 0, 0, 0, nullptr, nullptr));
}

TEST(ImageLoad, ExactCopyAtScaleOneAndDeterministicFit)
{
    const std::string path = WriteTiff(120, 90, "exact.tif");
    ZarnLib_Image a, b;
    a.Reset();
    RECT rect{};
    double scale = 0;
    ASSERT_EQ(0, a.Load(Wide(path), kImageLoadFit, 120, 90, &rect, &scale));
    for (int y = 0; y < 90; y += 7)
        for (int x = 0; x < 120; x += 5)
            ASSERT_EQ(Gradient(x, y), PixelOf(a, x, y)) << x << "," << y;

    // A JPEG fitted twice to the same rectangle gives the same pixels.
    auto big = MakeBitmap(640, 480, Gradient);
    const std::string jpeg = TempFile("fit.jpg");
    ASSERT_TRUE(ZarnLib_JpegCodec::Encode(*big, jpeg, 90));
    a.Reset();
    b.Reset();
    ASSERT_EQ(0, a.Load(Wide(jpeg), kImageLoadFitPlanes, 70, 50, &rect, &scale));
    ASSERT_EQ(0, b.Load(Wide(jpeg), kImageLoadFitPlanes, 70, 50, &rect, &scale));
    const ZarnLib_ImagePlanes *pa = nullptr, *pb = nullptr;
    a.GetPlanes(&pa);
    b.GetPlanes(&pb);
    unsigned w = 0, h = 0;
    a.GetWidth(&w);
    a.GetHeight(&h);
    EXPECT_EQ((RECT{1, 0, 67, 50}), rect);
    EXPECT_TRUE(std::equal(pa->green.get(), pa->green.get() + w * h, pb->green.get()));
}

TEST(ImageLoad, AreaAverageWhenShrinking)
{
    // A 2 x 2 checker of 0 and 200 shrunk by two is 100 everywhere.
    auto b = MakeBitmap(64, 64, [](int x, int y) { return ((x + y) % 2) ? Rgb(200, 200, 200) : Rgb(0, 0, 0); });
    const std::string path = TempFile("checker.tif");
    ZarnTest_ExifWriter(true).WriteTiff(*b, path);
    ZarnLib_Image image;
    image.Reset();
    RECT rect{};
    double scale = 0;
    ASSERT_EQ(0, image.Load(Wide(path), kImageLoadFitPlanes, 32, 32, &rect, &scale));
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x)
            ASSERT_EQ(Rgb(100, 100, 100), PixelOf(image, x, y));
}

TEST(ImageLoad, GreyJpegGivesEqualChannels)
{
    const std::string path = TempFile("grey.jpg");
    {
        std::FILE* f = std::fopen(path.c_str(), "wb");
        jpeg_compress_struct c{};
        jpeg_error_mgr e{};
        c.err = jpeg_std_error(&e);
        jpeg_create_compress(&c);
        jpeg_stdio_dest(&c, f);
        c.image_width = 32;
        c.image_height = 16;
        c.input_components = 1;
        c.in_color_space = JCS_GRAYSCALE;
        jpeg_set_defaults(&c);
        jpeg_start_compress(&c, TRUE);
        std::vector<unsigned char> row(32);
        for (int y = 0; y < 16; ++y) {
            for (int x = 0; x < 32; ++x)
                row[x] = static_cast<unsigned char>(x * 8);
            JSAMPROW p = row.data();
            jpeg_write_scanlines(&c, &p, 1);
        }
        jpeg_finish_compress(&c);
        jpeg_destroy_compress(&c);
        std::fclose(f);
    }
    ZarnLib_Image image;
    image.Reset();
    ASSERT_EQ(0, image.Load(Wide(path), 0, 0, 0, nullptr, nullptr));
    EXPECT_EQ(ZarnLib_Bitmap::kFormat8bppIndexed, image.GetReader()->GetPixelFormat());
    for (int x = 0; x < 32; x += 3) {
        const auto p = image.GetPixel(x, 5);
        EXPECT_EQ(p[0], p[1]);
        EXPECT_EQ(p[1], p[2]);
        EXPECT_NEAR(x * 8, p[0], 4);
    }
}

// TIFF layouts written with libtiff: the decoded pixels match the source.
TEST(ImageLoad, TiffLayouts)
{
    const struct {
        const char* name;
        uint16_t bits, samples, photometric, compression;
        bool tiled;
    } cases[] = {
        {"rgb8 lzw strips", 8, 3, PHOTOMETRIC_RGB, COMPRESSION_LZW, false},
        {"rgb8 deflate tiles", 8, 3, PHOTOMETRIC_RGB, COMPRESSION_ADOBE_DEFLATE, true},
        {"rgb16 none", 16, 3, PHOTOMETRIC_RGB, COMPRESSION_NONE, false},
        {"grey8 packbits", 8, 1, PHOTOMETRIC_MINISBLACK, COMPRESSION_PACKBITS, false},
        {"grey16 lzw tiles", 16, 1, PHOTOMETRIC_MINISBLACK, COMPRESSION_LZW, true},
        {"palette8", 8, 1, PHOTOMETRIC_PALETTE, COMPRESSION_NONE, false},
    };
    const int w = 48, h = 32;
    for (const auto& c : cases) {
        const std::string path = TempFile(std::string("layout_") + std::to_string(&c - cases) + ".tif");
        TIFF* t = TIFFOpen(path.c_str(), "w");
        ASSERT_NE(nullptr, t);
        TIFFSetField(t, TIFFTAG_IMAGEWIDTH, w);
        TIFFSetField(t, TIFFTAG_IMAGELENGTH, h);
        TIFFSetField(t, TIFFTAG_BITSPERSAMPLE, c.bits);
        TIFFSetField(t, TIFFTAG_SAMPLESPERPIXEL, c.samples);
        TIFFSetField(t, TIFFTAG_PHOTOMETRIC, c.photometric);
        TIFFSetField(t, TIFFTAG_PLANARCONFIG, PLANARCONFIG_CONTIG);
        TIFFSetField(t, TIFFTAG_COMPRESSION, c.compression);
        std::vector<uint16_t> map(256);
        for (int i = 0; i < 256; ++i)
            map[i] = static_cast<uint16_t>(i * 257);
        if (c.photometric == PHOTOMETRIC_PALETTE)
            TIFFSetField(t, TIFFTAG_COLORMAP, map.data(), map.data(), map.data());
        auto sample = [&](int x, int y, int s) { return (x * 6 + y * 2 + s * 40) & 0xFF; };
        const int bytes = c.bits / 8;
        if (c.tiled) {
            TIFFSetField(t, TIFFTAG_TILEWIDTH, 16);
            TIFFSetField(t, TIFFTAG_TILELENGTH, 16);
            std::vector<unsigned char> tile(16 * 16 * c.samples * bytes);
            for (int ty = 0; ty < h; ty += 16)
                for (int tx = 0; tx < w; tx += 16) {
                    std::fill(tile.begin(), tile.end(), 0);
                    for (int y = 0; y < 16; ++y)
                        for (int x = 0; x < 16; ++x)
                            for (int s = 0; s < c.samples; ++s) {
                                const int v = sample(tx + x, ty + y, s);
                                const std::size_t i = (static_cast<std::size_t>(y) * 16 + x) * c.samples + s;
                                if (bytes == 1)
                                    tile[i] = static_cast<unsigned char>(v);
                                else
                                    reinterpret_cast<uint16_t*>(tile.data())[i] = static_cast<uint16_t>(v * 257);
                            }
                    TIFFWriteTile(t, tile.data(), tx, ty, 0, 0);
                }
        } else {
            TIFFSetField(t, TIFFTAG_ROWSPERSTRIP, 8);
            std::vector<unsigned char> row(w * c.samples * bytes);
            for (int y = 0; y < h; ++y) {
                for (int x = 0; x < w; ++x)
                    for (int s = 0; s < c.samples; ++s) {
                        const int v = sample(x, y, s);
                        if (bytes == 1)
                            row[x * c.samples + s] = static_cast<unsigned char>(v);
                        else
                            reinterpret_cast<uint16_t*>(row.data())[x * c.samples + s] = static_cast<uint16_t>(v * 257);
                    }
                TIFFWriteScanline(t, row.data(), y, 0);
            }
        }
        TIFFClose(t);
        ZarnLib_Image image;
        image.Reset();
        ASSERT_EQ(0, image.Load(Wide(path), 0, 0, 0, nullptr, nullptr)) << c.name;
        for (int y = 0; y < h; y += 5)
            for (int x = 0; x < w; x += 3) {
                const auto p = image.GetPixel(x, y);
                for (int s = 0; s < 3; ++s)
                    ASSERT_EQ(sample(x, y, c.samples == 3 ? s : 0), p[s]) << c.name << " " << x << "," << y;
            }
    }
}

TEST(ImageLoad, SeveralThreadsLoadAtOnce)
{
    auto big = MakeBitmap(300, 200, Gradient);
    const std::string jpeg = TempFile("threads.jpg");
    ASSERT_TRUE(ZarnLib_JpegCodec::Encode(*big, jpeg, 85));
    const std::string tiff = WriteTiff(300, 200, "threads.tif");
    std::vector<std::vector<unsigned char>> greens(8);
    std::vector<std::thread> threads;
    for (int i = 0; i < 8; ++i) {
        threads.emplace_back([&, i] {
            ZarnLib_Image image;
            image.Reset();
            RECT rect{};
            double scale = 0;
            if (image.Load(Wide(i % 2 ? jpeg : tiff), kImageLoadFitPlanes, 90, 60, &rect, &scale) != 0)
                return;
            const ZarnLib_ImagePlanes* p = nullptr;
            image.GetPlanes(&p);
            greens[i].assign(p->green.get(), p->green.get() + 90 * 60);
        });
    }
    for (auto& t : threads)
        t.join();
    for (int i = 2; i < 8; ++i)
        EXPECT_EQ(greens[i % 2], greens[i]);
    EXPECT_EQ(5400u, greens[0].size());
}

struct ExifCase {
    const char* name;
    std::function<void(ZarnTest_ExifWriter&)> tags;
    int iso;          // -1: GetIso fails
    double seconds;   // 0: GetExposureTime fails
    double fNumber;   // 0: GetFNumber fails
};

TEST(ImageExif, EvaluationPicksAndChecksTheExposureTags)
{
    const ExifCase cases[] = {
        {"plain", [](ZarnTest_ExifWriter& w) { w.AddExposure(100, 1, 250, 56, 10); }, 100, 0.004, 5.6},
        {"ISO 65535, sensitivity type 2",
         [](ZarnTest_ExifWriter& w) {
             w.AddShort(true, 34855, {65535});
             w.AddShort(true, 34864, {2});
             w.AddLong(true, 34867, 25600);
         },
         -1, 0, 0},
        {"ISO 65535, sensitivity type 3",
         [](ZarnTest_ExifWriter& w) {
             w.AddShort(true, 34855, {65535});
             w.AddShort(true, 34864, {3});
             w.AddLong(true, 34867, 25600);
         },
         25600, 0, 0},
        {"ISO 150 is not nominal", [](ZarnTest_ExifWriter& w) { w.AddShort(true, 34855, {150}); }, -1, 0, 0},
        {"APEX shutter value wins",
         [](ZarnTest_ExifWriter& w) {
             w.AddRational(true, 37377, 69, 10, true);
             w.AddRational(true, 33434, 1, 100);
         },
         -1, ShutterIndexToSeconds(54), 0},
        {"exposure time with denominator 0", [](ZarnTest_ExifWriter& w) { w.AddRational(true, 33434, 1, 0); }, -1, 0, 0},
        {"exposure time 0 is absent", [](ZarnTest_ExifWriter& w) { w.AddRational(true, 33434, 0, 1); }, -1, 0, 0},
        {"APEX aperture when no f-number", [](ZarnTest_ExifWriter& w) { w.AddRational(true, 37378, 5, 1); }, -1, 0,
         ApertureIndexToFNumber(20)},
    };
    auto bitmap = MakeBitmap(16, 16, Gradient);
    for (bool bigEndian : {false, true}) {
        for (const auto& c : cases) {
            ZarnTest_ExifWriter w(bigEndian);
            c.tags(w);
            const std::string path = TempFile("exif_eval.jpg");
            ASSERT_TRUE(w.WriteJpeg(*bitmap, path, 80));
            ZarnLib_Image image;
            image.Reset();
            ASSERT_EQ(0, image.Load(Wide(path), kImageLoadExif, 0, 0, nullptr, nullptr));
            int iso = -7;
            double t = 0, f = 0;
            EXPECT_EQ(c.iso, image.GetIso(&iso) == 0 ? iso : -1) << c.name;
            EXPECT_EQ(c.seconds, image.GetExposureTime(&t) == 0 ? t : 0.0) << c.name;
            EXPECT_EQ(c.fNumber, image.GetFNumber(&f) == 0 ? f : 0.0) << c.name;
        }
    }
}

TEST(ImageExif, IndicesAndTexts)
{
    ZarnTest_ExifWriter w(false);
    w.AddExposure(100, 1, 250, 56, 10);
    auto bitmap = MakeBitmap(16, 16, Gradient);
    const std::string path = TempFile("exif_idx.tif");
    ASSERT_TRUE(w.WriteTiff(*bitmap, path));
    ZarnLib_Image image;
    ASSERT_EQ(0, LoadImageWithOptions(&image, Wide(path), false, true, false, 0, 0, nullptr));
    int iso = 0, shutter = 0, aperture = 0;
    EXPECT_EQ(0, GetExifIso(&image, &iso));
    EXPECT_EQ(100, iso);
    EXPECT_EQ(0, GetExifShutterIndex(&image, &shutter));
    EXPECT_EQ(SecondsToShutterIndex(0.004), shutter);
    EXPECT_EQ(0, GetExifApertureIndex(&image, &aperture));
    EXPECT_EQ(20, aperture);
    std::string text;
    EXPECT_EQ(0, GetExifExposureTimeText(&image, &text));
    EXPECT_EQ("0.004", text);
    EXPECT_EQ(0, GetExifFNumberText(&image, &text));
    EXPECT_EQ("5.6", text);
    EXPECT_EQ(0, image.GetIsoText(&text));
    EXPECT_EQ("100", text);
    EXPECT_EQ(-1, GetExifFNumberText(nullptr, &text));

    // Loaded without Exif values: nothing is valid.
    ASSERT_EQ(0, LoadImageWithOptions(&image, Wide(path), false, false, false, 0, 0, nullptr));
    EXPECT_EQ(-1, GetExifShutterIndex(&image, &shutter));
}

TEST(ImagePixels, BrightnessSetPixelAndGrey)
{
    ZarnLib_Image image;
    auto b = MakeBitmap(8, 6, [](int, int) { return Rgb(200, 100, 0); });
    ASSERT_EQ(0, LoadWithPlanes(*b, "bright.tif", image));
    const struct {
        int amount;
        std::uint32_t colour;
    } cases[] = {{45, Rgb(218, 109, 0)}, {-54, Rgb(100, 50, 0)}, {0, Rgb(200, 100, 0)}, {10000, Rgb(255, 255, 0)}};
    for (const auto& c : cases) {
        EXPECT_EQ(0, image.AdjustBrightness(c.amount));
        EXPECT_EQ(c.colour, PixelOf(image, 3, 3)) << c.amount;
    }

    EXPECT_EQ(-1, image.SetPixel(-1, 0, 1, 2, 3));
    EXPECT_EQ(-1, image.SetPixel(8, 0, 1, 2, 3));
    EXPECT_EQ(-1, image.SetPixel(0, 6, 1, 2, 3));
    EXPECT_EQ(-1, image.SetPixel(0, 0, 256, 2, 3));
    EXPECT_EQ(0, image.SetPixel(7, 5, 1, 2, 3));
    EXPECT_EQ(Rgb(1, 2, 3), PixelOf(image, 7, 5));
    EXPECT_EQ(Rgb(0, 0, 0), PixelOf(image, 8, 5)) << "outside reads black";
    auto row = image.GetRowPixels(3, 6, 5);
    EXPECT_EQ(1, row->red[1]);
    EXPECT_EQ(1, row->red[2]) << "past the edge the last colour repeats";

    // Without planes brightness is refused instead of reading missing planes.
    ZarnLib_Image plain;
    plain.Reset();
    ASSERT_EQ(0, plain.Load(Wide(TempFile("bright.tif")), 0, 0, 0, nullptr, nullptr));
    EXPECT_EQ(-1, plain.AdjustBrightness(10));

    // Grey conversion: green 200 on both neighbours gives 200, not (400 mod 256) / 2.
    ZarnLib_Image grey;
    grey.Reset();
    grey.SetGreyConversion(true);
    ASSERT_EQ(0, grey.Load(Wide(TempFile("bright.tif")), 0, 0, 0, nullptr, nullptr));
    EXPECT_EQ(Rgb(100, 100, 100), PixelOf(grey, 0, 0));
    auto green = MakeBitmap(5, 5, [](int, int) { return Rgb(0, 200, 0); });
    ZarnTest_ExifWriter(false).WriteTiff(*green, TempFile("green.tif"));
    ASSERT_EQ(0, grey.Load(Wide(TempFile("green.tif")), 0, 0, 0, nullptr, nullptr));
    EXPECT_EQ(Rgb(200, 200, 200), PixelOf(grey, 1, 1));
    EXPECT_EQ(Rgb(200, 200, 200), PixelOf(grey, 4, 1)) << "last column takes the last level";
    EXPECT_EQ(Rgb(0, 0, 0), PixelOf(grey, 3, 1)) << "the column before it stays 0";
}

TEST(ImageSave, FormatsNamesAndFailures)
{
    auto b = MakeBitmap(10, 8, Gradient);
    const std::string src = TempFile("IMG_1.tif");
    ZarnTest_ExifWriter(false).WriteTiff(*b, src);
    const std::filesystem::path out = TempDir() / "out";
    std::filesystem::create_directories(out);
    ZarnLib_Image image;
    image.Reset();
    ASSERT_EQ(0, image.Load(Wide(src), 0, 0, 0, nullptr, nullptr));
    image.SetSavePath(out.string());
    EXPECT_EQ(out.string() + "/", image.GetReader()->GetSavePath());
    const struct {
        int format;
        int result;
        const char* file;
    } cases[] = {{0, 0, "IMG_1.bmp"}, {2, 0, "IMG_1.jpg"}, {4, 0, "IMG_1.tif"}, {1, 0, "IMG_1.png"},
                 {3, 0, "IMG_1.gif"}, {9, 0, "IMG_1.bmp"}, {-3, 0, "IMG_1.bmp"}};
    for (const auto& c : cases) {
        std::filesystem::remove(out / c.file);
        image.SetSaveFormat(c.format);
        EXPECT_EQ(c.result, image.Save()) << c.format;
        EXPECT_EQ(c.result == 0, std::filesystem::exists(out / c.file)) << c.format;
    }
    // Saved TIFF reads back with the same pixels.
    ZarnLib_Image back;
    back.Reset();
    ASSERT_EQ(0, back.Load(Wide((out / "IMG_1.tif").string()), 0, 0, 0, nullptr, nullptr));
    EXPECT_EQ(Gradient(9, 7), PixelOf(back, 9, 7));

    image.SetSavePath("/nonexistent-folder/sub");
    for (int format : {1, 3, 0}) {
        image.SetSaveFormat(format);
        EXPECT_EQ(-1, image.Save()) << "a failed write is reported: format " << format;
    }
    image.SetSavePath(std::string(300, 'a'));
    EXPECT_EQ(-1, image.Save()) << "names of 256 characters or more are refused";

    const struct {
        const char* in;
        const char* stored;
    } paths[] = {{"D:\\out", "D:\\out\\"}, {"D:\\out\\", "D:\\out\\"}, {"", ""}, {"/tmp/x/", "/tmp/x/"}};
    for (const auto& p : paths) {
        image.SetSavePath(p.in);
        EXPECT_EQ(p.stored, image.GetReader()->GetSavePath());
    }
}

namespace {

// Saves the bitmap in the format through a loaded image (the picture is loaded from a lossless
// TIFF) and returns the saved file's path.
std::string SaveAs(const ZarnLib_Bitmap& bitmap, const std::string& stem, int format, int* result)
{
    ZarnLib_Image image;
    const std::string tiff = TempFile(stem + ".tif");
    ZarnTest_ExifWriter(false).WriteTiff(bitmap, tiff);
    image.Reset();
    EXPECT_EQ(0, image.Load(Wide(tiff), 0, 0, 0, nullptr, nullptr));
    const std::filesystem::path out = TempDir() / "saved";
    std::filesystem::create_directories(out);
    image.SetSavePath(out.string());
    image.SetSaveFormat(format);
    *result = image.Save();
    return (out / (stem + (format == 1 ? ".png" : ".gif"))).string();
}

std::vector<std::uint32_t> PixelsOf(const ZarnLib_Bitmap& bitmap)
{
    std::vector<std::uint32_t> pixels;
    for (std::uint32_t y = 0; y < bitmap.GetHeight(); ++y)
        for (std::uint32_t x = 0; x < bitmap.GetWidth(); ++x)
            pixels.push_back(bitmap.Row(y)[x] & 0xFFFFFF);
    return pixels;
}

// A distinct colour for each of the first 65536 indexes.
std::uint32_t Distinct(int i)
{
    return Rgb(static_cast<unsigned>(i * 37) & 0xFF, static_cast<unsigned>(i / 7) & 0xFF, 90);
}

} // namespace

TEST(ImageSave, PngKeepsEveryPixel)
{
    auto b = MakeBitmap(40, 30, Gradient); // 1200 colours
    int result = -1;
    const std::string path = SaveAs(*b, "true_colour", 1, &result);
    ASSERT_EQ(0, result);
    const ReadPicture back = ReadPng(path);
    EXPECT_EQ(40u, back.width);
    EXPECT_EQ(30u, back.height);
    EXPECT_EQ(PixelsOf(*b), back.pixels);
}

TEST(ImageSave, GifKeepsUpTo256ColoursExactly)
{
    const struct {
        int w, h;
    } sizes[] = {{1, 1}, {10, 8}, {16, 16}, {64, 4}}; // 1, 80, 256 and 256 colours
    for (const auto& size : sizes) {
        const int w = size.w;
        auto b = MakeBitmap(size.w, size.h, [w](int x, int y) { return Distinct((y * w + x) % 256); });
        int result = -1;
        const std::string path = SaveAs(*b, "paletted" + std::to_string(w), 3, &result);
        ASSERT_EQ(0, result) << w;
        const ReadPicture back = ReadGif(path);
        EXPECT_EQ(static_cast<std::uint32_t>(size.w), back.width);
        EXPECT_EQ(PixelsOf(*b), back.pixels) << w;
    }
    // Created with the same permissions as the other formats' files (not for its owner alone).
    auto b = MakeBitmap(2, 2, Gradient);
    int gif = -1;
    int png = -1;
    const std::string gifPath = SaveAs(*b, "modes", 3, &gif);
    const std::string pngPath = SaveAs(*b, "modes", 1, &png);
    ASSERT_EQ(0, gif);
    ASSERT_EQ(0, png);
    EXPECT_EQ(std::filesystem::status(pngPath).permissions(), std::filesystem::status(gifPath).permissions());
}

TEST(ImageSave, GifReducesMoreColoursToTheHalftoneCube)
{
    // 257 colours: one more than a GIF table holds.
    auto b = MakeBitmap(257, 3, [](int x, int y) { return y == 1 ? Distinct(x) : Gradient(x, y); });
    int result = -1;
    const std::string path = SaveAs(*b, "reduced", 3, &result);
    ASSERT_EQ(0, result);
    const ReadPicture back = ReadGif(path);
    ASSERT_EQ(PixelsOf(*b).size(), back.pixels.size());
    EXPECT_EQ(256u, back.paletteSize);
    const std::vector<std::uint32_t> before = PixelsOf(*b);
    for (std::size_t i = 0; i < before.size(); ++i) {
        for (int shift : {16, 8, 0}) {
            const unsigned c = (before[i] >> shift) & 0xFF;
            const unsigned level = (c + 25) / 51 * 51; // the nearest of 0, 51, ..., 255
            ASSERT_EQ(level, (back.pixels[i] >> shift) & 0xFF) << i;
        }
    }
}

TEST(ImageSave, GifWiderThanItsSizeFieldIsRefused)
{
    auto b = MakeBitmap(65536, 1, [](int x, int) { return Rgb(x & 1, 0, 0); });
    int result = 0;
    const std::string path = SaveAs(*b, "too_wide", 3, &result);
    EXPECT_EQ(-1, result);
    EXPECT_FALSE(std::filesystem::exists(path));
}

TEST(ImageCopy, CopyAndManager)
{
    ZarnLib_Image image;
    auto b = MakeBitmap(8, 6, Gradient);
    ASSERT_EQ(0, LoadWithPlanes(*b, "copy.tif", image));
    ZarnLib_Image copy(image);
    image.SetPixel(1, 1, 9, 9, 9);
    EXPECT_EQ(Gradient(1, 1), PixelOf(copy, 1, 1));
    const ZarnLib_ImagePlanes* planes = nullptr;
    EXPECT_EQ(0, copy.GetPlanes(&planes));
    ZarnLib_Image empty;
    copy = empty;
    EXPECT_EQ(nullptr, copy.GetReader());

    ZarnLib_ImageManager manager;
    EXPECT_EQ(-1, manager.Add(nullptr));
    auto* held = new ZarnLib_Image(image);
    EXPECT_EQ(0, manager.Add(held));
    EXPECT_EQ(held, manager.Find(Wide(TempFile("copy.tif"))));
    EXPECT_EQ(-1, manager.Remove(L"other"));
    EXPECT_EQ(0, manager.Remove(Wide(TempFile("copy.tif"))));
    EXPECT_EQ(nullptr, manager.Find(Wide(TempFile("copy.tif"))));
}

TEST(ImageHelpers, PathAndApex)
{
    EXPECT_EQ(L"IMG_1.JPG", FileNameOfPath(L"C:\\photos\\IMG_1.JPG"));
    EXPECT_EQ(L"a.jpg", FileNameOfPath(L"/x/a.jpg"));
    EXPECT_EQ(L"plain", FileNameOfPath(L"plain"));
    double v = 1;
    EXPECT_TRUE(ApexTvToSeconds(6.9, &v));
    EXPECT_EQ(ShutterIndexToSeconds(54), v);
    EXPECT_FALSE(ApexTvToSeconds(40, &v));
    EXPECT_EQ(0, v);
    EXPECT_TRUE(ApexAvToFNumber(0.5, &v));
    EXPECT_EQ(ApertureIndexToFNumber(7), v);
    EXPECT_EQ(kImageValueAbsent, TvToSeconds(kImageValueAbsent));
    EXPECT_EQ(0.125, TvToSeconds(3));
    EXPECT_EQ("x", FormatIntText(false, 3, "%d", "x"));
    EXPECT_EQ("3", FormatIntText(true, 3, "%d", "x"));
}

} // namespace
