#include "profilelib/ZarnExif_JpegExifReaderImpl.h"

#include <cstring>

namespace {
bool ReadBigEndian16(ZarnExif_File& file, unsigned& out)
{
    unsigned char b[2];
    if (file.Read(b, 2) != 2)
        return false;
    out = (static_cast<unsigned>(b[0]) << 8) | b[1];
    return true;
}
} // namespace

int ZarnExif_JpegExifReaderImpl::LocateTiffHeader(ZarnExif_File& file)
{
    unsigned soi = 0;
    unsigned marker = 0;
    if (!ReadBigEndian16(file, soi) || !ReadBigEndian16(file, marker))
        return 3;
    for (;;) {
        if (marker == 0xFFD9 || marker < 0xFF00)
            return 5;
        unsigned length = 0;
        if (!ReadBigEndian16(file, length))
            return 3;
        if (length < 2)
            return 5;
        if (marker == 0xFFE1) {
            // Only the first APP1 segment is examined, whatever it holds.
            unsigned char mark[6];
            if (file.Read(mark, 6) != 6)
                return 3;
            if (std::memcmp(mark, "Exif", 4) != 0)
                return 3;
            file.MarkBase();
            return 0;
        }
        if (!file.SetPosition(file.GetPosition() + length - 2))
            return 3;
        if (!ReadBigEndian16(file, marker))
            return 3;
    }
}
