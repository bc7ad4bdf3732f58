// Reads arbitrary bytes as a picture row by row and, for comparison, loads it
// whole: both must agree on whether the file gives a picture, and the rows must
// carry exactly the bitmap's pixels, each row once, top to bottom. Pictures
// whose header claims more than a few million pixels are skipped: their size is
// not a fault, only slow.
#include "profilelib/ZarnLib_Image.h"
#include "profilelib/ZarnLib_ImageRowReader.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <tiffio.h>
#include <unistd.h>
#include <vector>

namespace {
int Quiet(TIFF*, void*, const char*, const char*, va_list) { return 1; }

bool TooLarge(const std::string& path, const uint8_t* data, size_t size)
{
    if (size >= 2 && data[0] == 0xFF && data[1] == 0xD8) {
        for (size_t i = 2; i + 8 < size; ++i) {
            if (data[i] == 0xFF && data[i + 1] >= 0xC0 && data[i + 1] <= 0xCF && data[i + 1] != 0xC4
                && data[i + 1] != 0xC8 && data[i + 1] != 0xCC) {
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

void Check(bool condition)
{
    if (!condition)
        std::abort();
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const std::string path = "/tmp/zarn_fuzz_image_rows_" + std::to_string(::getpid());
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (!f)
        return 0;
    if (size)
        std::fwrite(data, 1, size, f);
    std::fclose(f);
    if (TooLarge(path, data, size))
        return 0;
    const std::wstring wide(path.begin(), path.end());

    std::uint32_t width = 0, height = 0, nextRow = 0;
    int sizeCalls = 0;
    std::vector<unsigned char> pixels;
    const auto result = ZarnLib_ImageRowReader::Read(
        wide,
        [&](std::uint32_t w, std::uint32_t h) {
            ++sizeCalls;
            width = w;
            height = h;
            pixels.resize(static_cast<std::size_t>(w) * h * 3);
        },
        [&](std::uint32_t y, const unsigned char* rgb) {
            Check(sizeCalls == 1 && y == nextRow && y < height);
            std::memcpy(
                pixels.data() + static_cast<std::size_t>(y) * width * 3, rgb, static_cast<std::size_t>(width) * 3);
            ++nextRow;
        });

    ZarnLib_Image image;
    image.Reset();
    const int loaded = image.Load(wide, 0, 0, 0, nullptr, nullptr);
    if (result == ZarnLib_ImageRowReader::Result::NotStreamable) {
        Check(sizeCalls == 0);
        return 0;
    }
    Check((result == ZarnLib_ImageRowReader::Result::Done) == (loaded == 0));
    if (loaded != 0)
        return 0;
    Check(sizeCalls == 1 && nextRow == height);
    unsigned w = 0, h = 0;
    image.GetWidth(&w);
    image.GetHeight(&h);
    Check(w == width && h == height);
    for (std::uint32_t y = 0; y < height; ++y) {
        for (std::uint32_t x = 0; x < width; ++x) {
            const auto p = image.GetPixel(static_cast<int>(x), static_cast<int>(y));
            const unsigned char* q = pixels.data() + (static_cast<std::size_t>(y) * width + x) * 3;
            Check(p[0] == q[0] && p[1] == q[1] && p[2] == q[2]);
        }
    }
    return 0;
}
