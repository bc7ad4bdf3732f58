#include "profilelib/ZarnExif_ExifReaderImpl.h"

#include <algorithm>
#include <cinttypes>
#include <cstdio>
#include <cstring>
#include <memory>

namespace {

constexpr int kExifIfdPointer = 34665;
constexpr int kGpsIfdPointer = 34853;
// Real files nest one level (directory 0 -> Exif or GPS directory); a few more are allowed, but a
// chain of pointers must not exhaust the stack.
constexpr int kMaxDirectoryDepth = 8;
// Far more directories than any photograph holds; bounds the work on a crafted file.
constexpr std::size_t kMaxDirectories = 1024;

void Append(std::string& text, const char* piece, bool first)
{
    if (!first)
        text += ", ";
    text += piece;
}

} // namespace

ZarnExif_ExifReaderImpl::ZarnExif_ExifReaderImpl(int initialOrderValue, int kindValue)
    : initialOrder(initialOrderValue), order(initialOrderValue), kind(kindValue)
{
}

std::size_t ZarnExif_ExifReaderImpl::ElementSize(int type)
{
    switch (type) {
    case 1: case 2: case 6: case 7: return 1;
    case 3: case 8: return 2;
    case 4: case 9: case 11: return 4;
    case 5: case 10: case 12: return 8;
    default: return 8;
    }
}

std::uint16_t ZarnExif_ExifReaderImpl::Get16(const unsigned char* p) const
{
    if (order == 1)
        return static_cast<std::uint16_t>(p[0] | (p[1] << 8));
    return static_cast<std::uint16_t>((p[0] << 8) | p[1]);
}

std::uint32_t ZarnExif_ExifReaderImpl::Get32(const unsigned char* p) const
{
    if (order == 1)
        return static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8) |
               (static_cast<std::uint32_t>(p[2]) << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
    return (static_cast<std::uint32_t>(p[0]) << 24) | (static_cast<std::uint32_t>(p[1]) << 16) |
           (static_cast<std::uint32_t>(p[2]) << 8) | static_cast<std::uint32_t>(p[3]);
}

int ZarnExif_ExifReaderImpl::ReadHeader(ZarnExif_File& file, ZarnExif_ExifTagList& list)
{
    unsigned char header[8];
    if (file.Read(header, 8) != 8)
        return 3;
    if (header[0] == 'M' && header[1] == 'M')
        order = 2;
    else if (header[0] == 'I' && header[1] == 'I')
        order = 1;
    else
        return 3;
    if (Get16(header + 2) != 42)
        return 3;
    std::uint32_t offset = Get32(header + 4);
    if (offset == 0)
        return 5;
    visited_.clear();
    depth_ = 0;
    if (!file.SeekFromBase(offset))
        return 3;
    return ReadIfd(file, list);
}

int ZarnExif_ExifReaderImpl::ReadIfd(ZarnExif_File& file, ZarnExif_ExifTagList& list)
{
    unsigned char countBytes[2];
    if (file.Read(countBytes, 2) != 2)
        return 3;
    const unsigned count = Get16(countBytes);
    if (count == 0)
        return 3;

    const std::int64_t start = file.GetPosition() - 2;
    const std::int64_t end = start + 2 + 12 * static_cast<std::int64_t>(count);
    for (const auto& range : visited_) {
        if (start < range.second && range.first < end)
            return 3;
    }
    if (visited_.size() >= kMaxDirectories)
        return 3;
    visited_.emplace_back(start, end);

    for (unsigned i = 0; i < count; ++i) {
        ZarnExif_ExifTag entry;
        if (ReadEntry(file, entry) != 0)
            return 3;
        list.push_back(entry);
        if ((entry.tag == kExifIfdPointer || entry.tag == kGpsIfdPointer) && depth_ < kMaxDirectoryDepth) {
            const std::int64_t resume = file.GetPosition();
            if (file.SeekFromBase(static_cast<std::uint32_t>(entry.value))) {
                ++depth_;
                ReadIfd(file, list);
                --depth_;
            }
            if (!file.SetPosition(resume))
                return 3;
        }
    }
    return 0;
}

int ZarnExif_ExifReaderImpl::ReadEntry(ZarnExif_File& file, ZarnExif_ExifTag& entry)
{
    unsigned char raw[12];
    if (file.Read(raw, 12) != 12)
        return 3;
    const std::int64_t after = file.GetPosition();
    entry.tag = Get16(raw);
    entry.type = Get16(raw + 2);
    entry.count = static_cast<int>(Get32(raw + 4));
    const std::uint32_t v = Get32(raw + 8);
    const std::uint32_t off = ValueOffset(entry.type, v, static_cast<std::uint32_t>(entry.count));
    if (off == 0) {
        FormatValue(raw + 8, 4, entry);
    } else {
        if (file.SeekFromBase(off))
            ReadValueAt(file, entry);
        if (!file.SetPosition(after))
            return 3;
    }
    return 0;
}

std::uint32_t ZarnExif_ExifReaderImpl::ValueOffset(int type, std::uint32_t valueField, std::uint32_t count) const
{
    const std::uint64_t size = static_cast<std::uint64_t>(count) * ElementSize(type);
    return size <= 4 ? 0 : valueField;
}

int ZarnExif_ExifReaderImpl::ReadValueAt(ZarnExif_File& file, ZarnExif_ExifTag& entry)
{
    const std::uint64_t size =
        static_cast<std::uint64_t>(static_cast<std::uint32_t>(entry.count)) * ElementSize(entry.type);
    if (size == 0)
        return 0;
    // A value that cannot lie inside the file is refused before any buffer is made for it.
    const std::int64_t remaining = file.GetSize() - file.GetPosition();
    if (remaining <= 0 || size > static_cast<std::uint64_t>(remaining))
        return 1;
    std::unique_ptr<unsigned char[]> buffer(new (std::nothrow) unsigned char[size]);
    if (!buffer)
        return 1;
    if (file.Read(buffer.get(), size) == size)
        FormatValue(buffer.get(), size, entry);
    return 1;
}

bool ZarnExif_ExifReaderImpl::FormatValue(const unsigned char* bytes, std::size_t size, ZarnExif_ExifTag& entry) const
{
    const int type = entry.type;
    if (type < 1 || type > 12)
        return false;
    const std::size_t esize = ElementSize(type);
    const std::uint64_t wanted = static_cast<std::uint32_t>(entry.count);
    const std::size_t n = static_cast<std::size_t>(std::min<std::uint64_t>(wanted, size / esize));
    std::string text;
    char piece[64];
    switch (type) {
    case 1:
    case 6:
        for (std::size_t i = 0; i < n; ++i) {
            std::snprintf(piece, sizeof piece, "%d", static_cast<int>(bytes[i]));
            Append(text, piece, i == 0);
            entry.value = bytes[i];
            entry.denominator = 0;
        }
        break;
    case 2: {
        std::size_t len = 0;
        while (len < n && bytes[len] != 0)
            ++len;
        text.assign(reinterpret_cast<const char*>(bytes), len);
        break;
    }
    case 3:
    case 8:
        for (std::size_t i = 0; i < n; ++i) {
            const int v = Get16(bytes + 2 * i);
            std::snprintf(piece, sizeof piece, "%d", v);
            Append(text, piece, i == 0);
            entry.value = v;
            entry.denominator = 0;
        }
        break;
    case 4:
    case 9:
        for (std::size_t i = 0; i < n; ++i) {
            const auto v = static_cast<std::int32_t>(Get32(bytes + 4 * i));
            std::snprintf(piece, sizeof piece, "%" PRId32, v);
            Append(text, piece, i == 0);
            entry.value = v;
            entry.denominator = 0;
        }
        break;
    case 5:
    case 10:
        // Only the first element; with no whole element in the bytes nothing is formatted.
        if (n >= 1) {
            const auto num = static_cast<std::int32_t>(Get32(bytes));
            const auto den = static_cast<std::int32_t>(Get32(bytes + 4));
            std::snprintf(piece, sizeof piece, "%" PRId32 "/%" PRId32, num, den);
            text = piece;
            entry.value = num;
            entry.denominator = den;
        }
        break;
    case 7:
        if (size >= 2) {
            std::snprintf(piece, sizeof piece, "0x%08x", static_cast<unsigned>(Get16(bytes)));
            text = piece;
        }
        break;
    case 11:
        for (std::size_t i = 0; i < n; ++i) {
            const std::uint32_t bits = Get32(bytes + 4 * i);
            float f = 0;
            std::memcpy(&f, &bits, sizeof f);
            std::snprintf(piece, sizeof piece, "%f", static_cast<double>(f));
            Append(text, piece, i == 0);
        }
        break;
    case 12:
        for (std::size_t i = 0; i < n; ++i) {
            const std::uint64_t hi = Get32(bytes + 8 * i);
            const std::uint64_t lo = Get32(bytes + 8 * i + 4);
            const std::uint64_t bits = order == 1 ? ((lo << 32) | hi) : ((hi << 32) | lo);
            double d = 0;
            std::memcpy(&d, &bits, sizeof d);
            std::string formatted(512, '\0');
            int len = std::snprintf(formatted.data(), formatted.size(), "%f", d);
            formatted.resize(len < 0 ? 0 : std::min<std::size_t>(static_cast<std::size_t>(len), formatted.size() - 1));
            Append(text, formatted.c_str(), i == 0);
        }
        break;
    default:
        return false;
    }
    entry.text = text;
    return true;
}
