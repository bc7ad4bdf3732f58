#include "ui/views/CKZARN_ProfileFileSaver.h"

#include "profilelib/ZarnLibString.h"
#include "profilelib/ZarnLib_ProfileFile.h"

#include <filesystem>
#include <system_error>

bool CKZARN_ProfileFileSaver::IsReadOnlyFile(const std::string& path)
{
    namespace fs = std::filesystem;
    std::error_code ec;
    const fs::file_status status = fs::status(path, ec);
    if (ec || !fs::exists(status)) {
        return false;
    }
    const fs::perms write = fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write;
    return (status.permissions() & write) == fs::perms::none;
}

int CKZARN_ProfileFileSaver::Save(const std::string& path, const ZarnLib_Profile& profile)
{
    if (path.empty()) {
        return kWriteFailed;
    }
    if (IsReadOnlyFile(path)) {
        return kReadOnly;
    }
    const ZarnLibString target(path.c_str());
    return SaveProfile(&target, &profile) == 0 ? kSaved : kWriteFailed;
}
