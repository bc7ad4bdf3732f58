// Loads arbitrary bytes as a picture file, with Exif values, fitted with planes, so that the
// JPEG and TIFF decoders, the resize and the Exif evaluation all see the input. Pictures whose
// header claims more than a few million pixels are skipped: their size is not a fault, only slow.
#include "profilelib/ZarnLib_Image.h"

#include <cstdint>
#include <cstdio>
#include <string>
#include <tiffio.h>
#include <unistd.h>

namespace {
int Quiet(TIFF*, void*, const char*, const char*, va_list) { return 1; }

bool TooLarge(const std::string& path, const uint8_t* data, size_t size)
{
    if (size >= 2 && data[0] == 0xFF && data[1] == 0xD8) {
        // Scan for a start-of-frame marker and read its size.
        for (size_t i = 2; i + 8 < size; ++i) {
            if (data[i] == 0xFF && data[i + 1] >= 0xC0 && data[i + 1] <= 0xCF && data[i + 1] != 0xC4 &&
                data[i + 1] != 0xC8 && data[i + 1] != 0xCC) {
                const uint32_t h = (data[i + 5] << 8) | data[i + 6];
                const uint32_t w = (data[i + 7] << 8) | data[i + 8];
                return uint64_t(w) * h > 4000000;
            }
        }
        return false;
    }
    TIFFOpenOptions* o = TIFFOpenOptionsAlloc();
    TIFFOpenOptionsSetErrorHandlerExtR(o, Quiet, nullptr);
    TIFFOpenOptionsSetWarningHandlerExtR(o, Quiet, nullptr);
    TIFF* t = TIFFOpenExt(path.c_str(), "r", o);
    TIFFOpenOptionsFree(o);
    if (!t)
        return false;
    uint32_t w = 0, h = 0;
    TIFFGetField(t, TIFFTAG_IMAGEWIDTH, &w);
    TIFFGetField(t, TIFFTAG_IMAGELENGTH, &h);
    TIFFClose(t);
    return uint64_t(w) * h > 4000000;
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const std::string path = "/tmp/zarn_fuzz_image_" + std::to_string(::getpid());
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (!f)
        return 0;
    if (size)
        std::fwrite(data, 1, size, f);
    std::fclose(f);
    if (TooLarge(path, data, size))
        return 0;
    ZarnLib_Image image;
    image.Reset();
    RECT rect{};
    double scale = 0;
    if (image.Load(std::wstring(path.begin(), path.end()), kImageLoadFitPlanes | kImageLoadExif, 64, 48, &rect,
                   &scale) == 0) {
        image.AdjustBrightness(20);
        int iso = 0;
        image.GetIso(&iso);
    }
    return 0;
}
