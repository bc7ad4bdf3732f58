// The registry stand-in: keys and typed values kept in one .reg-like text file that both programs
// share. Reads parse the file as it is now; writes take an exclusive flock on "<file>.lock",
// re-read the file, change it and replace it through AtomicFileWriter, so a reader always sees
// either the old or the new file, and writers in other processes lose nothing. A store file that
// cannot be read as one (not a regular file, larger than any store, malformed) reads as an empty
// store and is never rewritten; the process says so once on its error stream, and keeps the first
// such refusal for the programs to tell the user (TakeRefusal).
#pragma once

#include "platform/RegistryDocument.h"
#include "platform/RegistryKey.h"
#include "platform/RegistryTypes.h"

#include <cstddef>
#include <functional>
#include <string>

// Why a store file was not read.
enum class RegistryRefusal { None, NotRegularFile, TooLarge, Malformed };

class RegistryStore {
public:
    // Far above any real store (a few KiB): a larger file is a damaged one and is not read.
    static constexpr std::size_t kMaxStoreBytes = std::size_t{16} << 20;

    explicit RegistryStore(std::string filePath);

    // ZARN_REGISTRY_FILE when set and non-empty, else $XDG_CONFIG_HOME/Kestrin/registry.reg
    // (XDG_CONFIG_HOME defaulting to ~/.config). Read at every call.
    static std::string DefaultPath();
    // The name under which a root is written in the file ("HKEY_LOCAL_MACHINE"), empty if unknown.
    static std::string RootName(HKEY root);
    // The first store file of this process that was refused, and why; once only: later calls give
    // None. The programs show it to the user when their window is up.
    static RegistryRefusal TakeRefusal(std::string* path);

    const std::string& FilePath() const { return path_; }

    // Opens an existing key (empty path: the root itself). A read-write open also needs a store
    // file that the caller may write.
    RegStatus OpenKey(HKEY root, const std::string& subPath, RegAccess access, RegistryKey* out) const;
    // Opens the key read-write, creating it and its parents when missing.
    RegStatus CreateKey(HKEY root, const std::string& subPath, RegistryKey* out) const;

    // False when the file (or, while it does not exist, its folder) denies writing. The file's
    // write bits count for every user alike, so a store marked read-only stays read-only.
    bool IsWritable() const;

    // Reads and parses the file as it is now. A missing file is an empty store; a file that is
    // refused gives an empty store and BadStore.
    RegStatus Load(RegistryDocument* doc) const;
    // Locked read-change-write. The change returns Ok to have the file rewritten.
    RegStatus Modify(const std::function<RegStatus(RegistryDocument&)>& change) const;

    // Joins the root name and the non-empty elements of subPath; empty when the root is unknown or
    // an element cannot be stored.
    static std::string FullPath(HKEY root, const std::string& subPath);

private:
    std::string path_;
};
