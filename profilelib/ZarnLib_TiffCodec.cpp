#include "profilelib/ZarnLib_TiffCodec.h"
#include "platform/RegularFile.h"

#include <cstdarg>
#include <cstdio>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

#include <tiffio.h>

namespace {

// A single allocation libtiff may make while reading: large enough for an uncompressed
// single-strip picture of the largest bitmap.
constexpr tmsize_t kMaxSingleAlloc = tmsize_t(1) << 31;

int Quiet(TIFF*, void*, const char*, const char*, va_list) { return 1; }

TIFF* OpenQuiet(const std::string& path, const char* mode)
{
    TIFFOpenOptions* options = TIFFOpenOptionsAlloc();
    if (!options)
        return nullptr;
    TIFFOpenOptionsSetErrorHandlerExtR(options, Quiet, nullptr);
    TIFFOpenOptionsSetWarningHandlerExtR(options, Quiet, nullptr);
    TIFFOpenOptionsSetMaxSingleMemAlloc(options, kMaxSingleAlloc);
    TIFF* tif = nullptr;
    if (mode[0] == 'r') {
        // Only a regular file is read: a FIFO or a device would block the open or the reads.
        // libtiff closes the descriptor with the TIFF.
        const int fd = RegularFile::Open(path);
        if (fd != RegularFile::kInvalid) {
            tif = TIFFFdOpenExt(fd, path.c_str(), mode, options);
            if (!tif)
                ::close(fd);
        }
    } else {
        tif = TIFFOpenExt(path.c_str(), mode, options);
    }
    TIFFOpenOptionsFree(options);
    return tif;
}

int FormatOf(TIFF* tif)
{
    uint16_t bits = 8, samples = 1, photometric = PHOTOMETRIC_RGB, extra = 0;
    uint16_t* extraTypes = nullptr;
    TIFFGetFieldDefaulted(tif, TIFFTAG_BITSPERSAMPLE, &bits);
    TIFFGetFieldDefaulted(tif, TIFFTAG_SAMPLESPERPIXEL, &samples);
    TIFFGetField(tif, TIFFTAG_PHOTOMETRIC, &photometric);
    TIFFGetFieldDefaulted(tif, TIFFTAG_EXTRASAMPLES, &extra, &extraTypes);
    if (photometric == PHOTOMETRIC_PALETTE)
        return ZarnLib_Bitmap::kFormat8bppIndexed;
    if (photometric == PHOTOMETRIC_MINISBLACK || photometric == PHOTOMETRIC_MINISWHITE) {
        if (samples == 1)
            return bits == 16 ? ZarnLib_Bitmap::kFormat16bppGrayScale : ZarnLib_Bitmap::kFormat8bppIndexed;
    }
    if (extra > 0)
        return bits == 16 ? ZarnLib_Bitmap::kFormat64bppARGB : ZarnLib_Bitmap::kFormat32bppARGB;
    return bits == 16 ? ZarnLib_Bitmap::kFormat48bppRGB : ZarnLib_Bitmap::kFormat24bppRGB;
}

// Plain 8-bit RGB or grey strips stored top row first, the layout of camera TIFFs: read scanline by
// scanline straight into the bitmap. The general RGBA reader would first hold a whole strip (the
// whole picture in a single-strip file) and repack every pixel twice; the values are the same.
bool IsPlainLayout(TIFF* tif)
{
    uint16_t bits = 8, samples = 1, photometric = 0, planar = PLANARCONFIG_CONTIG, orientation = ORIENTATION_TOPLEFT,
             extra = 0;
    uint16_t* extraTypes = nullptr;
    TIFFGetFieldDefaulted(tif, TIFFTAG_BITSPERSAMPLE, &bits);
    TIFFGetFieldDefaulted(tif, TIFFTAG_SAMPLESPERPIXEL, &samples);
    TIFFGetFieldDefaulted(tif, TIFFTAG_PLANARCONFIG, &planar);
    TIFFGetFieldDefaulted(tif, TIFFTAG_ORIENTATION, &orientation);
    TIFFGetFieldDefaulted(tif, TIFFTAG_EXTRASAMPLES, &extra, &extraTypes);
    if (!TIFFGetField(tif, TIFFTAG_PHOTOMETRIC, &photometric) || TIFFIsTiled(tif) || bits != 8 ||
        planar != PLANARCONFIG_CONTIG || orientation != ORIENTATION_TOPLEFT || extra != 0)
        return false;
    return (photometric == PHOTOMETRIC_RGB && samples == 3) || (photometric == PHOTOMETRIC_MINISBLACK && samples == 1);
}

bool ReadPlain(TIFF* tif, ZarnLib_Bitmap& bitmap)
{
    uint16_t samples = 1;
    TIFFGetFieldDefaulted(tif, TIFFTAG_SAMPLESPERPIXEL, &samples);
    const std::uint32_t width = bitmap.GetWidth();
    const tmsize_t lineSize = TIFFScanlineSize(tif);
    if (lineSize < static_cast<tmsize_t>(width) * samples)
        return false;
    std::vector<unsigned char> line(static_cast<std::size_t>(lineSize));
    for (std::uint32_t y = 0; y < bitmap.GetHeight(); ++y) {
        if (TIFFReadScanline(tif, line.data(), y, 0) != 1)
            return false;
        std::uint32_t* out = bitmap.Row(y);
        const unsigned char* in = line.data();
        if (samples == 3) {
            for (std::uint32_t x = 0; x < width; ++x, in += 3)
                out[x] = 0xFF000000u | (std::uint32_t(in[0]) << 16) | (std::uint32_t(in[1]) << 8) | in[2];
        } else {
            for (std::uint32_t x = 0; x < width; ++x)
                out[x] = 0xFF000000u | (std::uint32_t(in[x]) * 0x010101u);
        }
    }
    return true;
}

// The most that any compression of 8-bit and deeper samples shrinks a picture (LZW and Deflate
// reach about 1000:1 on a uniform picture; a photograph gets nowhere near that).
constexpr std::uint64_t kMaxCompression = 4096;

// True when every strip or tile the picture needs lies inside the file, uncompressed data is as
// long as the rows it claims, and compressed data could hold them. A small damaged or crafted
// file that claims a huge picture is refused here, before the picture's memory is taken; a file
// that passes may still fail to decode.
bool HoldsItsData(TIFF* tif, const std::string& path, std::uint32_t height)
{
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0 || info.st_size <= 0)
        return false;
    const auto fileSize = static_cast<std::uint64_t>(info.st_size);
    const bool tiled = TIFFIsTiled(tif) != 0;
    const std::uint32_t pieces = tiled ? TIFFNumberOfTiles(tif) : TIFFNumberOfStrips(tif);
    if (pieces == 0)
        return false;
    std::uint64_t total = 0;
    for (std::uint32_t i = 0; i < pieces; ++i) {
        int err = 0;
        const std::uint64_t offset = TIFFGetStrileOffsetWithErr(tif, i, &err);
        const std::uint64_t bytes = TIFFGetStrileByteCountWithErr(tif, i, &err);
        if (err != 0 || offset == 0 || bytes == 0 || offset > fileSize || bytes > fileSize - offset)
            return false;
        total += bytes;
    }
    uint16_t compression = COMPRESSION_NONE, planar = PLANARCONFIG_CONTIG, samples = 1, bits = 1;
    TIFFGetFieldDefaulted(tif, TIFFTAG_COMPRESSION, &compression);
    TIFFGetFieldDefaulted(tif, TIFFTAG_PLANARCONFIG, &planar);
    TIFFGetFieldDefaulted(tif, TIFFTAG_SAMPLESPERPIXEL, &samples);
    TIFFGetFieldDefaulted(tif, TIFFTAG_BITSPERSAMPLE, &bits);
    const std::uint64_t planes = planar == PLANARCONFIG_SEPARATE ? samples : 1;
    const std::uint64_t raw = tiled ? static_cast<std::uint64_t>(TIFFTileSize64(tif)) * pieces
                                    : static_cast<std::uint64_t>(TIFFScanlineSize64(tif)) * height * planes;
    if (compression == COMPRESSION_NONE)
        return tiled || total >= raw;
    // Bilevel pictures (fax compressions) shrink far more; they are not held to the bound.
    return bits < 8 || total >= raw / kMaxCompression;
}

} // namespace

std::unique_ptr<ZarnLib_Bitmap> ZarnLib_TiffCodec::Decode(const std::string& path, int* pixelFormat)
{
    TIFF* tif = OpenQuiet(path, "r");
    if (!tif)
        return nullptr;
    std::unique_ptr<ZarnLib_Bitmap> bitmap;
    uint32_t width = 0, height = 0;
    char message[1024];
    if (TIFFGetField(tif, TIFFTAG_IMAGEWIDTH, &width) && TIFFGetField(tif, TIFFTAG_IMAGELENGTH, &height) &&
        TIFFRGBAImageOK(tif, message) && HoldsItsData(tif, path, height)) {
        const int format = FormatOf(tif);
        bitmap = ZarnLib_Bitmap::Create(width, height, format);
        if (bitmap && IsPlainLayout(tif)) {
            if (ReadPlain(tif, *bitmap)) {
                if (pixelFormat)
                    *pixelFormat = format;
            } else {
                bitmap.reset();
            }
        } else if (bitmap && TIFFReadRGBAImageOriented(tif, width, height, bitmap->Data(), ORIENTATION_TOPLEFT, 1)) {
            // libtiff packs R in the low byte (0xAABBGGRR); the bitmap wants 0xAARRGGBB.
            std::uint32_t* p = bitmap->Data();
            const std::size_t n = static_cast<std::size_t>(width) * height;
            for (std::size_t i = 0; i < n; ++i) {
                const std::uint32_t v = p[i];
                p[i] = (v & 0xFF00FF00u) | ((v & 0xFFu) << 16) | ((v >> 16) & 0xFFu);
            }
            if (pixelFormat)
                *pixelFormat = format;
        } else {
            bitmap.reset();
        }
    }
    TIFFClose(tif);
    return bitmap;
}

bool ZarnLib_TiffCodec::DecodeRows(const std::string& path, const RowsSize& size, const RowSink& sink,
                                   bool* streamable)
{
    *streamable = true;
    TIFF* tif = OpenQuiet(path, "r");
    if (!tif)
        return false;
    bool ok = false;
    uint32_t width = 0, height = 0;
    char message[1024];
    // The same check of the file's strips as the whole-picture load, so that both refuse the same
    // damaged files.
    if (TIFFGetField(tif, TIFFTAG_IMAGEWIDTH, &width) && TIFFGetField(tif, TIFFTAG_IMAGELENGTH, &height) &&
        TIFFRGBAImageOK(tif, message) && HoldsItsData(tif, path, height)) {
        const std::uint64_t count = static_cast<std::uint64_t>(width) * height;
        if (count == 0 || count > ZarnLib_Bitmap::kMaxPixels) {
            ok = false;
        } else if (!IsPlainLayout(tif)) {
            *streamable = false;
        } else {
            uint16_t samples = 1;
            TIFFGetFieldDefaulted(tif, TIFFTAG_SAMPLESPERPIXEL, &samples);
            const tmsize_t lineSize = TIFFScanlineSize(tif);
            ok = lineSize >= static_cast<tmsize_t>(width) * samples;
            if (ok) {
                std::vector<unsigned char> line(static_cast<std::size_t>(lineSize));
                std::vector<unsigned char> rgb(samples == 3 ? 0 : static_cast<std::size_t>(width) * 3);
                if (size)
                    size(width, height);
                for (std::uint32_t y = 0; ok && y < height; ++y) {
                    ok = TIFFReadScanline(tif, line.data(), y, 0) == 1;
                    if (!ok)
                        break;
                    if (samples != 3) {
                        for (std::uint32_t x = 0; x < width; ++x)
                            rgb[3 * x] = rgb[3 * x + 1] = rgb[3 * x + 2] = line[x];
                    }
                    if (sink)
                        sink(y, samples == 3 ? line.data() : rgb.data());
                }
            }
        }
    }
    TIFFClose(tif);
    return ok;
}

bool ZarnLib_TiffCodec::Encode(const ZarnLib_Bitmap& bitmap, const std::string& path)
{
    TIFF* tif = OpenQuiet(path, "w");
    if (!tif)
        return false;
    const std::uint32_t width = bitmap.GetWidth();
    const std::uint32_t height = bitmap.GetHeight();
    bool ok = TIFFSetField(tif, TIFFTAG_IMAGEWIDTH, width) && TIFFSetField(tif, TIFFTAG_IMAGELENGTH, height) &&
              TIFFSetField(tif, TIFFTAG_BITSPERSAMPLE, 8) && TIFFSetField(tif, TIFFTAG_SAMPLESPERPIXEL, 3) &&
              TIFFSetField(tif, TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_RGB) &&
              TIFFSetField(tif, TIFFTAG_PLANARCONFIG, PLANARCONFIG_CONTIG) &&
              TIFFSetField(tif, TIFFTAG_COMPRESSION, COMPRESSION_LZW) &&
              TIFFSetField(tif, TIFFTAG_ROWSPERSTRIP, TIFFDefaultStripSize(tif, 0));
    std::vector<unsigned char> row(static_cast<std::size_t>(width) * 3);
    for (std::uint32_t y = 0; ok && y < height; ++y) {
        const std::uint32_t* src = bitmap.Row(y);
        for (std::uint32_t x = 0; x < width; ++x) {
            row[3 * x] = static_cast<unsigned char>(src[x] >> 16);
            row[3 * x + 1] = static_cast<unsigned char>(src[x] >> 8);
            row[3 * x + 2] = static_cast<unsigned char>(src[x]);
        }
        ok = TIFFWriteScanline(tif, row.data(), y, 0) == 1;
    }
    if (ok)
        ok = TIFFWriteDirectory(tif) == 1;
    if (ok)
        ok = TIFFFlush(tif) == 1;
    TIFFClose(tif);
    if (!ok)
        std::remove(path.c_str());
    return ok;
}
