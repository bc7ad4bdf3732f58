// The open file of the Exif reader: a buffered handle and the base position from which all TIFF
// offsets are counted.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>

class ZarnExif_File {
public:
    ZarnExif_File() = default;
    ~ZarnExif_File();
    ZarnExif_File(const ZarnExif_File&) = delete;
    ZarnExif_File& operator=(const ZarnExif_File&) = delete;

    // Both refuse (false) while a file is open.
    bool Open(const std::string& path);
    bool Open(const std::wstring& path);
    void Close();
    bool IsOpen() const { return handle_ != nullptr; }

    std::size_t Read(void* buffer, std::size_t count);
    std::int64_t GetPosition() const;
    bool SetPosition(std::int64_t position);
    void MarkBase() { base_ = GetPosition(); }
    std::int64_t GetBase() const { return base_; }
    bool SeekFromBase(std::uint32_t offset) { return SetPosition(base_ + offset); }
    // Size of the open file in bytes; used to refuse values that cannot lie inside it.
    std::int64_t GetSize() const { return size_; }

    // Paths are wide strings at the interface; on this platform they are opened as UTF-8.
    static std::string WideToNative(const std::wstring& path);
    static std::wstring NativeToWide(const std::string& path);

private:
    std::FILE* handle_ = nullptr;
    std::int64_t base_ = 0;
    std::int64_t size_ = 0;
};
