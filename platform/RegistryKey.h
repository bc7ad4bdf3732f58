// An open key of the registry store. It holds no file handle: every query reads the store file afresh,
// so it sees what other processes wrote since, and every change goes through the store's locked,
// atomic rewrite. Keep one only for the span of one operation.
#pragma once

#include "platform/RegistryTypes.h"

#include <string>
#include <vector>

class RegistryKey {
public:
    RegistryKey() = default;
    RegistryKey(std::string storeFile, std::string fullPath, RegAccess access);

    bool IsOpen() const { return !path_.empty(); }
    const std::string& FullPath() const { return path_; }
    RegAccess Access() const { return access_; }

    // Whole stored data of the named value (empty name: the unnamed value).
    RegStatus QueryValue(const std::string& name, DWORD* type, std::vector<BYTE>* data) const;
    // Needs a read-write open. Strings are passed with their terminator, as stored.
    RegStatus SetValue(const std::string& name, DWORD type, const std::vector<BYTE>& data) const;
    // The value at that index in stored order, or NoMoreItems.
    RegStatus EnumValue(DWORD index, std::string* name, DWORD* type, std::vector<BYTE>* data) const;

    void Close() { path_.clear(); }

private:
    std::string file_;
    std::string path_;
    RegAccess access_ = RegAccess::Read;
};
