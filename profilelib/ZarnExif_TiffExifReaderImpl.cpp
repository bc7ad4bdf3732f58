#include "profilelib/ZarnExif_TiffExifReaderImpl.h"

int ZarnExif_TiffExifReaderImpl::LocateTiffHeader(ZarnExif_File& file)
{
    file.MarkBase();
    return 0;
}
