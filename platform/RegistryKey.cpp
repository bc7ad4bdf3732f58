#include "platform/RegistryKey.h"

#include "platform/RegistryDocument.h"
#include "platform/RegistryStore.h"

RegistryKey::RegistryKey(std::string storeFile, std::string fullPath, RegAccess access)
    : file_(std::move(storeFile)), path_(std::move(fullPath)), access_(access)
{
}

RegStatus RegistryKey::QueryValue(const std::string& name, DWORD* type, std::vector<BYTE>* data) const
{
    if (!IsOpen()) return RegStatus::NotFound;
    RegistryDocument doc;
    if (const RegStatus s = RegistryStore(file_).Load(&doc); s != RegStatus::Ok && s != RegStatus::BadStore) return s;
    const RegistryDocument::Key* key = doc.FindKey(path_);
    const RegistryDocument::Value* value = key ? RegistryDocument::FindValue(*key, name) : nullptr;
    if (!value) return RegStatus::NotFound;
    if (type) *type = value->type;
    if (data) *data = value->data;
    return RegStatus::Ok;
}

RegStatus RegistryKey::SetValue(const std::string& name, DWORD type, const std::vector<BYTE>& data) const
{
    if (!IsOpen()) return RegStatus::NotFound;
    if (access_ != RegAccess::ReadWrite) return RegStatus::AccessDenied;
    if (!RegistryDocument::IsStorableName(name)) return RegStatus::BadName;
    return RegistryStore(file_).Modify([&](RegistryDocument& doc) {
        // The key may have been removed by another process since it was opened.
        if (!doc.KeyExists(path_) && path_.find('\\') != std::string::npos) return RegStatus::NotFound;
        RegistryDocument::SetValue(doc.CreateKey(path_), name, type, data);
        return RegStatus::Ok;
    });
}

RegStatus RegistryKey::EnumValue(DWORD index, std::string* name, DWORD* type, std::vector<BYTE>* data) const
{
    if (!IsOpen()) return RegStatus::NotFound;
    RegistryDocument doc;
    if (const RegStatus s = RegistryStore(file_).Load(&doc); s != RegStatus::Ok && s != RegStatus::BadStore) return s;
    const RegistryDocument::Key* key = doc.FindKey(path_);
    if (!key || index >= key->values.size()) return RegStatus::NoMoreItems;
    const RegistryDocument::Value& v = key->values[index];
    if (name) *name = v.name;
    if (type) *type = v.type;
    if (data) *data = v.data;
    return RegStatus::Ok;
}
