// The process-wide table of shown profile files, each held open without sharing while locked, and
// of slot ids that refer to them. Used on the user-interface thread only.
#pragma once

#include <map>
#include <string>

class CFileLockManager {
public:
    static constexpr int kInvalidHandle = -1; // a registered path whose file is not held

    static CFileLockManager* GetInstance();
    static void DestroyInstance();

    void Register(const std::string& path);
    // Pointing a slot at another path releases the old path as UnregisterId would.
    void RegisterWithId(int id, const std::string& path);
    void UnregisterId(int id);
    void LockAll();
    void UnlockAll();
    void RemoveAll();
    // The open step of LockAll: a held handle, or kInvalidHandle.
    static int OpenFileNoShare(const std::string& path);

    const std::map<std::string, int>& Paths() const { return paths_; }
    const std::map<int, std::string>& Slots() const { return slots_; }

    ~CFileLockManager();
    CFileLockManager(const CFileLockManager&) = delete;
    CFileLockManager& operator=(const CFileLockManager&) = delete;

private:
    CFileLockManager() = default;
    // Removes the path unless a slot still refers to it.
    void ForgetPathIfUnused(const std::string& path);

    std::map<std::string, int> paths_;
    std::map<int, std::string> slots_;
};
