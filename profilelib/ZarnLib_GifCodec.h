// Writes a bitmap as a GIF file through giflib. GIF holds at most 256 colours: a picture with no
// more than that is written with its own colours, exactly; any other is reduced to the 216
// colours of the halftone cube (six levels 0, 51, ..., 255 in each of red, green and blue, each
// channel rounded to the nearest level), as the platform's GIF encoder reduces a true-colour
// picture.
#pragma once

#include "profilelib/ZarnLib_Bitmap.h"

#include <cstdint>
#include <string>

class ZarnLib_GifCodec {
public:
    // GIF sizes are 16-bit: larger pictures are refused.
    static constexpr std::uint32_t kMaxSide = 65535;

    // False when the picture is too large or the file cannot be written completely (a partial file
    // is removed).
    static bool Encode(const ZarnLib_Bitmap& bitmap, const std::string& path);
};
