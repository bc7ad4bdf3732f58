#include "profilelib/ZarnLib_PngCodec.h"

#include <png.h>

#include <cstdio>
#include <vector>

namespace {

// libpng reports errors by a jump back to the setjmp of WritePng; nothing is printed.
[[noreturn]] void Fail(png_structp png, png_const_charp /*message*/)
{
    png_longjmp(png, 1);
}

void Ignore(png_structp /*png*/, png_const_charp /*message*/) {}

// Only plain data lives between the setjmp and a jump back to it: the row buffer belongs to the
// caller, so no destructor is skipped.
bool WritePng(std::FILE* file, const ZarnLib_Bitmap& bitmap, png_bytep row)
{
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, Fail, Ignore);
    if (!png)
        return false;
    png_infop info = png_create_info_struct(png);
    if (!info) {
        png_destroy_write_struct(&png, nullptr);
        return false;
    }
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        return false;
    }
    const std::uint32_t width = bitmap.GetWidth();
    const std::uint32_t height = bitmap.GetHeight();
    png_init_io(png, file);
    png_set_IHDR(png, info, width, height, 8, PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                 PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    for (std::uint32_t y = 0; y < height; ++y) {
        const std::uint32_t* src = bitmap.Row(y);
        for (std::uint32_t x = 0; x < width; ++x) {
            row[3 * x] = static_cast<png_byte>(src[x] >> 16);
            row[3 * x + 1] = static_cast<png_byte>(src[x] >> 8);
            row[3 * x + 2] = static_cast<png_byte>(src[x]);
        }
        png_write_row(png, row);
    }
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return true;
}

} // namespace

bool ZarnLib_PngCodec::Encode(const ZarnLib_Bitmap& bitmap, const std::string& path)
{
    std::vector<png_byte> row(static_cast<std::size_t>(bitmap.GetWidth()) * 3);
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (!file)
        return false;
    bool ok = WritePng(file, bitmap, row.data());
    if (std::fclose(file) != 0)
        ok = false;
    if (!ok)
        std::remove(path.c_str());
    return ok;
}
