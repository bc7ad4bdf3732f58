// Helpers shared by the image tests: a private temporary folder, bitmaps from colour functions,
// and loading a written picture back with planes.
#pragma once

#include "profilelib/ZarnLib_Bitmap.h"
#include "profilelib/ZarnLib_Image.h"
#include "tests/support/ZarnTest_ExifWriter.h"

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <unistd.h>
#include <vector>

namespace imagetest {

inline std::filesystem::path TempDir()
{
    static const std::filesystem::path dir = [] {
        auto p = std::filesystem::temp_directory_path() / ("zarn_h2_" + std::to_string(::getpid()));
        std::filesystem::create_directories(p);
        return p;
    }();
    return dir;
}

inline std::string TempFile(const std::string& name) { return (TempDir() / name).string(); }

inline std::wstring Wide(const std::string& s) { return std::wstring(s.begin(), s.end()); }

inline void WriteBytes(const std::string& path, const std::vector<unsigned char>& bytes)
{
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

inline std::unique_ptr<ZarnLib_Bitmap> MakeBitmap(int w, int h, const std::function<std::uint32_t(int, int)>& colour)
{
    auto b = ZarnLib_Bitmap::Create(static_cast<std::uint32_t>(w), static_cast<std::uint32_t>(h),
                                    ZarnLib_Bitmap::kFormat24bppRGB);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            b->Row(static_cast<std::uint32_t>(y))[x] = 0xFF000000u | colour(x, y);
    return b;
}

inline std::uint32_t Rgb(unsigned r, unsigned g, unsigned b) { return (r << 16) | (g << 8) | b; }

// Writes the bitmap as an uncompressed TIFF (lossless) and loads it with planes, unfitted.
inline int LoadWithPlanes(const ZarnLib_Bitmap& bitmap, const std::string& name, ZarnLib_Image& image)
{
    const std::string path = TempFile(name);
    ZarnTest_ExifWriter(false).WriteTiff(bitmap, path);
    image.Reset();
    return image.Load(Wide(path), kImageLoadPlanes, 0, 0, nullptr, nullptr);
}

} // namespace imagetest
