#include "core/util/CRegistryHelper.h"

#include "core/util/ScrambleText.h"
#include "platform/RegistryStore.h"

namespace {

// A string read takes at most this many bytes, terminator included: 254 characters.
constexpr size_t kStringReadLimit = 255;
// Enumeration stops at a value whose name or data does not fit these buffers.
constexpr size_t kEnumNameLimit = 1024;
constexpr size_t kEnumDataLimit = 1024;

std::vector<BYTE> StringData(const std::string& text)
{
    std::vector<BYTE> data(text.begin(), text.end());
    data.push_back(0);
    return data;
}

RegistryStore Store()
{
    return RegistryStore(RegistryStore::DefaultPath());
}

} // namespace

CRegistryHelper::CRegistryHelper(HKEY rootKey, int noCreateFlag) : root(rootKey), noCreate(noCreateFlag) {}

CRegistryHelper::~CRegistryHelper() = default;

void CRegistryHelper::PushKey(const std::string& name)
{
    basePath.push_back(name);
}

void CRegistryHelper::PopKey()
{
    if (!basePath.empty()) basePath.pop_back();
}

void CRegistryHelper::SplitKeyPath(const std::string& text, std::vector<std::string>& list)
{
    size_t start = 0;
    while (start <= text.size()) {
        size_t end = text.find('\\', start);
        if (end == std::string::npos) end = text.size();
        if (end > start) list.push_back(text.substr(start, end - start));
        start = end + 1;
    }
}

// The elements of every pushed name followed by those of the value path form one list. With two or
// more elements the last is the value name and the rest the key path; a single element is the key
// path and names the key's unnamed value. With wholeKey the whole list is the key path; with
// literalName the value path is the value name as it stands and the pushed names the key path.
std::string CRegistryHelper::ResolveValuePath(const std::string& valuePath, bool wholeKey, std::string& valueName,
                                              bool literalName)
{
    valueName.clear();
    std::vector<std::string> list;
    for (const std::string& entry : basePath) SplitKeyPath(entry, list);
    if (literalName) {
        valueName = valuePath;
        return BuildKeyPath(list);
    }
    SplitKeyPath(valuePath, list);
    if (!wholeKey && list.size() >= 2) {
        valueName = list.back();
        list.pop_back();
    }
    return BuildKeyPath(list);
}

std::string CRegistryHelper::BuildKeyPath(const std::vector<std::string>& list)
{
    std::string path;
    for (const std::string& element : list) {
        if (!path.empty()) path += '\\';
        path += element;
    }
    if (noCreate == 0 && !path.empty()) {
        // A key that cannot be created is found missing by the operation that follows.
        RegistryKey key;
        Store().CreateKey(root, path, &key);
    }
    return path;
}

CRegistryHelper::Read CRegistryHelper::ReadString(const std::string& keyPath, const std::string& valueName,
                                                  std::string& text) const
{
    RegistryKey key;
    if (Store().OpenKey(root, keyPath, RegAccess::Read, &key) != RegStatus::Ok) return Read::Unreadable;
    DWORD type = REG_NONE;
    std::vector<BYTE> data;
    const RegStatus s = key.QueryValue(valueName, &type, &data);
    if (s == RegStatus::NotFound) return Read::Missing;
    if (s != RegStatus::Ok || data.size() > kStringReadLimit) return Read::Unreadable;
    const size_t n = data.size();
    bool accepted = false;
    if (n == 0) {
        accepted = type == REG_SZ || type == REG_EXPAND_SZ || type == REG_MULTI_SZ;
    } else if (type == REG_SZ || type == REG_EXPAND_SZ) {
        accepted = data[n - 1] == 0;
    } else if (type == REG_MULTI_SZ) {
        accepted = n >= 2 && data[n - 1] == 0 && data[n - 2] == 0;
    }
    if (!accepted) return Read::Unreadable;
    size_t end = 0;
    while (end < n && data[end] != 0) ++end;
    text.assign(data.begin(), data.begin() + static_cast<std::ptrdiff_t>(end));
    return Read::Accepted;
}

void CRegistryHelper::WriteBackMissing(const std::string& keyPath, const std::string& valueName, DWORD type,
                                       const std::vector<BYTE>& data) const
{
    RegistryKey key;
    if (Store().OpenKey(root, keyPath, RegAccess::ReadWrite, &key) != RegStatus::Ok) return;
    // Only a value that is still missing is written: another process may have stored one meanwhile.
    if (key.QueryValue(valueName, nullptr, nullptr) != RegStatus::NotFound) return;
    key.SetValue(valueName, type, data);
}

int CRegistryHelper::GetDword(const std::string& valuePath, int defaultValue, bool literalName)
{
    std::string name;
    const std::string keyPath = ResolveValuePath(valuePath, false, name, literalName);
    if (keyPath.empty()) return defaultValue;
    RegistryKey key;
    if (Store().OpenKey(root, keyPath, RegAccess::Read, &key) != RegStatus::Ok) return defaultValue;
    DWORD type = REG_NONE;
    std::vector<BYTE> data;
    const RegStatus s = key.QueryValue(name, &type, &data);
    if (s == RegStatus::Ok && type == REG_DWORD && data.size() == 4) {
        return static_cast<int>(static_cast<DWORD>(data[0]) | (static_cast<DWORD>(data[1]) << 8) |
                                (static_cast<DWORD>(data[2]) << 16) | (static_cast<DWORD>(data[3]) << 24));
    }
    if (s == RegStatus::NotFound) {
        const auto v = static_cast<DWORD>(defaultValue);
        WriteBackMissing(keyPath, name, REG_DWORD,
                         {static_cast<BYTE>(v), static_cast<BYTE>(v >> 8), static_cast<BYTE>(v >> 16),
                          static_cast<BYTE>(v >> 24)});
    }
    return defaultValue;
}

std::string CRegistryHelper::GetString(const std::string& valuePath, const std::string& defaultValue, bool literalName)
{
    std::string name;
    const std::string keyPath = ResolveValuePath(valuePath, false, name, literalName);
    if (keyPath.empty()) return defaultValue;
    std::string text;
    return ReadString(keyPath, name, text) == Read::Accepted ? text : defaultValue;
}

std::string CRegistryHelper::GetScrambledString(const std::string& valuePath, const std::string& defaultValue)
{
    std::string name;
    const std::string keyPath = ResolveValuePath(valuePath, false, name);
    if (keyPath.empty()) return defaultValue;
    std::string text;
    switch (ReadString(keyPath, name, text)) {
    case Read::Accepted:
        return UnscrambleText(text);
    case Read::Missing:
        if (defaultValue.size() <= kMaxScrambledPlain) {
            WriteBackMissing(keyPath, name, REG_SZ, StringData(ScrambleText(defaultValue)));
        }
        return defaultValue;
    case Read::Unreadable:
        break;
    }
    return defaultValue;
}

BOOL CRegistryHelper::WriteValue(const std::string& valuePath, DWORD type, const std::vector<BYTE>& data)
{
    std::string name;
    const std::string keyPath = ResolveValuePath(valuePath, false, name);
    if (keyPath.empty()) return FALSE;
    RegistryKey key;
    if (Store().OpenKey(root, keyPath, RegAccess::ReadWrite, &key) != RegStatus::Ok) return FALSE;
    return key.SetValue(name, type, data) == RegStatus::Ok ? TRUE : FALSE;
}

BOOL CRegistryHelper::SetDword(const std::string& valuePath, DWORD value)
{
    return WriteValue(valuePath, REG_DWORD,
                      {static_cast<BYTE>(value), static_cast<BYTE>(value >> 8), static_cast<BYTE>(value >> 16),
                       static_cast<BYTE>(value >> 24)});
}

BOOL CRegistryHelper::SetString(const std::string& valuePath, const std::string& text)
{
    return WriteValue(valuePath, REG_SZ, StringData(text));
}

BOOL CRegistryHelper::SetScrambledString(const std::string& valuePath, const std::string& plainText)
{
    if (plainText.size() > kMaxScrambledPlain) return FALSE;
    return WriteValue(valuePath, REG_SZ, StringData(ScrambleText(plainText)));
}

BOOL CRegistryHelper::EnumValues(const std::string& keyPath, std::vector<std::string>& names)
{
    std::string unused;
    const std::string path = ResolveValuePath(keyPath, true, unused);
    names.clear();
    if (path.empty()) return FALSE;
    RegistryKey key;
    // Listing needs no write access.
    if (Store().OpenKey(root, path, RegAccess::Read, &key) != RegStatus::Ok) return FALSE;
    std::string name;
    std::vector<BYTE> data;
    for (DWORD i = 0; key.EnumValue(i, &name, nullptr, &data) == RegStatus::Ok; ++i) {
        if (name.size() >= kEnumNameLimit || data.size() > kEnumDataLimit) break;
        names.push_back(name);
    }
    return TRUE;
}
