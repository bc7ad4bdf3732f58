// The chart measurement decodes the photograph row by row; the whole-picture
// reference loads it into a bitmap and reads every sample from there. Both must
// give the same result and exactly the same curve, for every decoder path (RGB,
// grey and CMYK JPEG; plain RGB and grey TIFF strips; a tiled TIFF that is
// loaded whole) and for upright, slightly and strongly rotated charts.
#include "profilelib/ZarnLib_ChartMeasure.h"
#include "profilelib/ZarnLib_CnvPolyLine.h"
#include "profilelib/ZarnLib_KestrinPatchElement.h"
#include "profilelib/ZarnLib_Profile.h"
#include "profilelib/ZarnLib_ProfileEntry.h"
#include "tests/profilelib/ImageTestFiles.h"
#include "tests/support/ZarnTest_ChartPhoto.h"
#include "tests/support/ZarnTest_WholePictureMeasure.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>

#include <jpeglib.h>
#include <tiffio.h>

using namespace imagetest;

namespace {

enum class Format { Jpeg, GreyJpeg, CmykJpeg, Tiff, GreyTiff, TiledTiff };

unsigned char Channel(std::uint32_t argb, int shift) { return static_cast<unsigned char>(argb >> shift); }

// Writes a JPEG of the bitmap's colours (components 3), its green channel (1)
// or CMYK inks (4).
bool WriteJpeg(const ZarnLib_Bitmap& bitmap, const std::string& path, int components)
{
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (!f)
        return false;
    jpeg_compress_struct c {};
    jpeg_error_mgr e {};
    c.err = jpeg_std_error(&e);
    jpeg_create_compress(&c);
    jpeg_stdio_dest(&c, f);
    c.image_width = bitmap.GetWidth();
    c.image_height = bitmap.GetHeight();
    c.input_components = components;
    c.in_color_space = components == 1 ? JCS_GRAYSCALE : components == 3 ? JCS_RGB : JCS_CMYK;
    jpeg_set_defaults(&c);
    jpeg_set_quality(&c, 90, TRUE);
    jpeg_start_compress(&c, TRUE);
    std::vector<unsigned char> row(static_cast<std::size_t>(bitmap.GetWidth()) * components);
    for (std::uint32_t y = 0; y < bitmap.GetHeight(); ++y) {
        const std::uint32_t* src = bitmap.Row(y);
        for (std::uint32_t x = 0; x < bitmap.GetWidth(); ++x) {
            const unsigned char r = Channel(src[x], 16), g = Channel(src[x], 8), b = Channel(src[x], 0);
            unsigned char* out = row.data() + static_cast<std::size_t>(x) * components;
            if (components == 1) {
                out[0] = g;
            } else if (components == 3) {
                out[0] = r, out[1] = g, out[2] = b;
            } else {
                // Adobe-style inverted CMYK with black 255 - max(r, g, b) and light
                // inks.
                out[0] = r, out[1] = g, out[2] = b, out[3] = static_cast<unsigned char>(std::max({ r, g, b }));
            }
        }
        JSAMPROW p = row.data();
        jpeg_write_scanlines(&c, &p, 1);
    }
    jpeg_finish_compress(&c);
    jpeg_destroy_compress(&c);
    return std::fclose(f) == 0;
}

// An 8-bit TIFF: grey strips of the green channel, or RGB tiles (a layout
// loaded whole).
bool WriteTiff(const ZarnLib_Bitmap& bitmap, const std::string& path, bool tiled)
{
    TIFF* t = TIFFOpen(path.c_str(), "w");
    if (!t)
        return false;
    const std::uint32_t w = bitmap.GetWidth(), h = bitmap.GetHeight();
    const int samples = tiled ? 3 : 1;
    TIFFSetField(t, TIFFTAG_IMAGEWIDTH, w);
    TIFFSetField(t, TIFFTAG_IMAGELENGTH, h);
    TIFFSetField(t, TIFFTAG_BITSPERSAMPLE, 8);
    TIFFSetField(t, TIFFTAG_SAMPLESPERPIXEL, samples);
    TIFFSetField(t, TIFFTAG_PHOTOMETRIC, tiled ? PHOTOMETRIC_RGB : PHOTOMETRIC_MINISBLACK);
    TIFFSetField(t, TIFFTAG_PLANARCONFIG, PLANARCONFIG_CONTIG);
    TIFFSetField(t, TIFFTAG_COMPRESSION, COMPRESSION_LZW);
    bool ok = true;
    if (tiled) {
        const std::uint32_t side = 64;
        TIFFSetField(t, TIFFTAG_TILEWIDTH, side);
        TIFFSetField(t, TIFFTAG_TILELENGTH, side);
        std::vector<unsigned char> tile(side * side * 3);
        for (std::uint32_t ty = 0; ok && ty < h; ty += side) {
            for (std::uint32_t tx = 0; ok && tx < w; tx += side) {
                std::fill(tile.begin(), tile.end(), 0);
                for (std::uint32_t y = 0; y < side && ty + y < h; ++y) {
                    for (std::uint32_t x = 0; x < side && tx + x < w; ++x) {
                        const std::uint32_t v = bitmap.Row(ty + y)[tx + x];
                        unsigned char* out = tile.data() + (static_cast<std::size_t>(y) * side + x) * 3;
                        out[0] = Channel(v, 16), out[1] = Channel(v, 8), out[2] = Channel(v, 0);
                    }
                }
                ok = TIFFWriteTile(t, tile.data(), tx, ty, 0, 0) >= 0;
            }
        }
    } else {
        TIFFSetField(t, TIFFTAG_ROWSPERSTRIP, 16);
        std::vector<unsigned char> line(w);
        for (std::uint32_t y = 0; ok && y < h; ++y) {
            for (std::uint32_t x = 0; x < w; ++x)
                line[x] = Channel(bitmap.Row(y)[x], 8);
            ok = TIFFWriteScanline(t, line.data(), y, 0) == 1;
        }
    }
    TIFFClose(t);
    return ok;
}

bool WritePhoto(const ZarnLib_Bitmap& bitmap, const std::string& path, Format format)
{
    switch (format) {
    case Format::Jpeg:
        return WriteJpeg(bitmap, path, 3);
    case Format::GreyJpeg:
        return WriteJpeg(bitmap, path, 1);
    case Format::CmykJpeg:
        return WriteJpeg(bitmap, path, 4);
    case Format::Tiff:
        return ZarnTest_ExifWriter(true).WriteTiff(bitmap, path);
    case Format::GreyTiff:
        return WriteTiff(bitmap, path, false);
    case Format::TiledTiff:
        return WriteTiff(bitmap, path, true);
    }
    return false;
}

std::unique_ptr<ZarnLib_Bitmap> Chart(int kind, double angle, ZarnTest_ChartPoint truth[4])
{
    ZarnTest_ChartSpec drawing;
    drawing.kind = kind;
    drawing.width = 1200;
    drawing.height = 900;
    drawing.angle = angle;
    drawing.chartFraction = std::fabs(angle) > 45 && angle < 170 ? 0.5 : 0.7;
    drawing.crossArm = 50;
    drawing.crossHalfWidth = 5.4;
    drawing.stripePeriod = 43;
    drawing.toneCurve = [](double ev) { return 25 + 210 / (1 + std::exp(-1.1 * ev)); };
    drawing.exposure = -0.2;
    auto bitmap = ZarnTest_ChartPhoto::Render(drawing, truth);
    // Saw-tooth ramps across rows and columns inside every patch, so that a
    // sample read one row or one column off changes the truncated means.
    for (std::uint32_t y = 0; bitmap && y < bitmap->GetHeight(); ++y) {
        std::uint32_t* row = bitmap->Row(y);
        for (std::uint32_t x = 0; x < bitmap->GetWidth(); ++x) {
            const int ramp = static_cast<int>(y % 50) + static_cast<int>(x % 70) * 5 / 7 - 50;
            std::uint32_t v = row[x] & 0xFF000000u;
            for (int shift : { 16, 8, 0 })
                v |= static_cast<std::uint32_t>(std::clamp(static_cast<int>(Channel(row[x], shift)) + ramp, 0, 255))
                    << shift;
            row[x] = v;
        }
    }
    return bitmap;
}

ZarnLib_PatchKey TableKey()
{
    ZarnLib_PatchKey key;
    key.SetIso(200);
    key.SetIlShutter(40);
    key.SetIlAperture(20);
    key.SetRlShutter(40);
    key.SetRlAperture(20);
    return key;
}

ZarnLib_EntryKey PhotoKey()
{
    ZarnLib_EntryKey key;
    key.SetIso(200);
    key.SetShutter(40);
    key.SetAperture(20);
    return key;
}

// The levels of the one curve a measurement added; empty when it added none.
std::vector<double> Levels(const ZarnLib_Profile& profile)
{
    std::vector<double> levels;
    ZarnLib_KestrinPatchElement* table = profile.TableCount() == 1 ? profile.GetTableAt(0) : nullptr;
    ZarnLib_CnvPolyLine curve;
    if (!table || table->GetEntryCount() != 1 || table->GetEntry(0)->GetCurve(&curve) != 0)
        return levels;
    for (int k = 0; k < curve.GetCount(); ++k) {
        _ZARNLIB_VECTOR2 p {};
        curve.GetPoint(&p, k);
        levels.push_back(p.y);
    }
    return levels;
}

struct Outcome {
    int result;
    std::vector<double> levels;
};

Outcome Streamed(const std::string& path, const POINT c[4], int kind)
{
    ZarnLib_Profile profile;
    const int r = MeasureChartPhoto(Wide(path), c[0], c[1], c[2], c[3], kind, TableKey(), PhotoKey(), &profile);
    return { r, Levels(profile) };
}

Outcome WholePicture(const std::string& path, const POINT c[4], int kind)
{
    ZarnLib_Profile profile;
    const int r = ZarnTest_WholePictureMeasure::Measure(
        Wide(path), c[0], c[1], c[2], c[3], kind, TableKey(), PhotoKey(), &profile);
    return { r, Levels(profile) };
}

struct Case {
    const char* name;
    int kind;
    double angle;
    Format format;
};

TEST(ChartMeasureStream, SameCurveAsTheWholePicture)
{
    const Case cases[] = {
        { "kind 2 upright JPEG", 2, 0.0, Format::Jpeg },
        { "kind 3 upright grey JPEG", 3, 0.0, Format::GreyJpeg },
        { "kind 6 rotated 10 CMYK JPEG", 6, 10.0, Format::CmykJpeg },
        { "kind 1 rotated 60 JPEG", 1, 60.0, Format::Jpeg },
        { "kind 3 upside down JPEG", 3, 180.0, Format::Jpeg },
        { "kind 2 rotated 2.5 TIFF", 2, 2.5, Format::Tiff },
        { "kind 6 rotated -60 TIFF", 6, -60.0, Format::Tiff },
        { "kind 1 tilted 1.9 grey TIFF", 1, 1.9, Format::GreyTiff },
        { "kind 3 rotated 10 tiled TIFF", 3, 10.0, Format::TiledTiff },
    };
    for (const Case& c : cases) {
        ZarnTest_ChartPoint truth[4];
        auto bitmap = Chart(c.kind, c.angle, truth);
        ASSERT_TRUE(bitmap) << c.name;
        const std::string path = TempFile(
            std::string("stream_") + std::to_string(&c - cases) + (c.format <= Format::CmykJpeg ? ".jpg" : ".tif"));
        ASSERT_TRUE(WritePhoto(*bitmap, path, c.format)) << c.name;
        POINT corners[4];
        for (int i = 0; i < 4; ++i)
            corners[i]
                = POINT { static_cast<LONG>(std::lround(truth[i].x)), static_cast<LONG>(std::lround(truth[i].y)) };

        const Outcome streamed = Streamed(path, corners, c.kind);
        const Outcome whole = WholePicture(path, corners, c.kind);
        ASSERT_EQ(0, whole.result) << c.name;
        EXPECT_EQ(whole.result, streamed.result) << c.name;
        EXPECT_EQ(whole.levels, streamed.levels) << c.name;
        ASSERT_EQ(static_cast<std::size_t>(ZarnTest_ChartPhoto::SlotCount(c.kind)), streamed.levels.size()) << c.name;
        // The curve is not flat, so equal curves mean equal samples, not two runs
        // of one level.
        EXPECT_NE(streamed.levels.front(), streamed.levels.back()) << c.name;

        // Moved partly off the photograph, the squares of the far patches leave it:
        // both refuse.
        POINT shifted[4];
        for (int i = 0; i < 4; ++i)
            shifted[i] = POINT { corners[i].x + 700, corners[i].y };
        const Outcome streamedOff = Streamed(path, shifted, c.kind);
        EXPECT_EQ(-1, streamedOff.result) << c.name;
        EXPECT_TRUE(streamedOff.levels.empty()) << c.name;
        EXPECT_EQ(-1, WholePicture(path, shifted, c.kind).result) << c.name;
    }
}

// A photograph that breaks off: whatever the decoders make of the rest, both
// ways agree, and an unreadable picture is reported before the chart's
// placement is judged.
TEST(ChartMeasureStream, DamagedPhotographs)
{
    ZarnTest_ChartPoint truth[4];
    auto bitmap = Chart(3, 0.0, truth);
    ASSERT_TRUE(bitmap);
    POINT corners[4], off[4];
    for (int i = 0; i < 4; ++i) {
        corners[i] = POINT { static_cast<LONG>(std::lround(truth[i].x)), static_cast<LONG>(std::lround(truth[i].y)) };
        off[i] = POINT { corners[i].x + 5000, corners[i].y };
    }
    for (Format format : { Format::Jpeg, Format::Tiff, Format::TiledTiff }) {
        const std::string full = TempFile("damaged_full" + std::to_string(static_cast<int>(format)));
        ASSERT_TRUE(WritePhoto(*bitmap, full, format));
        const auto size = std::filesystem::file_size(full);
        for (double keep : { 0.6, 0.02 }) {
            const std::string cut = full + "_" + std::to_string(static_cast<int>(keep * 100));
            std::filesystem::copy_file(full, cut, std::filesystem::copy_options::overwrite_existing);
            std::filesystem::resize_file(cut, static_cast<std::uintmax_t>(static_cast<double>(size) * keep));
            const Outcome whole = WholePicture(cut, corners, 3);
            const Outcome streamed = Streamed(cut, corners, 3);
            EXPECT_EQ(whole.result, streamed.result) << cut;
            EXPECT_EQ(whole.levels, streamed.levels) << cut;
            EXPECT_EQ(WholePicture(cut, off, 3).result, Streamed(cut, off, 3).result) << cut;
        }
    }
}

} // namespace
