// Writes small pictures for every row-reading path: RGB, grey and CMYK JPEG;
// RGB and grey TIFF strips; a 16-bit TIFF that is only loaded whole.
#include "tests/support/ZarnTest_ExifWriter.h"

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include <jpeglib.h>
#include <tiffio.h>

namespace {

bool WriteJpeg(const std::string& path, int components)
{
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (!f)
        return false;
    jpeg_compress_struct c {};
    jpeg_error_mgr e {};
    c.err = jpeg_std_error(&e);
    jpeg_create_compress(&c);
    jpeg_stdio_dest(&c, f);
    c.image_width = 24;
    c.image_height = 10;
    c.input_components = components;
    c.in_color_space = components == 1 ? JCS_GRAYSCALE : JCS_CMYK;
    jpeg_set_defaults(&c);
    jpeg_start_compress(&c, TRUE);
    std::vector<unsigned char> row(24 * static_cast<std::size_t>(components));
    for (unsigned y = 0; y < 10; ++y) {
        for (std::size_t i = 0; i < row.size(); ++i)
            row[i] = static_cast<unsigned char>(i * 9 + y * 20);
        JSAMPROW p = row.data();
        jpeg_write_scanlines(&c, &p, 1);
    }
    jpeg_finish_compress(&c);
    jpeg_destroy_compress(&c);
    return std::fclose(f) == 0;
}

bool WriteTiff(const std::string& path, int bits)
{
    TIFF* t = TIFFOpen(path.c_str(), "w");
    if (!t)
        return false;
    const int samples = bits == 8 ? 1 : 3;
    TIFFSetField(t, TIFFTAG_IMAGEWIDTH, 20);
    TIFFSetField(t, TIFFTAG_IMAGELENGTH, 6);
    TIFFSetField(t, TIFFTAG_BITSPERSAMPLE, bits);
    TIFFSetField(t, TIFFTAG_SAMPLESPERPIXEL, samples);
    TIFFSetField(t, TIFFTAG_PHOTOMETRIC, samples == 1 ? PHOTOMETRIC_MINISBLACK : PHOTOMETRIC_RGB);
    TIFFSetField(t, TIFFTAG_PLANARCONFIG, PLANARCONFIG_CONTIG);
    TIFFSetField(t, TIFFTAG_COMPRESSION, COMPRESSION_PACKBITS);
    TIFFSetField(t, TIFFTAG_ROWSPERSTRIP, 2);
    std::vector<unsigned char> line(static_cast<std::size_t>(20 * samples * bits / 8));
    bool ok = true;
    for (unsigned y = 0; ok && y < 6; ++y) {
        for (std::size_t i = 0; i < line.size(); ++i)
            line[i] = static_cast<unsigned char>(i * 13 + y * 40);
        ok = TIFFWriteScanline(t, line.data(), y, 0) == 1;
    }
    TIFFClose(t);
    return ok;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 2)
        return 1;
    const std::string dir = argv[1];
    std::filesystem::create_directories(dir);
    auto bitmap = ZarnLib_Bitmap::Create(17, 9, ZarnLib_Bitmap::kFormat24bppRGB);
    for (std::uint32_t y = 0; y < 9; ++y)
        for (std::uint32_t x = 0; x < 17; ++x)
            bitmap->Row(y)[x] = 0xFF000000u | (x * 15) << 16 | (y * 28) << 8 | (x * y);
    ZarnTest_ExifWriter writer(false);
    const bool ok = writer.WriteJpeg(*bitmap, dir + "/rgb.jpg", 85) && writer.WriteTiff(*bitmap, dir + "/rgb.tif")
        && WriteJpeg(dir + "/grey.jpg", 1) && WriteJpeg(dir + "/cmyk.jpg", 4) && WriteTiff(dir + "/grey.tif", 8)
        && WriteTiff(dir + "/rgb16.tif", 16);
    return ok ? 0 : 1;
}
