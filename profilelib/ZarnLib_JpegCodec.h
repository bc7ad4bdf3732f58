// JPEG decoding and encoding through libjpeg-turbo. Each call has its own decoder state, so
// several threads may decode at once.
#pragma once

#include "profilelib/ZarnLib_Bitmap.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

class ZarnLib_JpegCodec {
public:
    // Called once the file's pixel size is known; returns the smallest size (width, height) that
    // the caller needs, or (0, 0) for the full picture. The decoder then reduces by 1/2, 1/4 or
    // 1/8 while the reduced picture still covers that size.
    using NeededSize = std::function<void(std::uint32_t fileWidth, std::uint32_t fileHeight,
                                          std::uint32_t* neededWidth, std::uint32_t* neededHeight)>;

    // Null when the file cannot be read or decoded. fileWidth/fileHeight receive the full size,
    // pixelFormat the format the file's picture has (grey or colour).
    static std::unique_ptr<ZarnLib_Bitmap> Decode(const std::string& path, const NeededSize& needed,
                                                  std::uint32_t* fileWidth, std::uint32_t* fileHeight,
                                                  int* pixelFormat);
    // Called once with the picture's size before the first row.
    using RowsSize = std::function<void(std::uint32_t width, std::uint32_t height)>;
    // Called for every row, top to bottom: `rgb` holds 3 bytes (red, green, blue) per pixel, the
    // same values that Decode puts into the bitmap. Valid only during the call.
    using RowSink = std::function<void(std::uint32_t y, const unsigned char* rgb)>;

    // Decodes the full-size picture row by row into one reused row buffer, without a bitmap;
    // false exactly when Decode would give null for want of a readable picture.
    static bool DecodeRows(const std::string& path, const RowsSize& size, const RowSink& sink);
    // Writes an RGB JPEG; false when the file cannot be written completely.
    static bool Encode(const ZarnLib_Bitmap& bitmap, const std::string& path, int quality);
};
