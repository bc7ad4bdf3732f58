// Writes a bitmap as a 24-bit uncompressed BMP file.
#pragma once

#include "profilelib/ZarnLib_Bitmap.h"

#include <string>

class ZarnLib_BmpCodec {
public:
    // False when the file cannot be written completely (a partial file is removed).
    static bool Encode(const ZarnLib_Bitmap& bitmap, const std::string& path);
};
