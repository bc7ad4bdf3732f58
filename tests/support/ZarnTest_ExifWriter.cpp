#include "tests/support/ZarnTest_ExifWriter.h"

#include <algorithm>
#include <csetjmp>
#include <cstdio>
#include <fstream>

#include <jpeglib.h>

namespace {

std::size_t TypeSize(int type)
{
    switch (type) {
    case 1: case 2: case 6: case 7: return 1;
    case 3: case 8: return 2;
    case 4: case 9: case 11: return 4;
    default: return 8;
    }
}

struct JpegError {
    jpeg_error_mgr mgr;
    std::jmp_buf jump;
};

void OnJpegError(j_common_ptr cinfo) { std::longjmp(reinterpret_cast<JpegError*>(cinfo->err)->jump, 1); }

} // namespace

std::vector<unsigned char> ZarnTest_ExifWriter::Bytes16(std::uint16_t v) const
{
    if (bigEndian_)
        return {static_cast<unsigned char>(v >> 8), static_cast<unsigned char>(v)};
    return {static_cast<unsigned char>(v), static_cast<unsigned char>(v >> 8)};
}

std::vector<unsigned char> ZarnTest_ExifWriter::Bytes32(std::uint32_t v) const
{
    std::vector<unsigned char> hi = Bytes16(static_cast<std::uint16_t>(v >> 16));
    std::vector<unsigned char> lo = Bytes16(static_cast<std::uint16_t>(v));
    if (bigEndian_) {
        hi.insert(hi.end(), lo.begin(), lo.end());
        return hi;
    }
    lo.insert(lo.end(), hi.begin(), hi.end());
    return lo;
}

void ZarnTest_ExifWriter::AddEntry(bool exifDirectory, int tag, int type, std::uint32_t count,
                                   const std::vector<unsigned char>& value)
{
    (exifDirectory ? exif_ : ifd0_).push_back({tag, type, count, value});
}

void ZarnTest_ExifWriter::AddShort(bool exifDirectory, int tag, std::vector<std::uint16_t> values)
{
    std::vector<unsigned char> bytes;
    for (auto v : values) {
        auto b = Bytes16(v);
        bytes.insert(bytes.end(), b.begin(), b.end());
    }
    AddEntry(exifDirectory, tag, 3, static_cast<std::uint32_t>(values.size()), bytes);
}

void ZarnTest_ExifWriter::AddLong(bool exifDirectory, int tag, std::uint32_t value)
{
    AddEntry(exifDirectory, tag, 4, 1, Bytes32(value));
}

void ZarnTest_ExifWriter::AddRational(bool exifDirectory, int tag, std::uint32_t numerator, std::uint32_t denominator,
                                      bool isSigned)
{
    auto bytes = Bytes32(numerator);
    auto den = Bytes32(denominator);
    bytes.insert(bytes.end(), den.begin(), den.end());
    AddEntry(exifDirectory, tag, isSigned ? 10 : 5, 1, bytes);
}

void ZarnTest_ExifWriter::AddAscii(bool exifDirectory, int tag, const std::string& text)
{
    std::vector<unsigned char> bytes(text.begin(), text.end());
    bytes.push_back(0);
    AddEntry(exifDirectory, tag, 2, static_cast<std::uint32_t>(bytes.size()), bytes);
}

void ZarnTest_ExifWriter::AddExposure(int iso, std::uint32_t timeNum, std::uint32_t timeDen, std::uint32_t fNum,
                                      std::uint32_t fDen)
{
    AddRational(true, 33434, timeNum, timeDen);
    AddRational(true, 33437, fNum, fDen);
    AddShort(true, 34855, {static_cast<std::uint16_t>(iso)});
}

std::vector<unsigned char> ZarnTest_ExifWriter::BuildTiffBlock() const { return Build(nullptr); }

// Layout: header, directory 0, Exif directory, out-of-line values, then the image strip (TIFF only).
std::vector<unsigned char> ZarnTest_ExifWriter::Build(const ZarnLib_Bitmap* image) const
{
    std::vector<Entry> first = ifd0_;
    std::vector<unsigned char> pixels;
    if (image) {
        const std::uint32_t w = image->GetWidth(), h = image->GetHeight();
        auto add16 = [&](int tag, std::uint16_t v) { first.push_back({tag, 3, 1, Bytes16(v)}); };
        auto add32 = [&](int tag, std::uint32_t v) { first.push_back({tag, 4, 1, Bytes32(v)}); };
        add32(256, w);
        add32(257, h);
        std::vector<unsigned char> bits;
        for (int i = 0; i < 3; ++i) {
            auto b = Bytes16(8);
            bits.insert(bits.end(), b.begin(), b.end());
        }
        first.push_back({258, 3, 3, bits});
        add16(259, 1);
        add16(262, 2);
        add32(273, 0); // strip offset, patched below
        add16(277, 3);
        add32(278, h);
        add32(279, w * h * 3);
        add16(284, 1);
        pixels.reserve(static_cast<std::size_t>(w) * h * 3);
        for (std::uint32_t y = 0; y < h; ++y) {
            const std::uint32_t* row = image->Row(y);
            for (std::uint32_t x = 0; x < w; ++x) {
                pixels.push_back(static_cast<unsigned char>(row[x] >> 16));
                pixels.push_back(static_cast<unsigned char>(row[x] >> 8));
                pixels.push_back(static_cast<unsigned char>(row[x]));
            }
        }
    }
    if (!exif_.empty())
        first.push_back({34665, 4, 1, Bytes32(0)}); // patched below
    auto byTag = [](const Entry& a, const Entry& b) { return a.tag < b.tag; };
    std::stable_sort(first.begin(), first.end(), byTag);
    std::vector<Entry> second = exif_;
    std::stable_sort(second.begin(), second.end(), byTag);

    const std::size_t ifd0Offset = 8;
    const std::size_t ifd0Size = 2 + 12 * first.size() + 4;
    const std::size_t exifOffset = ifd0Offset + ifd0Size;
    const std::size_t exifSize = second.empty() ? 0 : 2 + 12 * second.size() + 4;
    std::size_t dataOffset = exifOffset + exifSize;

    std::vector<unsigned char> out;
    out.insert(out.end(), {static_cast<unsigned char>(bigEndian_ ? 'M' : 'I'), static_cast<unsigned char>(bigEndian_ ? 'M' : 'I')});
    auto put = [&](const std::vector<unsigned char>& b) { out.insert(out.end(), b.begin(), b.end()); };
    put(Bytes16(42));
    put(Bytes32(static_cast<std::uint32_t>(ifd0Offset)));
    std::vector<unsigned char> data;
    std::size_t stripEntryPos = 0;
    auto writeDirectory = [&](const std::vector<Entry>& entries) {
        put(Bytes16(static_cast<std::uint16_t>(entries.size())));
        for (const Entry& e : entries) {
            put(Bytes16(static_cast<std::uint16_t>(e.tag)));
            put(Bytes16(static_cast<std::uint16_t>(e.type)));
            put(Bytes32(e.count));
            std::vector<unsigned char> v = e.value;
            if (e.tag == 34665 && &entries == &first)
                v = Bytes32(static_cast<std::uint32_t>(exifOffset));
            if (e.tag == 273 && image && &entries == &first)
                stripEntryPos = out.size();
            if (static_cast<std::uint64_t>(e.count) * TypeSize(e.type) <= 4) {
                v.resize(4, 0);
                put(v);
            } else {
                put(Bytes32(static_cast<std::uint32_t>(dataOffset + data.size())));
                data.insert(data.end(), v.begin(), v.end());
                if (data.size() % 2)
                    data.push_back(0);
            }
        }
        put(Bytes32(0));
    };
    writeDirectory(first);
    if (!second.empty())
        writeDirectory(second);
    put(data);
    if (image) {
        const auto stripOffset = Bytes32(static_cast<std::uint32_t>(out.size()));
        std::copy(stripOffset.begin(), stripOffset.end(), out.begin() + static_cast<std::ptrdiff_t>(stripEntryPos));
        put(pixels);
    }
    return out;
}

bool ZarnTest_ExifWriter::WriteTiff(const ZarnLib_Bitmap& bitmap, const std::string& path) const
{
    const auto bytes = Build(&bitmap);
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(out);
}

bool ZarnTest_ExifWriter::WriteJpeg(const ZarnLib_Bitmap& bitmap, const std::string& path, int quality) const
{
    std::vector<unsigned char> app1 = {'E', 'x', 'i', 'f', 0, 0};
    if (!ifd0_.empty() || !exif_.empty()) {
        const auto block = BuildTiffBlock();
        app1.insert(app1.end(), block.begin(), block.end());
    } else {
        app1.clear();
    }
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (!file)
        return false;
    std::vector<unsigned char> row(static_cast<std::size_t>(bitmap.GetWidth()) * 3);
    jpeg_compress_struct cinfo{};
    JpegError err{};
    cinfo.err = jpeg_std_error(&err.mgr);
    err.mgr.error_exit = OnJpegError;
    if (setjmp(err.jump)) {
        jpeg_destroy_compress(&cinfo);
        std::fclose(file);
        return false;
    }
    jpeg_create_compress(&cinfo);
    jpeg_stdio_dest(&cinfo, file);
    cinfo.image_width = bitmap.GetWidth();
    cinfo.image_height = bitmap.GetHeight();
    cinfo.input_components = 3;
    cinfo.in_color_space = JCS_RGB;
    jpeg_set_defaults(&cinfo);
    jpeg_set_quality(&cinfo, quality, TRUE);
    jpeg_start_compress(&cinfo, TRUE);
    if (!app1.empty())
        jpeg_write_marker(&cinfo, JPEG_APP0 + 1, app1.data(), static_cast<unsigned>(app1.size()));
    while (cinfo.next_scanline < cinfo.image_height) {
        const std::uint32_t* src = bitmap.Row(cinfo.next_scanline);
        for (std::uint32_t x = 0; x < bitmap.GetWidth(); ++x) {
            row[3 * x] = static_cast<unsigned char>(src[x] >> 16);
            row[3 * x + 1] = static_cast<unsigned char>(src[x] >> 8);
            row[3 * x + 2] = static_cast<unsigned char>(src[x]);
        }
        JSAMPROW p = row.data();
        jpeg_write_scanlines(&cinfo, &p, 1);
    }
    jpeg_finish_compress(&cinfo);
    jpeg_destroy_compress(&cinfo);
    return std::fclose(file) == 0;
}
