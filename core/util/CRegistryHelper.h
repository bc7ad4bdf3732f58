// Short-lived access to the settings key of both programs: push key names, read or write values by
// backslash-separated paths below them. Reads fall back to their default; writes report FALSE.
// Every operation opens and closes what it needs in the registry store named by
// RegistryStore::DefaultPath().
#pragma once

#include "platform/RegistryTypes.h"
#include "platform/WinTypes.h"

#include <string>
#include <vector>

class CRegistryHelper {
public:
    // noCreate 0: missing keys along a path are created; non-zero: nothing is created.
    CRegistryHelper(HKEY root, int noCreate);
    ~CRegistryHelper();
    CRegistryHelper(const CRegistryHelper&) = delete;
    CRegistryHelper& operator=(const CRegistryHelper&) = delete;

    // The name may hold several key names separated by backslashes.
    void PushKey(const std::string& name);
    // Nothing happens when no key is pushed.
    void PopKey();

    // The stored DWORD; the default when it cannot be read. A missing value gets the default
    // written back where the key may be written; a value of another type is left as it is.
    int GetDword(const std::string& valuePath, int defaultValue, bool literalName = false);
    // A string, expandable string or multi-string (its first string) of at most 254 characters;
    // the default otherwise. Never writes.
    std::string GetString(const std::string& valuePath, const std::string& defaultValue, bool literalName = false);
    // A string stored through SetScrambledString, in plain text. A missing value gets the default
    // written back (in stored form) where possible; a stored value that cannot be read (too long,
    // another type) is returned as the default and left as it is.
    std::string GetScrambledString(const std::string& valuePath, const std::string& defaultValue);

    BOOL SetDword(const std::string& valuePath, DWORD value);
    BOOL SetString(const std::string& valuePath, const std::string& text);
    // FALSE for a text longer than 127 bytes: its stored form would be too long to read back.
    BOOL SetScrambledString(const std::string& valuePath, const std::string& plainText);

    // Empties names, then fills it with the value names of the key at keyPath (below the pushed keys).
    BOOL EnumValues(const std::string& keyPath, std::vector<std::string>& names);

    // Appends the non-empty backslash-separated elements of text to list.
    static void SplitKeyPath(const std::string& text, std::vector<std::string>& list);
    // The key path of a value path (relative to the root) and its value name; see the .cpp.
    std::string ResolveValuePath(const std::string& valuePath, bool wholeKey, std::string& valueName,
                                 bool literalName = false);
    // Joins the elements with single backslashes; with noCreate 0 also creates the keys.
    std::string BuildKeyPath(const std::vector<std::string>& list);

    // Longest plain text whose stored form a string read accepts.
    static constexpr size_t kMaxScrambledPlain = 127;

private:
    enum class Read { Accepted, Missing, Unreadable };
    Read ReadString(const std::string& keyPath, const std::string& valueName, std::string& text) const;
    BOOL WriteValue(const std::string& valuePath, DWORD type, const std::vector<BYTE>& data);
    void WriteBackMissing(const std::string& keyPath, const std::string& valueName, DWORD type,
                          const std::vector<BYTE>& data) const;

    HKEY root;
    int noCreate;
    std::vector<std::string> basePath;
};
