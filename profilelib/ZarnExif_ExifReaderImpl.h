// Walks a TIFF structure (header, directory 0 and its Exif and GPS sub-directories) and turns
// every directory entry into a ZarnExif_ExifTag. Subclasses differ only in how they find the
// TIFF header inside the file.
#pragma once

#include "profilelib/ZarnExif_ExifTag.h"
#include "profilelib/ZarnExif_File.h"

#include <cstddef>
#include <cstdint>
#include <utility>
#include <vector>

class ZarnExif_ExifReaderImpl {
public:
    explicit ZarnExif_ExifReaderImpl(int initialOrder, int kind);
    virtual ~ZarnExif_ExifReaderImpl() = default;

    virtual int LocateTiffHeader(ZarnExif_File& file) = 0;
    virtual int ReadHeader(ZarnExif_File& file, ZarnExif_ExifTagList& list);
    virtual int ReadIfd(ZarnExif_File& file, ZarnExif_ExifTagList& list);
    virtual int ReadEntry(ZarnExif_File& file, ZarnExif_ExifTag& entry);
    virtual std::uint32_t ValueOffset(int type, std::uint32_t valueField, std::uint32_t count) const;
    // Formats the entry's value from `size` bytes; never reads past them.
    virtual bool FormatValue(const unsigned char* bytes, std::size_t size, ZarnExif_ExifTag& entry) const;
    virtual int ReadValueAt(ZarnExif_File& file, ZarnExif_ExifTag& entry);

    int GetOrder() const { return order; }
    int GetKind() const { return kind; }

    // Element size of a TIFF type; 8 for an unknown type.
    static std::size_t ElementSize(int type);

protected:
    std::uint16_t Get16(const unsigned char* p) const;
    std::uint32_t Get32(const unsigned char* p) const;

    int initialOrder;
    int order;
    int kind;

private:
    // Byte ranges of the directories read so far: a directory that overlaps one of them (a loop
    // or a pointer back into a directory) is not read again.
    std::vector<std::pair<std::int64_t, std::int64_t>> visited_;
    int depth_ = 0;
};
