// TIFF decoding (first directory; 8 and 16 bits per sample; RGB, grey and palette; strips and
// tiles; every compression libtiff has) and RGB encoding through libtiff. Errors stay with the
// handle that caused them: nothing global is set, so several threads may decode at once.
#pragma once

#include "profilelib/ZarnLib_Bitmap.h"

#include <cstdint>
#include <memory>
#include <string>

class ZarnLib_TiffCodec {
public:
    // Null when the file cannot be read or decoded. pixelFormat receives the format of the
    // file's picture.
    static std::unique_ptr<ZarnLib_Bitmap> Decode(const std::string& path, int* pixelFormat);
    // Writes an 8-bit RGB TIFF with LZW compression; false when the file cannot be written.
    static bool Encode(const ZarnLib_Bitmap& bitmap, const std::string& path);
};
