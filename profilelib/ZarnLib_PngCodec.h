// Writes a bitmap as an 8-bit RGB PNG file through libpng.
#pragma once

#include "profilelib/ZarnLib_Bitmap.h"

#include <string>

class ZarnLib_PngCodec {
public:
    // False when the file cannot be written completely (a partial file is removed).
    static bool Encode(const ZarnLib_Bitmap& bitmap, const std::string& path);
};
