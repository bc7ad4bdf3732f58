// Chooses the decoder by the file's first bytes (JPEG or TIFF) and the encoder by save format.
#pragma once

#include "profilelib/ZarnLib_Bitmap.h"
#include "profilelib/ZarnLib_JpegCodec.h"

#include <cstdint>
#include <memory>
#include <string>

class ZarnLib_ImageCodec {
public:
    // Null when the file is neither JPEG nor TIFF or cannot be decoded. `needed` may let a JPEG
    // decode at a reduced size (see ZarnLib_JpegCodec); fileWidth/fileHeight get the full size.
    static std::unique_ptr<ZarnLib_Bitmap> Decode(const std::string& path, const ZarnLib_JpegCodec::NeededSize& needed,
                                                  std::uint32_t* fileWidth, std::uint32_t* fileHeight,
                                                  int* pixelFormat);
    // True when an encoder exists for the MIME type ("image/bmp", "image/png", "image/jpeg", "image/gif",
    // "image/tiff").
    static bool HasEncoder(const std::string& mimeType);
    // False when no encoder exists or the file cannot be written.
    static bool Encode(const ZarnLib_Bitmap& bitmap, const std::string& mimeType, const std::string& path);
};
