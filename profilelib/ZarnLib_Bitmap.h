// The library's bitmap: 32-bit pixels 0xAARRGGBB, row after row, with the pixel format of the file
// it came from. Stands in for the platform bitmap that the image classes draw and read.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

class ZarnLib_Bitmap {
public:
    // Pixel format codes, the values the platform's imaging layer uses.
    static constexpr int kFormat8bppIndexed = 0x00030803;
    static constexpr int kFormat16bppGrayScale = 0x00101004;
    static constexpr int kFormat24bppRGB = 0x00021808;
    static constexpr int kFormat32bppARGB = 0x0026200A;
    static constexpr int kFormat48bppRGB = 0x0010300C;
    static constexpr int kFormat64bppARGB = 0x0034400D;

    // Largest pixel count a bitmap may hold (1 GiB of pixels); larger pictures are refused.
    static constexpr std::uint64_t kMaxPixels = std::uint64_t(1) << 28;

    // Null when the size is 0, too large or the memory cannot be had. Pixels start as 0.
    static std::unique_ptr<ZarnLib_Bitmap> Create(std::uint32_t width, std::uint32_t height, int pixelFormat);

    std::uint32_t GetWidth() const { return width_; }
    std::uint32_t GetHeight() const { return height_; }
    int GetPixelFormat() const { return pixelFormat_; }

    // False outside the bitmap.
    bool GetPixel(std::int64_t x, std::int64_t y, std::uint32_t* argb) const;
    bool SetPixel(std::int64_t x, std::int64_t y, std::uint32_t argb);

    std::uint32_t* Row(std::uint32_t y) { return pixels_.data() + static_cast<std::size_t>(y) * width_; }
    const std::uint32_t* Row(std::uint32_t y) const { return pixels_.data() + static_cast<std::size_t>(y) * width_; }
    std::uint32_t* Data() { return pixels_.data(); }
    const std::uint32_t* Data() const { return pixels_.data(); }

    // A copy of the whole bitmap recorded under another pixel format.
    std::unique_ptr<ZarnLib_Bitmap> Clone(int pixelFormat) const;

private:
    ZarnLib_Bitmap() = default;

    std::uint32_t width_ = 0;
    std::uint32_t height_ = 0;
    int pixelFormat_ = kFormat32bppARGB;
    std::vector<std::uint32_t> pixels_;
};
