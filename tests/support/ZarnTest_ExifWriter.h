// Test double: writes small Exif structures of our own, in either byte order, and JPEG or TIFF
// files that carry them (JPEG: APP1 "Exif" after the JFIF segment; TIFF: image directory 0 with an
// Exif sub-directory and uncompressed RGB strips).
#pragma once

#include "profilelib/ZarnLib_Bitmap.h"

#include <cstdint>
#include <string>
#include <vector>

class ZarnTest_ExifWriter {
public:
    explicit ZarnTest_ExifWriter(bool bigEndian) : bigEndian_(bigEndian) {}

    // Raw entry: `value` holds count x element-size bytes already in the writer's byte order
    // (see Bytes16/Bytes32); short values are placed in the entry, longer ones after it.
    void AddEntry(bool exifDirectory, int tag, int type, std::uint32_t count, const std::vector<unsigned char>& value);
    void AddShort(bool exifDirectory, int tag, std::vector<std::uint16_t> values);
    void AddLong(bool exifDirectory, int tag, std::uint32_t value);
    void AddRational(bool exifDirectory, int tag, std::uint32_t numerator, std::uint32_t denominator, bool isSigned = false);
    void AddAscii(bool exifDirectory, int tag, const std::string& text);

    // The usual exposure tags: ISOSpeedRatings, ExposureTime and FNumber in the Exif directory.
    void AddExposure(int iso, std::uint32_t timeNum, std::uint32_t timeDen, std::uint32_t fNum, std::uint32_t fDen);

    std::vector<unsigned char> Bytes16(std::uint16_t v) const;
    std::vector<unsigned char> Bytes32(std::uint32_t v) const;

    // Header, directory 0 (with the Exif pointer when Exif entries exist) and the Exif directory.
    std::vector<unsigned char> BuildTiffBlock() const;

    bool WriteJpeg(const ZarnLib_Bitmap& bitmap, const std::string& path, int quality) const;
    bool WriteTiff(const ZarnLib_Bitmap& bitmap, const std::string& path) const;

private:
    struct Entry {
        int tag;
        int type;
        std::uint32_t count;
        std::vector<unsigned char> value;
    };
    std::vector<unsigned char> Build(const ZarnLib_Bitmap* image) const;

    bool bigEndian_;
    std::vector<Entry> ifd0_;
    std::vector<Entry> exif_;
};
