#include "profilelib/ZarnLib_ImageCodec.h"
#include "platform/AtomicFileWriter.h"
#include "platform/RegularFile.h"

#include "profilelib/ZarnLib_BmpCodec.h"
#include "profilelib/ZarnLib_GifCodec.h"
#include "profilelib/ZarnLib_PngCodec.h"
#include "profilelib/ZarnLib_TiffCodec.h"

#include <cstdio>

namespace {
constexpr int kJpegQuality = 90;
}

std::unique_ptr<ZarnLib_Bitmap> ZarnLib_ImageCodec::Decode(const std::string& path,
                                                           const ZarnLib_JpegCodec::NeededSize& needed,
                                                           std::uint32_t* fileWidth, std::uint32_t* fileHeight,
                                                           int* pixelFormat)
{
    unsigned char head[4] = {};
    // Only a regular file: a FIFO or a device would block the open or the reads.
    std::FILE* file = RegularFile::OpenStream(path);
    if (!file)
        return nullptr;
    const std::size_t got = std::fread(head, 1, sizeof head, file);
    std::fclose(file);
    if (got >= 2 && head[0] == 0xFF && head[1] == 0xD8)
        return ZarnLib_JpegCodec::Decode(path, needed, fileWidth, fileHeight, pixelFormat);
    const bool tiff = got == 4 && ((head[0] == 'I' && head[1] == 'I' && (head[2] == 42 || head[2] == 43) && head[3] == 0) ||
                                   (head[0] == 'M' && head[1] == 'M' && head[2] == 0 && (head[3] == 42 || head[3] == 43)));
    if (!tiff)
        return nullptr;
    auto bitmap = ZarnLib_TiffCodec::Decode(path, pixelFormat);
    if (bitmap) {
        if (fileWidth)
            *fileWidth = bitmap->GetWidth();
        if (fileHeight)
            *fileHeight = bitmap->GetHeight();
    }
    return bitmap;
}

bool ZarnLib_ImageCodec::HasEncoder(const std::string& mimeType)
{
    return mimeType == "image/bmp" || mimeType == "image/png" || mimeType == "image/jpeg" || mimeType == "image/gif" ||
           mimeType == "image/tiff";
}

bool ZarnLib_ImageCodec::Encode(const ZarnLib_Bitmap& bitmap, const std::string& mimeType, const std::string& path)
{
    // Each encoder writes a file beside the target, which replaces the target once it is whole: a
    // failed save leaves an older picture of that name as it was.
    const auto encodeTo = [&bitmap, &mimeType](const std::string& file) {
        if (mimeType == "image/bmp")
            return ZarnLib_BmpCodec::Encode(bitmap, file);
        if (mimeType == "image/png")
            return ZarnLib_PngCodec::Encode(bitmap, file);
        if (mimeType == "image/gif")
            return ZarnLib_GifCodec::Encode(bitmap, file);
        if (mimeType == "image/jpeg")
            return ZarnLib_JpegCodec::Encode(bitmap, file, kJpegQuality);
        if (mimeType == "image/tiff")
            return ZarnLib_TiffCodec::Encode(bitmap, file);
        return false;
    };
    return HasEncoder(mimeType) && AtomicFileWriter::ReplaceThrough(path, encodeTo);
}
