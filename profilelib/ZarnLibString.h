// The library's heap string. Every access is serialised by a per-object spin lock, so the
// calculation thread, the thumbnail loader and the user-interface thread may share one.
#pragma once

#include <atomic>
#include <string>

class ZarnLibString {
public:
    ZarnLibString();
    ZarnLibString(const char* text);
    ZarnLibString(const ZarnLibString& other);
    ~ZarnLibString();

    ZarnLibString& operator=(const ZarnLibString& other) { return Assign(other); }

    // Takes a copy of the other string's text under its lock.
    void CopyConstruct(const ZarnLibString& other);
    // Replaces the text by a copy of the argument (null gives the empty text).
    ZarnLibString& SetText(const char* text);
    // A copy of the current text taken under the lock: it stays valid whatever other threads
    // do to this string afterwards.
    std::string GetText() const;
    // Assignment that never waits on the other string's lock while holding its own, so two
    // threads assigning two strings to each other cannot deadlock.
    ZarnLibString& Assign(const ZarnLibString& other);

    // Exchanges the lock byte with 1 and returns the previous value (0: the lock is now ours).
    unsigned char TryLock() const;
    void Unlock() const;

private:
    void SpinLock() const;
    // Retires the current text to `previous` (freeing the older one) and installs `fresh`.
    void Replace(char* fresh);

    char* text;
    mutable std::atomic<unsigned char> lock;
    char* previous;
};
