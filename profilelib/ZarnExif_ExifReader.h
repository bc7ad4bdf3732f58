// Reads the directory entries of a JPEG (APP1 "Exif") or TIFF file. Result codes: 0 success,
// 1 cannot open, 2 neither TIFF nor JPEG, 3 short read or malformed, 5 no Exif data.
#pragma once

#include "profilelib/ZarnExif_ExifTag.h"
#include "profilelib/ZarnExif_File.h"

#include <memory>
#include <string>

class ZarnExif_ExifReader {
public:
    ZarnExif_ExifReader();
    ~ZarnExif_ExifReader();
    ZarnExif_ExifReader(const ZarnExif_ExifReader&) = delete;
    ZarnExif_ExifReader& operator=(const ZarnExif_ExifReader&) = delete;

    // The list is emptied first and keeps the entries read so far whatever the result.
    int Read(const std::wstring& path, ZarnExif_ExifTagList& list);
    int Read(const std::string& path, ZarnExif_ExifTagList& list);

private:
    int ReadOpenFile(ZarnExif_ExifTagList& list);

    std::unique_ptr<ZarnExif_File> file_;
};

// The first entry with that tag number, or null.
const ZarnExif_ExifTag* ZarnExif_FindTag(const ZarnExif_ExifTagList& list, int tag);
// "BYTE", "ASCII", ... or "---" for an unknown type code.
const char* ZarnExif_TypeName(int type);
int ZarnExif_ParseDecimal(const std::string& text);
int ZarnExif_ParseHex(const std::string& text);
