#include "profilelib/ZarnLib_StorageFile.h"

#include "platform/RegularFile.h"

#include <atomic>
#include <new>
#include <string>

#include <sys/stat.h>
#include <unistd.h>

namespace {

std::atomic<int> g_openCount{0};

bool IsOpenType(int type)
{
    return type >= 1 && type <= 3;
}

const char* CreatingMode(int type)
{
    return type == 1 ? "rb" : type == 2 ? "wb+" : "wb";
}

const char* ExistingMode(int type)
{
    return type == 1 ? "rb" : type == 2 ? "rb+" : "wb";
}

} // namespace

ZarnLib_StorageFile::ZarnLib_StorageFile(const ZarnLibString& filePath) : path(filePath) {}

ZarnLib_StorageFile::~ZarnLib_StorageFile()
{
    if (file != nullptr) {
        Close();
    }
}

int ZarnLib_StorageFile::OpenCount()
{
    return g_openCount.load();
}

int ZarnLib_StorageFile::TranslateError(int raw)
{
    switch (raw) {
    case kStorageOk: return kStorageOk;
    case kStorageShortWrite: return kStorageWriteShort;
    case kStorageRaw10516: return kStorageTranslated10602;
    case kStorageRaw10521: return kStorageTranslated10603;
    case kStorageRaw10518: return kStorageTranslated10604;
    case kStorageShortRead: return kStorageEndOfFile;
    default: return kStorageFailed;
    }
}

int ZarnLib_StorageFile::OpenStream(const char* mode, int type, int failure)
{
    const std::string name = path.GetText();
    // A file opened for reading is one a user chose or a folder scan found: only a regular file is
    // opened, so a FIFO or a device in its place is refused at once instead of blocking.
    file = type == 1 ? RegularFile::OpenStream(name) : std::fopen(name.c_str(), mode);
    if (file == nullptr) {
        return failure;
    }
    openType = type;
    position = 0;
    ++g_openCount;
    return kStorageOk;
}

int ZarnLib_StorageFile::Create(int type)
{
    if (Exists()) {
        return kStorageExists;
    }
    if (file != nullptr) {
        return kStorageAlreadyOpen;
    }
    if (!IsOpenType(type)) {
        return kStorageBadOpenType;
    }
    return OpenStream(CreatingMode(type), type, kStorageCreateFailed);
}

int ZarnLib_StorageFile::Open(int type)
{
    if (!Exists()) {
        return kStorageMissing;
    }
    if (file != nullptr) {
        return kStorageAlreadyOpen;
    }
    if (!IsOpenType(type)) {
        return kStorageBadOpenType;
    }
    return OpenStream(ExistingMode(type), type, kStorageOpenFailed);
}

int ZarnLib_StorageFile::OpenOrCreate(int type)
{
    if (Create(type) == kStorageOk) {
        return kStorageOk;
    }
    return Open(type);
}

int ZarnLib_StorageFile::Close()
{
    if (file == nullptr) {
        return kStorageNotOpen;
    }
    // The stream is gone either way; a failed close (buffered bytes that could not be written) is
    // reported.
    const int closed = std::fclose(file);
    file = nullptr;
    --g_openCount;
    return closed == 0 ? kStorageOk : kStorageFailed;
}

int ZarnLib_StorageFile::Flush()
{
    if (file == nullptr) {
        return kStorageNotOpen;
    }
    if (std::fflush(file) != 0 || ::fsync(::fileno(file)) != 0) {
        return kStorageFailed;
    }
    return kStorageOk;
}

void ZarnLib_StorageFile::RereadPosition()
{
    position = file != nullptr ? static_cast<int>(std::ftell(file)) : -1;
}

int ZarnLib_StorageFile::ReadRaw(void* buffer, int count, int* done)
{
    if (done != nullptr) {
        *done = 0;
    }
    if (file == nullptr) {
        return kStorageNotOpen;
    }
    if (count <= 0) {
        return kStorageOk;
    }
    const std::size_t got = std::fread(buffer, 1, static_cast<std::size_t>(count), file);
    if (done != nullptr) {
        *done = static_cast<int>(got);
    }
    return got < static_cast<std::size_t>(count) ? kStorageShortRead : kStorageOk;
}

int ZarnLib_StorageFile::WriteRaw(const void* buffer, int count, int* done)
{
    if (done != nullptr) {
        *done = 0;
    }
    if (file == nullptr) {
        return kStorageNotOpen;
    }
    if (count <= 0) {
        return kStorageOk;
    }
    const std::size_t put = std::fwrite(buffer, 1, static_cast<std::size_t>(count), file);
    if (done != nullptr) {
        *done = static_cast<int>(put);
    }
    return put < static_cast<std::size_t>(count) ? kStorageShortWrite : kStorageOk;
}

int ZarnLib_StorageFile::Read(void* buffer, int* count)
{
    const int asked = count != nullptr ? *count : 0;
    int done = 0;
    const int result = TranslateError(ReadRaw(buffer, asked, &done));
    if (count != nullptr) {
        *count = done;
    }
    if (result == kStorageOk || result == kStorageEndOfFile) {
        position += done;
    } else {
        RereadPosition();
    }
    return result;
}

int ZarnLib_StorageFile::Write(const void* buffer, int* count)
{
    const int asked = count != nullptr ? *count : 0;
    int done = 0;
    const int result = TranslateError(WriteRaw(buffer, asked, &done));
    if (count != nullptr) {
        *count = done;
    }
    if (result == kStorageOk) {
        position += done;
    } else {
        RereadPosition();
    }
    return result;
}

int ZarnLib_StorageFile::GetSizeEx(long* size)
{
    struct stat status {};
    if (file != nullptr) {
        if (openType == 3) {
            std::fflush(file);
        }
        if (::fstat(::fileno(file), &status) != 0) {
            return kStorageSizeFailed;
        }
    } else {
        const std::string name = path.GetText();
        if (::stat(name.c_str(), &status) != 0) {
            return kStorageStatFailed;
        }
    }
    if (size != nullptr) {
        *size = static_cast<long>(status.st_size);
    }
    return kStorageOk;
}

long ZarnLib_StorageFile::GetSize()
{
    long size = 0;
    return GetSizeEx(&size) == kStorageOk ? size : 0;
}

bool ZarnLib_StorageFile::Exists() const
{
    struct stat status {};
    const std::string name = path.GetText();
    return ::stat(name.c_str(), &status) == 0;
}

int ZarnLib_StorageFile::Remove()
{
    const std::string name = path.GetText();
    return std::remove(name.c_str()) == 0 ? kStorageOk : kStorageRemoveFailed;
}

int ZarnLib_StorageFile::Tell(long* out) const
{
    if (file == nullptr) {
        return kStorageNotOpen;
    }
    if (out != nullptr) {
        *out = std::ftell(file);
    }
    return kStorageOk;
}

int ZarnLib_StorageFile::GetPath(ZarnLibString* out) const
{
    if (out != nullptr) {
        out->Assign(path);
    }
    return 0;
}

ZarnLib_StorageFile* CreateStorageFile(const ZarnLibString& path, int /*flag*/)
{
    return new (std::nothrow) ZarnLib_StorageFile(path);
}

ZarnLib_StorageFile* CreateStorageFile(const char* path, int flag)
{
    return CreateStorageFile(ZarnLibString(path), flag);
}
