#include "core/CFileLockManager.h"

#include "core/util/PathUtility.h"
#include "platform/NoShareFile.h"

namespace {

CFileLockManager* g_instance = nullptr;

} // namespace

CFileLockManager* CFileLockManager::GetInstance()
{
    if (g_instance == nullptr) {
        g_instance = new CFileLockManager();
    }
    return g_instance;
}

void CFileLockManager::DestroyInstance()
{
    if (g_instance != nullptr) {
        g_instance->RemoveAll();
        delete g_instance;
        g_instance = nullptr;
    }
}

CFileLockManager::~CFileLockManager()
{
    UnlockAll();
}

void CFileLockManager::Register(const std::string& path)
{
    UnlockAll();
    paths_.emplace(path, kInvalidHandle);
}

void CFileLockManager::RegisterWithId(int id, const std::string& path)
{
    UnlockAll();
    paths_.emplace(path, kInvalidHandle);
    const auto it = slots_.find(id);
    if (it == slots_.end()) {
        slots_.emplace(id, path);
        return;
    }
    const std::string old = it->second;
    it->second = path;
    if (old != path) {
        ForgetPathIfUnused(old);
    }
}

void CFileLockManager::UnregisterId(int id)
{
    UnlockAll();
    const auto it = slots_.find(id);
    if (it == slots_.end()) {
        return;
    }
    const std::string path = it->second;
    slots_.erase(it);
    ForgetPathIfUnused(path);
}

void CFileLockManager::ForgetPathIfUnused(const std::string& path)
{
    for (const auto& [slot, slotPath] : slots_) {
        if (slotPath == path) {
            return;
        }
    }
    const auto it = paths_.find(path);
    if (it != paths_.end()) {
        NoShareFile::Close(it->second);
        paths_.erase(it);
    }
}

void CFileLockManager::LockAll()
{
    for (auto& [path, handle] : paths_) {
        NoShareFile::Close(handle);
        handle = kInvalidHandle;
        handle = OpenFileNoShare(path);
    }
}

void CFileLockManager::UnlockAll()
{
    for (auto& [path, handle] : paths_) {
        NoShareFile::Close(handle);
        handle = kInvalidHandle;
    }
}

void CFileLockManager::RemoveAll()
{
    UnlockAll();
    paths_.clear();
    slots_.clear();
}

int CFileLockManager::OpenFileNoShare(const std::string& path)
{
    return FileExists(path) ? NoShareFile::Open(path) : kInvalidHandle;
}
