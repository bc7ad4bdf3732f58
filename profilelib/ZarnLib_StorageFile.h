// The library's file object: a buffered standard-stream file opened by path in one of three open
// types (1 read, 2 read and write, 3 write and truncate), with a tracked position. Operations return
// the storage codes below (0 on success) and never throw.
#pragma once

#include <cstdio>

#include "profilelib/ZarnLibString.h"

enum ZarnLib_StorageCode {
    kStorageOk = 0,
    kStorageFailed = -10001,
    kStorageBadOpenType = -10002,
    kStorageCreateFailed = -10004,
    kStorageStatFailed = -10318,
    kStorageExists = -10501,
    kStorageAlreadyOpen = -10502,
    kStorageNotOpen = -10503,
    kStorageMissing = -10504,
    kStorageShortRead = -10510,
    kStorageOpenFailed = -10513,
    kStorageRemoveFailed = -10514,
    kStorageShortWrite = -10515,
    kStorageSizeFailed = -10519,
    kStorageRaw10516 = -10516,
    kStorageRaw10518 = -10518,
    kStorageRaw10521 = -10521,
    kStorageWriteShort = -10601,
    kStorageTranslated10602 = -10602,
    kStorageTranslated10603 = -10603,
    kStorageTranslated10604 = -10604,
    kStorageEndOfFile = -10605,
};

class ZarnLib_StorageFile {
public:
    explicit ZarnLib_StorageFile(const ZarnLibString& filePath);
    ZarnLib_StorageFile(const ZarnLib_StorageFile&) = delete;
    ZarnLib_StorageFile& operator=(const ZarnLib_StorageFile&) = delete;
    virtual ~ZarnLib_StorageFile();

    // Size of the open file (flushed first for open type 3), or of the file at the path when
    // closed; 0 when it cannot be read.
    virtual long GetSize();
    // Writes `*count` bytes; `*count` receives the number written. Translated codes.
    virtual int Write(const void* buffer, int* count);
    // Reads up to `*count` bytes; `*count` receives the number read; -10605 at the end of file.
    virtual int Read(void* buffer, int* count);

    int GetSizeEx(long* size);
    int Create(int openType);
    int Open(int openType);
    // Create, and when that fails, Open.
    int OpenOrCreate(int openType);
    int Close();
    // Hands buffered data to the system and waits until it is stored; -10503 when closed,
    // -10001 when either step fails.
    int Flush();
    bool Exists() const;
    int Remove();
    int Tell(long* out) const;
    int ReadRaw(void* buffer, int count, int* done);
    int WriteRaw(const void* buffer, int count, int* done);
    int GetPath(ZarnLibString* out) const;
    int GetPosition() const { return position; }
    int GetOpenType() const { return openType; }
    bool IsOpen() const { return file != nullptr; }

    static int TranslateError(int raw);
    // The number of storage files open in the process.
    static int OpenCount();

private:
    int OpenStream(const char* mode, int type, int failure);
    void RereadPosition();

    ZarnLibString path;
    int openType = 0;
    int position = 0;
    std::FILE* file = nullptr;
};

// A new heap storage file for a copy of the path (the flag changes nothing); null when it cannot
// be allocated. The caller deletes it.
ZarnLib_StorageFile* CreateStorageFile(const ZarnLibString& path, int flag);
ZarnLib_StorageFile* CreateStorageFile(const char* path, int flag);
