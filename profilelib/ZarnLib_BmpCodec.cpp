#include "profilelib/ZarnLib_BmpCodec.h"

#include <cstdio>
#include <vector>

namespace {
void Put16(unsigned char* p, std::uint32_t v)
{
    p[0] = static_cast<unsigned char>(v);
    p[1] = static_cast<unsigned char>(v >> 8);
}
void Put32(unsigned char* p, std::uint32_t v)
{
    Put16(p, v & 0xFFFF);
    Put16(p + 2, v >> 16);
}
} // namespace

bool ZarnLib_BmpCodec::Encode(const ZarnLib_Bitmap& bitmap, const std::string& path)
{
    const std::uint32_t width = bitmap.GetWidth();
    const std::uint32_t height = bitmap.GetHeight();
    const std::uint64_t stride = (static_cast<std::uint64_t>(width) * 3 + 3) & ~std::uint64_t(3);
    const std::uint64_t imageSize = stride * height;
    if (imageSize + 54 > 0xFFFFFFFFu || width > 0x7FFFFFFF || height > 0x7FFFFFFF)
        return false;
    unsigned char header[54] = {};
    header[0] = 'B';
    header[1] = 'M';
    Put32(header + 2, static_cast<std::uint32_t>(imageSize + 54));
    Put32(header + 10, 54);
    Put32(header + 14, 40);
    Put32(header + 18, width);
    Put32(header + 22, height); // positive height: rows stored bottom-up
    Put16(header + 26, 1);
    Put16(header + 28, 24);
    Put32(header + 34, static_cast<std::uint32_t>(imageSize));
    Put32(header + 38, 3780); // 96 dpi
    Put32(header + 42, 3780);

    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (!file)
        return false;
    bool ok = std::fwrite(header, 1, sizeof header, file) == sizeof header;
    std::vector<unsigned char> row(static_cast<std::size_t>(stride), 0);
    for (std::uint32_t i = 0; ok && i < height; ++i) {
        const std::uint32_t* src = bitmap.Row(height - 1 - i);
        for (std::uint32_t x = 0; x < width; ++x) {
            row[3 * x] = static_cast<unsigned char>(src[x]);
            row[3 * x + 1] = static_cast<unsigned char>(src[x] >> 8);
            row[3 * x + 2] = static_cast<unsigned char>(src[x] >> 16);
        }
        ok = std::fwrite(row.data(), 1, row.size(), file) == row.size();
    }
    if (std::fclose(file) != 0)
        ok = false;
    if (!ok)
        std::remove(path.c_str());
    return ok;
}
