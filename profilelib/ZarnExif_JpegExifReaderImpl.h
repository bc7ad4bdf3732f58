// Reader for a JPEG file: the TIFF header follows the "Exif" mark of the first APP1 segment.
#pragma once

#include "profilelib/ZarnExif_ExifReaderImpl.h"

class ZarnExif_JpegExifReaderImpl : public ZarnExif_ExifReaderImpl {
public:
    explicit ZarnExif_JpegExifReaderImpl(int byteOrder) : ZarnExif_ExifReaderImpl(byteOrder, 2) {}
    int LocateTiffHeader(ZarnExif_File& file) override;
};
