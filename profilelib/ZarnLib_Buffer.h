// The library's typed heap array: data, count, an ownership flag and an optional external holder
// (a variable outside the buffer that mirrors `data`). A holder cleared by somebody else while
// `data` is still set means the data was taken over elsewhere; the buffer then forgets it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <limits>
#include <new>

template <typename T>
class ZarnLib_Buffer {
public:
    ZarnLib_Buffer() = default;
    ZarnLib_Buffer(int n, bool own) { Alloc(n, own); }
    ZarnLib_Buffer(int n, bool own, T** newHolder)
    {
        T* result = Alloc(n, own);
        if (newHolder != nullptr) {
            *newHolder = result;
        }
        holder = newHolder;
    }
    ZarnLib_Buffer(const ZarnLib_Buffer& other)
    {
        if (Alloc(other.count, true) != nullptr) {
            CopyElements(other.data, other.count);
        }
    }
    virtual ~ZarnLib_Buffer()
    {
        if (owner && data != nullptr) {
            Release();
        }
    }

    ZarnLib_Buffer& operator=(const ZarnLib_Buffer& other)
    {
        if (&other == this) {
            return *this;
        }
        T* result = Alloc(other.count, owner);
        WriteHolder(result);
        if (result != nullptr) {
            CopyElements(other.data, other.count);
        }
        return *this;
    }

    // Releases the data: frees it only when the buffer owns it and nobody has taken it over through
    // the holder; data the buffer does not own is forgotten, never freed. -1 when there is no data.
    virtual int Free()
    {
        if (data == nullptr) {
            return -1;
        }
        Release();
        return 0;
    }

    // Replaces the data by `n` new elements. A count below 1 leaves the buffer empty.
    virtual T* Alloc(int n, bool own)
    {
        if (owner) {
            Free();
        } else {
            data = nullptr;
            count = 0;
        }
        if (n < 1) {
            data = nullptr;
            count = 0;
            owner = own;
            return nullptr;
        }
        if (static_cast<std::size_t>(n) > std::numeric_limits<std::size_t>::max() / sizeof(T)) {
            return nullptr;
        }
        T* fresh = nullptr;
        try {
            fresh = new (std::nothrow) T[static_cast<std::size_t>(n)];
        } catch (...) {
            fresh = nullptr;
        }
        if (fresh == nullptr) {
            return nullptr;
        }
        data = fresh;
        count = n;
        owner = own;
        return data;
    }

    T* AllocHeld(int n, bool own)
    {
        T* result = Alloc(n, own);
        WriteHolder(result);
        return result;
    }

    T* AllocHeld(int n, bool own, T** newHolder)
    {
        T* result = Alloc(n, own);
        WriteHolder(result);
        if (newHolder != nullptr) {
            *newHolder = result;
        }
        holder = newHolder;
        return result;
    }

    int Copy(const T* source, int n)
    {
        if (source != nullptr && source == data) {
            return n == count ? 0 : -1;
        }
        if (source == nullptr || n <= 0) {
            Free();
            return 0;
        }
        T* result = Alloc(n, true);
        WriteHolder(result);
        if (result == nullptr) {
            return -1;
        }
        CopyElements(source, n);
        return 0;
    }

    // Hands the data to the caller: the buffer keeps pointing at it but no longer frees it.
    T* Detach()
    {
        if (!owner) {
            return nullptr;
        }
        owner = false;
        return data;
    }

    bool operator==(const ZarnLib_Buffer& other) const
    {
        if (count != other.count) {
            return false;
        }
        for (int i = 0; i < count; ++i) {
            if (!(data[i] == other.data[i])) {
                return false;
            }
        }
        return true;
    }
    bool operator!=(const ZarnLib_Buffer& other) const { return !(*this == other); }

    T& operator[](std::int16_t i) { return data[i]; }
    const T& operator[](std::int16_t i) const { return data[i]; }
    T& operator[](std::uint16_t i) { return data[i]; }
    const T& operator[](std::uint16_t i) const { return data[i]; }
    T& operator[](int i) { return data[i]; }
    const T& operator[](int i) const { return data[i]; }
    T& operator[](unsigned int i) { return data[i]; }
    const T& operator[](unsigned int i) const { return data[i]; }
    T& operator[](long i) { return data[i]; }
    const T& operator[](long i) const { return data[i]; }

    T* GetData() { return data; }
    const T* GetData() const { return data; }
    int GetCount() const { return count; }
    std::size_t GetByteSize() const { return static_cast<std::size_t>(count) * sizeof(T); }
    int GetElementSize() const { return static_cast<int>(sizeof(T)); }
    bool IsValid() const { return data != nullptr; }
    bool IsOwner() const { return owner; }

private:
    void Release()
    {
        const bool takenOver = holder != nullptr && *holder == nullptr;
        if (owner && !takenOver) {
            delete[] data;
        }
        data = nullptr;
        count = 0;
        WriteHolder(nullptr);
    }

    void WriteHolder(T* value)
    {
        if (holder != nullptr) {
            *holder = value;
        }
    }

    void CopyElements(const T* source, int n)
    {
        for (int i = 0; i < n; ++i) {
            data[i] = source[i];
        }
    }

    T* data = nullptr;
    int count = 0;
    bool owner = true;
    T** holder = nullptr;
};
