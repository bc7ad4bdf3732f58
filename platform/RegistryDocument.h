// The contents of the registry store file in memory: keys with typed values, parsed from and written
// to a .reg-like text. Key and value names compare without regard to ASCII letter case and keep the
// case they were first written with.
#pragma once

#include "platform/RegistryTypes.h"

#include <string>
#include <string_view>
#include <vector>

class RegistryDocument {
public:
    struct Value {
        std::string name; // empty: the key's unnamed value
        DWORD type = REG_NONE;
        std::vector<BYTE> data;
    };
    struct Key {
        std::string path; // full path, root name first, elements joined by single backslashes
        std::vector<Value> values;
    };

    // First line of every store file.
    static constexpr std::string_view kHeader = "ZARN REGISTRY 1";

    // Parses a whole file. An empty text is an empty store. Returns false on the first malformed
    // line; what was read before it stays in the document.
    bool Parse(std::string_view text);
    std::string Serialize() const;

    // The key of that full path, or null. A key also exists when only keys below it are listed.
    const Key* FindKey(std::string_view path) const;
    Key* FindKey(std::string_view path);
    bool KeyExists(std::string_view path) const;
    // Finds or adds the key; parents need no entry of their own.
    Key& CreateKey(std::string_view path);

    static const Value* FindValue(const Key& key, std::string_view name);
    static void SetValue(Key& key, std::string_view name, DWORD type, std::vector<BYTE> data);

    // True when a key or value name element can be stored (no control characters).
    static bool IsStorableName(std::string_view name);
    static bool EqualNoCase(std::string_view a, std::string_view b);

    const std::vector<Key>& Keys() const { return keys_; }

private:
    bool ParseValueLine(std::string_view line, Key& key);
    std::vector<Key> keys_;
};
