#include "profilelib/ZarnExif_File.h"
#include "platform/RegularFile.h"

ZarnExif_File::~ZarnExif_File() { Close(); }

bool ZarnExif_File::Open(const std::string& path)
{
    if (handle_)
        return false;
    // Only a regular file: a FIFO or a device would block the open or the reads.
    handle_ = RegularFile::OpenStream(path);
    if (!handle_)
        return false;
    base_ = 0;
    size_ = 0;
    if (std::fseek(handle_, 0, SEEK_END) == 0) {
        long end = std::ftell(handle_);
        size_ = end < 0 ? 0 : end;
    }
    std::fseek(handle_, 0, SEEK_SET);
    return true;
}

bool ZarnExif_File::Open(const std::wstring& path) { return Open(WideToNative(path)); }

void ZarnExif_File::Close()
{
    if (handle_) {
        std::fclose(handle_);
        handle_ = nullptr;
    }
}

std::size_t ZarnExif_File::Read(void* buffer, std::size_t count)
{
    if (!handle_ || count == 0)
        return 0;
    return std::fread(buffer, 1, count, handle_);
}

std::int64_t ZarnExif_File::GetPosition() const
{
    if (!handle_)
        return 0;
    return static_cast<std::int64_t>(std::ftell(handle_));
}

bool ZarnExif_File::SetPosition(std::int64_t position)
{
    if (!handle_ || position < 0)
        return false;
    return std::fseek(handle_, static_cast<long>(position), SEEK_SET) == 0;
}

std::string ZarnExif_File::WideToNative(const std::wstring& path)
{
    std::string out;
    out.reserve(path.size());
    for (wchar_t wc : path) {
        auto c = static_cast<std::uint32_t>(wc);
        if (c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF))
            c = 0xFFFD;
        if (c < 0x80) {
            out += static_cast<char>(c);
        } else if (c < 0x800) {
            out += static_cast<char>(0xC0 | (c >> 6));
            out += static_cast<char>(0x80 | (c & 0x3F));
        } else if (c < 0x10000) {
            out += static_cast<char>(0xE0 | (c >> 12));
            out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (c & 0x3F));
        } else {
            out += static_cast<char>(0xF0 | (c >> 18));
            out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
            out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    return out;
}

std::wstring ZarnExif_File::NativeToWide(const std::string& path)
{
    std::wstring out;
    std::size_t i = 0;
    while (i < path.size()) {
        auto b = static_cast<unsigned char>(path[i]);
        std::uint32_t c = 0xFFFD;
        std::size_t len = 1;
        if (b < 0x80) {
            c = b;
        } else if ((b & 0xE0) == 0xC0) {
            len = 2;
            c = b & 0x1F;
        } else if ((b & 0xF0) == 0xE0) {
            len = 3;
            c = b & 0x0F;
        } else if ((b & 0xF8) == 0xF0) {
            len = 4;
            c = b & 0x07;
        }
        if (len > 1) {
            if (i + len > path.size()) {
                c = 0xFFFD;
                len = 1;
            } else {
                for (std::size_t k = 1; k < len; ++k) {
                    auto t = static_cast<unsigned char>(path[i + k]);
                    if ((t & 0xC0) != 0x80) {
                        c = 0xFFFD;
                        len = 1;
                        break;
                    }
                    c = (c << 6) | (t & 0x3F);
                }
            }
        }
        out += static_cast<wchar_t>(c);
        i += len;
    }
    return out;
}
