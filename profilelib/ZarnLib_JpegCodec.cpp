#include "profilelib/ZarnLib_JpegCodec.h"
#include "platform/RegularFile.h"

#include <bit>
#include <csetjmp>
#include <cstdio>
#include <vector>

#include <jpeglib.h>
#include <jerror.h>

namespace {

// Progressive files with more scans than this are refused: real cameras use about ten, and a
// crafted file with thousands of scans would take minutes to decode.
constexpr int kMaxScans = 500;

struct ErrorManager {
    jpeg_error_mgr mgr;
    std::jmp_buf jump;
    bool cutShort = false;    // the image data ran out before the last row
};

void OnError(j_common_ptr cinfo)
{
    std::longjmp(reinterpret_cast<ErrorManager*>(cinfo->err)->jump, 1);
}

void OnMessage(j_common_ptr) {}

// Warnings are not printed, but the one that matters is noted: the image data ran out (the
// entropy decoder needed bits and found the end) while rows were still to come. The library then
// fills the missing rows, and a picture cut short by an interrupted copy would be measured from
// invented rows. A file whose data is all there but whose end marker is missing only warns of the
// file's end, and still loads.
void OnEmit(j_common_ptr cinfo, int level)
{
    if (level != -1 || cinfo->is_decompressor == FALSE)
        return;
    if (cinfo->err->msg_code == JWRN_HIT_MARKER)
        reinterpret_cast<ErrorManager*>(cinfo->err)->cutShort = true;
}

void OnProgress(j_common_ptr cinfo)
{
    if (cinfo->is_decompressor) {
        auto* d = reinterpret_cast<j_decompress_ptr>(cinfo);
        if (d->progressive_mode && d->input_scan_number > kMaxScans)
            OnError(cinfo);
    }
}

// Everything that lives across the setjmp is held here, created before it.
struct DecodeState {
    jpeg_decompress_struct cinfo{};
    ErrorManager err{};
    jpeg_progress_mgr progress{};
    std::FILE* file = nullptr;
    std::unique_ptr<ZarnLib_Bitmap> bitmap;
    std::vector<unsigned char> row;
    std::vector<unsigned char> rgb; // CMYK rows converted for DecodeRows
    bool created = false;
};

struct EncodeState {
    jpeg_compress_struct cinfo{};
    ErrorManager err{};
    std::FILE* file = nullptr;
    std::vector<unsigned char> row;
    bool created = false;
};

// Creates the decompressor and reads the header; false for a damaged header or a picture of no
// area or too many pixels. Library errors jump to the caller's setjmp, whose frame is still live.
bool ReadHeader(DecodeState& s)
{
    jpeg_create_decompress(&s.cinfo);
    s.created = true;
    s.progress.progress_monitor = OnProgress;
    s.cinfo.progress = &s.progress;
    jpeg_stdio_src(&s.cinfo, s.file);
    if (jpeg_read_header(&s.cinfo, TRUE) != JPEG_HEADER_OK)
        return false;
    const std::uint64_t w = s.cinfo.image_width;
    const std::uint64_t h = s.cinfo.image_height;
    return w != 0 && h != 0 && w * h <= ZarnLib_Bitmap::kMaxPixels;
}

// One CMYK sample to R, G and B. Adobe writes CMYK inverted (each stored value is 255 - ink);
// other writers store the ink itself.
void CmykToRgb(const unsigned char* cmyk, bool inverted, unsigned* r, unsigned* g, unsigned* b)
{
    unsigned c = cmyk[0], m = cmyk[1], y = cmyk[2], k = cmyk[3];
    if (!inverted) {
        c = 255 - c;
        m = 255 - m;
        y = 255 - y;
        k = 255 - k;
    }
    *r = (c * k + 127) / 255;
    *g = (m * k + 127) / 255;
    *b = (y * k + 127) / 255;
}

bool RunDecode(DecodeState& s, const ZarnLib_JpegCodec::NeededSize& needed, std::uint32_t* fileWidth,
               std::uint32_t* fileHeight, int* pixelFormat)
{
    if (setjmp(s.err.jump))
        return false;
    if (!ReadHeader(s))
        return false;
    const std::uint32_t fw = s.cinfo.image_width;
    const std::uint32_t fh = s.cinfo.image_height;
    *fileWidth = fw;
    *fileHeight = fh;

    std::uint32_t needW = 0;
    std::uint32_t needH = 0;
    if (needed)
        needed(fw, fh, &needW, &needH);
    unsigned denom = 1;
    if (needW > 0 && needH > 0) {
        for (unsigned d : {8u, 4u, 2u}) {
            if ((fw + d - 1) / d >= needW && (fh + d - 1) / d >= needH) {
                denom = d;
                break;
            }
        }
    }
    s.cinfo.scale_num = 1;
    s.cinfo.scale_denom = denom;

    const bool cmyk = s.cinfo.jpeg_color_space == JCS_CMYK || s.cinfo.jpeg_color_space == JCS_YCCK;
    const bool grey = s.cinfo.jpeg_color_space == JCS_GRAYSCALE;
    if (cmyk) {
        s.cinfo.out_color_space = JCS_CMYK;
    } else {
        // Memory order B, G, R, A is the pixel 0xAARRGGBB on a little-endian machine.
        s.cinfo.out_color_space = (std::endian::native == std::endian::little) ? JCS_EXT_BGRA : JCS_EXT_ARGB;
    }
    *pixelFormat = grey ? ZarnLib_Bitmap::kFormat8bppIndexed : ZarnLib_Bitmap::kFormat24bppRGB;

    jpeg_start_decompress(&s.cinfo);
    if (s.err.cutShort)
        return false;
    s.bitmap = ZarnLib_Bitmap::Create(s.cinfo.output_width, s.cinfo.output_height, *pixelFormat);
    if (!s.bitmap)
        return false;
    if (cmyk)
        s.row.resize(static_cast<std::size_t>(s.cinfo.output_width) * 4);
    while (s.cinfo.output_scanline < s.cinfo.output_height) {
        const JDIMENSION y = s.cinfo.output_scanline;
        if (cmyk) {
            JSAMPROW rowPtr = s.row.data();
            jpeg_read_scanlines(&s.cinfo, &rowPtr, 1);
            std::uint32_t* dst = s.bitmap->Row(y);
            const bool inverted = s.cinfo.saw_Adobe_marker;
            for (JDIMENSION x = 0; x < s.cinfo.output_width; ++x) {
                unsigned r = 0, g = 0, b = 0;
                CmykToRgb(&s.row[4 * x], inverted, &r, &g, &b);
                dst[x] = 0xFF000000u | (r << 16) | (g << 8) | b;
            }
        } else {
            JSAMPROW rowPtr = reinterpret_cast<JSAMPROW>(s.bitmap->Row(y));
            jpeg_read_scanlines(&s.cinfo, &rowPtr, 1);
        }
        if (s.err.cutShort)
            return false;
    }
    jpeg_finish_decompress(&s.cinfo);
    return true;
}

// Full-size decoding into one 3-byte-per-pixel row; CMYK is converted as in RunDecode.
bool RunDecodeRows(DecodeState& s, const ZarnLib_JpegCodec::RowsSize& size, const ZarnLib_JpegCodec::RowSink& sink)
{
    if (setjmp(s.err.jump))
        return false;
    if (!ReadHeader(s))
        return false;
    s.cinfo.scale_num = 1;
    s.cinfo.scale_denom = 1;
    const bool cmyk = s.cinfo.jpeg_color_space == JCS_CMYK || s.cinfo.jpeg_color_space == JCS_YCCK;
    s.cinfo.out_color_space = cmyk ? JCS_CMYK : JCS_EXT_RGB;
    jpeg_start_decompress(&s.cinfo);
    if (s.err.cutShort)
        return false;
    const JDIMENSION width = s.cinfo.output_width;
    s.row.resize(static_cast<std::size_t>(width) * (cmyk ? 4 : 3));
    if (cmyk)
        s.rgb.resize(static_cast<std::size_t>(width) * 3);
    if (size)
        size(width, s.cinfo.output_height);
    while (s.cinfo.output_scanline < s.cinfo.output_height) {
        const JDIMENSION y = s.cinfo.output_scanline;
        JSAMPROW rowPtr = s.row.data();
        jpeg_read_scanlines(&s.cinfo, &rowPtr, 1);
        if (s.err.cutShort)
            return false;
        if (cmyk) {
            const bool inverted = s.cinfo.saw_Adobe_marker;
            for (JDIMENSION x = 0; x < width; ++x) {
                unsigned r = 0, g = 0, b = 0;
                CmykToRgb(&s.row[4 * x], inverted, &r, &g, &b);
                s.rgb[3 * x] = static_cast<unsigned char>(r);
                s.rgb[3 * x + 1] = static_cast<unsigned char>(g);
                s.rgb[3 * x + 2] = static_cast<unsigned char>(b);
            }
        }
        if (sink)
            sink(y, cmyk ? s.rgb.data() : s.row.data());
    }
    jpeg_finish_decompress(&s.cinfo);
    return true;
}

bool RunEncode(EncodeState& s, const ZarnLib_Bitmap& bitmap, int quality)
{
    if (setjmp(s.err.jump))
        return false;
    jpeg_create_compress(&s.cinfo);
    s.created = true;
    jpeg_stdio_dest(&s.cinfo, s.file);
    s.cinfo.image_width = bitmap.GetWidth();
    s.cinfo.image_height = bitmap.GetHeight();
    s.cinfo.input_components = 3;
    s.cinfo.in_color_space = JCS_RGB;
    jpeg_set_defaults(&s.cinfo);
    jpeg_set_quality(&s.cinfo, quality, TRUE);
    jpeg_start_compress(&s.cinfo, TRUE);
    s.row.resize(static_cast<std::size_t>(bitmap.GetWidth()) * 3);
    while (s.cinfo.next_scanline < s.cinfo.image_height) {
        const std::uint32_t* src = bitmap.Row(s.cinfo.next_scanline);
        for (std::uint32_t x = 0; x < bitmap.GetWidth(); ++x) {
            s.row[3 * x] = static_cast<unsigned char>(src[x] >> 16);
            s.row[3 * x + 1] = static_cast<unsigned char>(src[x] >> 8);
            s.row[3 * x + 2] = static_cast<unsigned char>(src[x]);
        }
        JSAMPROW rowPtr = s.row.data();
        jpeg_write_scanlines(&s.cinfo, &rowPtr, 1);
    }
    jpeg_finish_compress(&s.cinfo);
    return true;
}

} // namespace

std::unique_ptr<ZarnLib_Bitmap> ZarnLib_JpegCodec::Decode(const std::string& path, const NeededSize& needed,
                                                          std::uint32_t* fileWidth, std::uint32_t* fileHeight,
                                                          int* pixelFormat)
{
    auto s = std::make_unique<DecodeState>();
    s->file = RegularFile::OpenStream(path);
    if (!s->file)
        return nullptr;
    s->cinfo.err = jpeg_std_error(&s->err.mgr);
    s->err.mgr.error_exit = OnError;
    s->err.mgr.output_message = OnMessage;
    s->err.mgr.emit_message = OnEmit;
    std::uint32_t fw = 0, fh = 0;
    int format = 0;
    const bool ok = RunDecode(*s, needed, &fw, &fh, &format);
    if (s->created)
        jpeg_destroy_decompress(&s->cinfo);
    std::fclose(s->file);
    if (!ok)
        return nullptr;
    if (fileWidth)
        *fileWidth = fw;
    if (fileHeight)
        *fileHeight = fh;
    if (pixelFormat)
        *pixelFormat = format;
    return std::move(s->bitmap);
}

bool ZarnLib_JpegCodec::DecodeRows(const std::string& path, const RowsSize& size, const RowSink& sink)
{
    auto s = std::make_unique<DecodeState>();
    s->file = RegularFile::OpenStream(path);
    if (!s->file)
        return false;
    s->cinfo.err = jpeg_std_error(&s->err.mgr);
    s->err.mgr.error_exit = OnError;
    s->err.mgr.output_message = OnMessage;
    s->err.mgr.emit_message = OnEmit;
    const bool ok = RunDecodeRows(*s, size, sink);
    if (s->created)
        jpeg_destroy_decompress(&s->cinfo);
    std::fclose(s->file);
    return ok;
}

bool ZarnLib_JpegCodec::Encode(const ZarnLib_Bitmap& bitmap, const std::string& path, int quality)
{
    auto s = std::make_unique<EncodeState>();
    s->file = std::fopen(path.c_str(), "wb");
    if (!s->file)
        return false;
    s->cinfo.err = jpeg_std_error(&s->err.mgr);
    s->err.mgr.error_exit = OnError;
    s->err.mgr.output_message = OnMessage;
    bool ok = RunEncode(*s, bitmap, quality);
    if (s->created)
        jpeg_destroy_compress(&s->cinfo);
    if (std::ferror(s->file))
        ok = false;
    if (std::fclose(s->file) != 0)
        ok = false;
    if (!ok)
        std::remove(path.c_str());
    return ok;
}
