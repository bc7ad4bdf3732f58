// Reads a photograph row by row without holding the whole picture: JPEG through
// libjpeg-turbo's scanlines, plain TIFF strips scanline by scanline. Other
// files are left to the whole-picture load. The rows carry the same pixel
// values that a full load puts into the bitmap.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

class ZarnLib_ImageRowReader {
public:
    enum class Result {
        Done, // every row was delivered
        Failed, // the file gives no picture (a full load would fail too)
        NotStreamable, // a layout read only as a whole picture; nothing was
                       // delivered
    };
    using Size = std::function<void(std::uint32_t width, std::uint32_t height)>;
    // Row y, 3 bytes (red, green, blue) per pixel; rows come top to bottom.
    using Sink = std::function<void(std::uint32_t y, const unsigned char* rgb)>;

    // `size` is called once before the first row.
    static Result Read(const std::wstring& path, const Size& size, const Sink& sink);
};
