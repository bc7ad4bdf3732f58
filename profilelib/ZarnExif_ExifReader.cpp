#include "profilelib/ZarnExif_ExifReader.h"

#include "profilelib/ZarnExif_JpegExifReaderImpl.h"
#include "profilelib/ZarnExif_TiffExifReaderImpl.h"

#include <cerrno>
#include <climits>
#include <cstdlib>

ZarnExif_ExifReader::ZarnExif_ExifReader() : file_(std::make_unique<ZarnExif_File>()) {}

ZarnExif_ExifReader::~ZarnExif_ExifReader()
{
    if (file_)
        file_->Close();
}

int ZarnExif_ExifReader::Read(const std::wstring& path, ZarnExif_ExifTagList& list)
{
    list.clear();
    if (!file_->Open(path))
        return 1;
    return ReadOpenFile(list);
}

int ZarnExif_ExifReader::Read(const std::string& path, ZarnExif_ExifTagList& list)
{
    list.clear();
    if (!file_->Open(path))
        return 1;
    return ReadOpenFile(list);
}

int ZarnExif_ExifReader::ReadOpenFile(ZarnExif_ExifTagList& list)
{
    std::unique_ptr<ZarnExif_ExifReaderImpl> reader;
    const std::int64_t start = file_->GetPosition();
    unsigned char head[8];
    const std::size_t got = file_->Read(head, 8);
    file_->SetPosition(start);
    if (got == 8) {
        if (head[0] == 'I' && head[1] == 'I' && head[2] == '*' && head[3] == 0)
            reader = std::make_unique<ZarnExif_TiffExifReaderImpl>(1);
        else if (head[0] == 'M' && head[1] == 'M' && head[2] == 0 && head[3] == '*')
            reader = std::make_unique<ZarnExif_TiffExifReaderImpl>(2);
        else if (head[0] == 0xFF && head[1] == 0xD8)
            reader = std::make_unique<ZarnExif_JpegExifReaderImpl>(2);
    }
    if (!reader) {
        file_->Close();
        return 2;
    }
    int r = reader->LocateTiffHeader(*file_);
    if (r == 0)
        r = reader->ReadHeader(*file_, list);
    file_->Close();
    return r;
}

const ZarnExif_ExifTag* ZarnExif_FindTag(const ZarnExif_ExifTagList& list, int tag)
{
    for (const auto& entry : list) {
        if (entry.tag == tag)
            return &entry;
    }
    return nullptr;
}

const char* ZarnExif_TypeName(int type)
{
    switch (type) {
    case 1: return "BYTE";
    case 2: return "ASCII";
    case 3: return "SHORT";
    case 4: return "LONG";
    case 5: return "RATIONAL";
    case 6: return "SBYTE";
    case 7: return "UNDEFINED";
    case 8: return "SSHORT";
    case 9: return "SLONG";
    case 10: return "SRATIONAL";
    case 11: return "FLOAT";
    case 12: return "DFLOAT";
    default: return "---";
    }
}

int ZarnExif_ParseDecimal(const std::string& text)
{
    // Out-of-range texts are clamped instead of overflowing.
    errno = 0;
    const long v = std::strtol(text.c_str(), nullptr, 10);
    if (v > INT_MAX)
        return INT_MAX;
    if (v < INT_MIN)
        return INT_MIN;
    return static_cast<int>(v);
}

int ZarnExif_ParseHex(const std::string& text)
{
    std::size_t first = 0;
    if (text.size() >= 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X'))
        first = 2;
    unsigned result = 0;
    unsigned shift = 0;
    for (std::size_t i = text.size(); i > first; --i) {
        const char c = text[i - 1];
        unsigned digit = 0;
        if (c >= '0' && c <= '9')
            digit = static_cast<unsigned>(c - '0');
        else if (c >= 'a' && c <= 'f')
            digit = static_cast<unsigned>(c - 'a' + 10);
        else if (c >= 'A' && c <= 'F')
            digit = static_cast<unsigned>(c - 'A' + 10);
        else
            return 0;
        if (shift < 32)
            result |= digit << shift;
        shift += 4;
    }
    return static_cast<int>(result);
}
