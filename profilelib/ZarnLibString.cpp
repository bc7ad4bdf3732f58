#include "profilelib/ZarnLibString.h"

#include <chrono>
#include <cstring>
#include <thread>

namespace {

char* DuplicateText(const char* source)
{
    if (source == nullptr) {
        source = "";
    }
    const std::size_t length = std::strlen(source);
    char* copy = new char[length + 1];
    std::memcpy(copy, source, length + 1);
    return copy;
}

void PauseBeforeRetry()
{
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
}

// Releases a held lock on every path out of a scope.
class LockGuard {
public:
    explicit LockGuard(const ZarnLibString& s) : str(s) {}
    ~LockGuard() { str.Unlock(); }
    LockGuard(const LockGuard&) = delete;
    LockGuard& operator=(const LockGuard&) = delete;

private:
    const ZarnLibString& str;
};

} // namespace

ZarnLibString::ZarnLibString() : text(DuplicateText(nullptr)), lock(0), previous(nullptr) {}

ZarnLibString::ZarnLibString(const char* source) : text(DuplicateText(source)), lock(0), previous(nullptr) {}

ZarnLibString::ZarnLibString(const ZarnLibString& other) : text(nullptr), lock(0), previous(nullptr)
{
    CopyConstruct(other);
}

ZarnLibString::~ZarnLibString()
{
    SpinLock();
    delete[] previous;
    delete[] text;
    previous = nullptr;
    text = nullptr;
    Unlock();
}

unsigned char ZarnLibString::TryLock() const
{
    return lock.exchange(1, std::memory_order_acquire);
}

void ZarnLibString::Unlock() const
{
    lock.store(0, std::memory_order_release);
}

void ZarnLibString::SpinLock() const
{
    while (TryLock() != 0) {
        PauseBeforeRetry();
    }
}

void ZarnLibString::Replace(char* fresh)
{
    delete[] previous;
    previous = text;
    text = fresh;
}

void ZarnLibString::CopyConstruct(const ZarnLibString& other)
{
    other.SpinLock();
    LockGuard guard(other);
    char* copy = DuplicateText(other.text);
    delete[] text;
    text = copy;
}

ZarnLibString& ZarnLibString::SetText(const char* source)
{
    char* fresh = DuplicateText(source);
    SpinLock();
    LockGuard guard(*this);
    Replace(fresh);
    return *this;
}

std::string ZarnLibString::GetText() const
{
    SpinLock();
    LockGuard guard(*this);
    return std::string(text);
}

ZarnLibString& ZarnLibString::Assign(const ZarnLibString& other)
{
    if (&other == this) {
        SpinLock();
        LockGuard guard(*this);
        Replace(DuplicateText(text));
        return *this;
    }
    for (;;) {
        SpinLock();
        if (other.TryLock() == 0) {
            break;
        }
        Unlock();
        PauseBeforeRetry();
    }
    LockGuard ownGuard(*this);
    LockGuard otherGuard(other);
    Replace(DuplicateText(other.text));
    return *this;
}
