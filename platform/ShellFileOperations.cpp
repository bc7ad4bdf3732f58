#include "platform/ShellFileOperations.h"

#include "platform/FreedesktopTrash.h"
#include "platform/TemporaryFiles.h"

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <filesystem>
#include <system_error>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

ShellFileOperations* g_current = nullptr;

char LowerAscii(char c)
{
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

bool EqualsIgnoringCase(const std::string& a, const std::string& b)
{
    if (a.size() != b.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (LowerAscii(a[i]) != LowerAscii(b[i])) {
            return false;
        }
    }
    return true;
}

bool Exists(const fs::path& p)
{
    std::error_code ec;
    return fs::exists(fs::symlink_status(p, ec));
}

// Copies a file or a folder tree to a path that does not exist yet; removes a partial copy.
bool CopyTo(const fs::path& from, const fs::path& to)
{
    std::error_code ec;
    if (fs::is_directory(from, ec)) {
        fs::copy(from, to, fs::copy_options::recursive, ec);
    } else {
        fs::copy_file(from, to, fs::copy_options::none, ec);
    }
    if (ec) {
        fs::remove_all(to, ec);
        return false;
    }
    return true;
}

bool MoveTo(const fs::path& from, const fs::path& to)
{
    std::error_code ec;
    fs::rename(from, to, ec);
    if (!ec) {
        return true;
    }
    if (ec != std::errc::cross_device_link || !CopyTo(from, to)) {
        return false;
    }
    fs::remove_all(from, ec);
    return !ec;
}

} // namespace

ShellFileOperations& ShellFileOperations::Current()
{
    static ShellFileOperations defaultOperations;
    return g_current != nullptr ? *g_current : defaultOperations;
}

void ShellFileOperations::SetCurrent(ShellFileOperations* operations)
{
    g_current = operations;
}

bool ShellFileOperations::ConfirmDeletion(const std::vector<std::string>& paths, bool recycle) const
{
    return !confirm_ || confirm_(paths, recycle);
}

std::string ShellFileOperations::FindCaseVariant(const std::string& target)
{
    const fs::path t(target);
    const fs::path folder = t.has_parent_path() ? t.parent_path() : fs::path(".");
    const std::string name = t.filename().string();
    if (Exists(t)) {
        return target;
    }
    std::error_code ec;
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        const std::string entry = it->path().filename().string();
        if (EqualsIgnoringCase(entry, name)) {
            return (t.has_parent_path() ? (t.parent_path() / entry) : fs::path(entry)).string();
        }
    }
    return {};
}

std::string ShellFileOperations::NextFreeName(const std::string& target)
{
    const fs::path t(target);
    const std::string stem = t.stem().string();
    const std::string ext = t.extension().string();
    for (int n = 2;; ++n) {
        const fs::path candidate = t.parent_path() / (stem + " (" + std::to_string(n) + ")" + ext);
        if (FindCaseVariant(candidate.string()).empty()) {
            return candidate.string();
        }
    }
}

bool ShellFileOperations::RenameNoReplace(const std::string& source, const std::string& target)
{
    if (::renameat2(AT_FDCWD, source.c_str(), AT_FDCWD, target.c_str(), RENAME_NOREPLACE) == 0) {
        return true;
    }
    if (errno != EINVAL && errno != ENOSYS) {
        return false;
    }
    // A file system without the no-replace flag: a hard link is made only where no entry is, and the
    // old name is dropped once the new one holds the file.
    if (::link(source.c_str(), target.c_str()) != 0) {
        return false;
    }
    if (::unlink(source.c_str()) != 0) {
        ::unlink(target.c_str());
        return false;
    }
    return true;
}

bool ShellFileOperations::CopyOrMove(const std::string& source, const std::string& target, bool copy,
                                     bool renameOnCollision, std::string* finalTarget)
{
    std::error_code ec;
    const fs::path from(source);
    if (!Exists(from) || target.empty()) {
        return false;
    }
    fs::path to(target);
    const std::string existing = FindCaseVariant(target);
    const bool sameObject = !existing.empty() && fs::equivalent(from, existing, ec);
    if (!existing.empty()) {
        if (renameOnCollision && !(sameObject && !copy)) {
            to = NextFreeName(target);
        } else if (sameObject) {
            // Moving a file onto itself (perhaps under another letter case) changes nothing; copying
            // a file onto itself is refused, as it would destroy the source.
            if (copy) {
                return false;
            }
            if (finalTarget != nullptr) {
                *finalTarget = existing;
            }
            return true;
        } else {
            to = existing; // replace the entry, keeping the name it has
        }
    }
    if (Exists(to)) {
        // Write beside the old entry first, so that a failure leaves it intact.
        constexpr std::string_view kTemporaryPrefix = ".zarn-tmp-";
        TemporaryFiles::RemoveStale(to.parent_path().string(), [kTemporaryPrefix](std::string_view name) {
            return name.size() > kTemporaryPrefix.size() && name.substr(0, kTemporaryPrefix.size()) == kTemporaryPrefix;
        });
        const fs::path temporary = to.parent_path() / (std::string(kTemporaryPrefix) + to.filename().string());
        fs::remove_all(temporary, ec);
        if (!(copy ? CopyTo(from, temporary) : MoveTo(from, temporary))) {
            return false;
        }
        if (fs::is_directory(to, ec)) {
            fs::remove_all(to, ec); // a folder is replaced as a whole
        }
        fs::rename(temporary, to, ec);
        if (ec) {
            if (!copy) {
                MoveTo(temporary, from);
            }
            fs::remove_all(temporary, ec);
            return false;
        }
    } else if (!(copy ? CopyTo(from, to) : MoveTo(from, to))) {
        return false;
    }
    if (finalTarget != nullptr) {
        *finalTarget = to.string();
    }
    return true;
}

bool ShellFileOperations::Delete(const std::string& path, bool recycle)
{
    if (!Exists(path)) {
        return false;
    }
    if (recycle) {
        return FreedesktopTrash().Put(path);
    }
    std::error_code ec;
    fs::remove_all(path, ec);
    return !ec;
}
