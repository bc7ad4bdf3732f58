#include "profilelib/ZarnLib_Bitmap.h"

#include <new>

std::unique_ptr<ZarnLib_Bitmap> ZarnLib_Bitmap::Create(std::uint32_t width, std::uint32_t height, int pixelFormat)
{
    const std::uint64_t count = static_cast<std::uint64_t>(width) * height;
    if (count == 0 || count > kMaxPixels)
        return nullptr;
    std::unique_ptr<ZarnLib_Bitmap> bitmap(new (std::nothrow) ZarnLib_Bitmap());
    if (!bitmap)
        return nullptr;
    try {
        bitmap->pixels_.assign(static_cast<std::size_t>(count), 0u);
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
    bitmap->width_ = width;
    bitmap->height_ = height;
    bitmap->pixelFormat_ = pixelFormat;
    return bitmap;
}

bool ZarnLib_Bitmap::GetPixel(std::int64_t x, std::int64_t y, std::uint32_t* argb) const
{
    if (x < 0 || y < 0 || x >= width_ || y >= height_)
        return false;
    *argb = pixels_[static_cast<std::size_t>(y) * width_ + static_cast<std::size_t>(x)];
    return true;
}

bool ZarnLib_Bitmap::SetPixel(std::int64_t x, std::int64_t y, std::uint32_t argb)
{
    if (x < 0 || y < 0 || x >= width_ || y >= height_)
        return false;
    pixels_[static_cast<std::size_t>(y) * width_ + static_cast<std::size_t>(x)] = argb;
    return true;
}

std::unique_ptr<ZarnLib_Bitmap> ZarnLib_Bitmap::Clone(int pixelFormat) const
{
    std::unique_ptr<ZarnLib_Bitmap> copy(new (std::nothrow) ZarnLib_Bitmap());
    if (!copy)
        return nullptr;
    try {
        copy->pixels_ = pixels_;
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
    copy->width_ = width_;
    copy->height_ = height_;
    copy->pixelFormat_ = pixelFormat;
    return copy;
}
