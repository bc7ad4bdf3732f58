// Reader for a TIFF file: the TIFF header is the start of the file.
#pragma once

#include "profilelib/ZarnExif_ExifReaderImpl.h"

class ZarnExif_TiffExifReaderImpl : public ZarnExif_ExifReaderImpl {
public:
    explicit ZarnExif_TiffExifReaderImpl(int byteOrder) : ZarnExif_ExifReaderImpl(byteOrder, 1) {}
    int LocateTiffHeader(ZarnExif_File& file) override;
};
