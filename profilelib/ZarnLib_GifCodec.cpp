#include "profilelib/ZarnLib_GifCodec.h"

#include <gif_lib.h>

#include <cstdio>
#include <fcntl.h>
#include <unistd.h>
#include <unordered_map>
#include <vector>

namespace {

constexpr std::size_t kMaxColours = 256;
constexpr unsigned kCubeStep = 51;

std::uint32_t Rgb(std::uint32_t argb) { return argb & 0xFFFFFF; }

// The halftone cube's index of a colour: each channel rounded to the nearest of six levels.
std::uint8_t CubeIndex(std::uint32_t rgb)
{
    const auto level = [](std::uint32_t c) { return ((c & 0xFF) + kCubeStep / 2) / kCubeStep; };
    return static_cast<std::uint8_t>(level(rgb >> 16) * 36 + level(rgb >> 8) * 6 + level(rgb));
}

// The smallest power of two of at least the count, from 2 (GIF colour tables have 2^n entries).
int TableSize(std::size_t count)
{
    int size = 2;
    while (static_cast<std::size_t>(size) < count)
        size *= 2;
    return size;
}

// The palette (0x00RRGGBB entries) and one palette index per pixel, row after row.
struct Indexed {
    std::vector<std::uint32_t> palette;
    std::vector<std::uint8_t> pixels;
};

Indexed ToPalette(const ZarnLib_Bitmap& bitmap)
{
    const std::size_t count = static_cast<std::size_t>(bitmap.GetWidth()) * bitmap.GetHeight();
    const std::uint32_t* pixels = bitmap.Data();
    Indexed indexed;
    indexed.pixels.resize(count);
    std::unordered_map<std::uint32_t, std::uint8_t> colours;
    for (std::size_t i = 0; i < count && colours.size() <= kMaxColours; ++i) {
        const auto [at, added] = colours.emplace(Rgb(pixels[i]), static_cast<std::uint8_t>(colours.size()));
        if (added && colours.size() <= kMaxColours)
            indexed.palette.push_back(at->first);
        indexed.pixels[i] = at->second;
    }
    if (colours.size() <= kMaxColours)
        return indexed;
    indexed.palette.clear();
    for (std::uint32_t r = 0; r < 6; ++r)
        for (std::uint32_t g = 0; g < 6; ++g)
            for (std::uint32_t b = 0; b < 6; ++b)
                indexed.palette.push_back((r * kCubeStep << 16) | (g * kCubeStep << 8) | b * kCubeStep);
    for (std::size_t i = 0; i < count; ++i)
        indexed.pixels[i] = CubeIndex(pixels[i]);
    return indexed;
}

} // namespace

bool ZarnLib_GifCodec::Encode(const ZarnLib_Bitmap& bitmap, const std::string& path)
{
    const std::uint32_t width = bitmap.GetWidth();
    const std::uint32_t height = bitmap.GetHeight();
    if (width > kMaxSide || height > kMaxSide)
        return false;
    Indexed indexed = ToPalette(bitmap);
    const int tableSize = TableSize(indexed.palette.size());
    std::vector<GifColorType> table(static_cast<std::size_t>(tableSize), GifColorType{0, 0, 0});
    for (std::size_t i = 0; i < indexed.palette.size(); ++i) {
        const std::uint32_t c = indexed.palette[i];
        table[i] = GifColorType{static_cast<GifByteType>(c >> 16), static_cast<GifByteType>(c >> 8),
                                static_cast<GifByteType>(c)};
    }
    ColorMapObject* map = GifMakeMapObject(tableSize, table.data());
    if (!map)
        return false;
    // Opened here rather than by giflib, which would make the file readable by its owner only.
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    if (fd < 0) {
        GifFreeMapObject(map);
        return false;
    }
    int error = 0;
    GifFileType* gif = EGifOpenFileHandle(fd, &error);
    if (!gif)
        ::close(fd);
    bool ok = gif != nullptr;
    if (ok)
        ok = EGifPutScreenDesc(gif, static_cast<int>(width), static_cast<int>(height), 8, 0, map) == GIF_OK &&
             EGifPutImageDesc(gif, 0, 0, static_cast<int>(width), static_cast<int>(height), false, nullptr) == GIF_OK;
    for (std::uint32_t y = 0; ok && y < height; ++y)
        ok = EGifPutLine(gif, indexed.pixels.data() + static_cast<std::size_t>(y) * width, static_cast<int>(width)) ==
             GIF_OK;
    // Closing writes the trailer; it frees the handle whether or not that succeeds.
    if (gif && EGifCloseFile(gif, &error) != GIF_OK)
        ok = false;
    GifFreeMapObject(map);
    if (!ok)
        std::remove(path.c_str());
    return ok;
}
