// TIFF decoding (first directory; 8 and 16 bits per sample; RGB, grey and palette; strips and
// tiles; every compression libtiff has) and RGB encoding through libtiff. Errors stay with the
// handle that caused them: nothing global is set, so several threads may decode at once.
#pragma once

#include "profilelib/ZarnLib_Bitmap.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

class ZarnLib_TiffCodec {
public:
    // Null when the file cannot be read or decoded. pixelFormat receives the format of the
    // file's picture.
    static std::unique_ptr<ZarnLib_Bitmap> Decode(const std::string& path, int* pixelFormat);
    using RowsSize = std::function<void(std::uint32_t width, std::uint32_t height)>;
    // Every row, top to bottom, 3 bytes (red, green, blue) per pixel; valid only during the call.
    using RowSink = std::function<void(std::uint32_t y, const unsigned char* rgb)>;

    // Decodes row by row without a bitmap when the file is plain 8-bit RGB or grey strips stored
    // top row first (*streamable true); returns whether Decode would have given a picture. For any
    // other layout *streamable is false, nothing is called and the result is false: use Decode.
    static bool DecodeRows(const std::string& path, const RowsSize& size, const RowSink& sink, bool* streamable);
    // Writes an 8-bit RGB TIFF with LZW compression; false when the file cannot be written.
    static bool Encode(const ZarnLib_Bitmap& bitmap, const std::string& path);
};
