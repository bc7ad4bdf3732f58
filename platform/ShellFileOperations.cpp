#include "platform/ShellFileOperations.h"

#include "platform/FreedesktopTrash.h"
#include "platform/AtomicFileWriter.h"
#include "platform/TemporaryFiles.h"

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <filesystem>
#include <optional>
#include <sys/stat.h>
#include <system_error>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

ShellFileOperations* g_current = nullptr;
std::atomic<ShellFileOperations::StepObserver> g_observer{nullptr};

void Observe(const char* step)
{
    if (const ShellFileOperations::StepObserver observer = g_observer.load()) {
        observer(step);
    }
}

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

// Moves to a path where no entry is; never replaces one that appears there meanwhile.
bool MoveTo(const fs::path& from, const fs::path& to)
{
    if (ShellFileOperations::RenameNoReplace(from.string(), to.string())) {
        return true;
    }
    if (errno != EXDEV || !CopyTo(from, to)) {
        return false;
    }
    std::error_code ec;
    fs::remove_all(from, ec);
    return !ec;
}

bool IsFolder(const fs::path& p)
{
    std::error_code ec;
    return fs::is_directory(fs::symlink_status(p, ec));
}

// TRUE when inner is the folder itself or lies below it.
bool IsWithin(const fs::path& inner, const fs::path& folder)
{
    std::error_code ec;
    const fs::path a = fs::weakly_canonical(fs::absolute(inner, ec), ec);
    const fs::path b = fs::weakly_canonical(fs::absolute(folder, ec), ec);
    auto ai = a.begin();
    for (auto bi = b.begin(); bi != b.end(); ++bi, ++ai) {
        if (ai == a.end() || *ai != *bi) {
            return false;
        }
    }
    return true;
}

// Trades the two entries' places in one renameat2(RENAME_EXCHANGE): each path holds at every moment
// one of the two, and neither is ever under a third name. On a file system that cannot exchange,
// the entry at b is removed first and a then renamed into its free place; a stop between the two
// loses only the entry that was being replaced.
bool Exchange(const fs::path& a, const fs::path& b)
{
    if (::renameat2(AT_FDCWD, a.c_str(), AT_FDCWD, b.c_str(), RENAME_EXCHANGE) == 0) {
        return true;
    }
    if (errno != EINVAL && errno != ENOSYS) {
        return false;
    }
    std::error_code ec;
    fs::remove_all(b, ec);
    return !ec && ShellFileOperations::RenameNoReplace(a.string(), b.string());
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
    if (IsFolder(source)) {
        // A folder cannot be hard-linked: it is renamed only where no entry is. rename(2) of a
        // folder fails over a file or over a folder that holds anything, so should an entry appear
        // there in between, at worst an empty folder is replaced: nothing is lost.
        struct stat st {};
        if (::lstat(target.c_str(), &st) == 0) {
            errno = EEXIST;
            return false;
        }
        return errno == ENOENT && ::rename(source.c_str(), target.c_str()) == 0;
    }
    // A file system without the no-replace flag: a hard link is made only where no entry is, and the
    // old name is dropped once the new one holds the file.
    if (::link(source.c_str(), target.c_str()) != 0) {
        return false;
    }
    if (::unlink(source.c_str()) != 0) {
        const int saved = errno;
        ::unlink(target.c_str());
        errno = saved;
        return false;
    }
    return true;
}

void ShellFileOperations::SetStepObserver(StepObserver observer)
{
    g_observer.store(observer);
}

// Replaces the existing entry at target by the source (or a copy of it).
static bool ReplaceEntry(const std::string& source, const std::string& target, bool copy)
{
    const fs::path from(source);
    const fs::path to(target);
    std::error_code ec;
    if (!IsFolder(from) && !IsFolder(to)) {
        // A file moves over its target in one rename(2): the target is the old file or the moved
        // one at every moment, and the moved file never has another name.
        if (!copy) {
            if (AtomicFileWriter::MoveOver(source, target)) {
                Observe("moved over");
                return true;
            }
            if (errno != EXDEV) {
                return false;
            }
        }
        // A copy, or a move to another file system, is written beside the target and replaces it
        // once it is whole; the source of a move is removed only then.
        std::optional<mode_t> mode;
        struct stat st {};
        if (::stat(source.c_str(), &st) == 0) {
            mode = st.st_mode & 07777;
        }
        if (!AtomicFileWriter::ReplaceThrough(
                target, [&from](const std::string& temporary) { return CopyTo(from, temporary); }, mode)) {
            return false;
        }
        Observe("copied over");
        if (!copy) {
            fs::remove(from, ec);
        }
        return !ec;
    }
    // A folder can neither be renamed over a file nor over a folder that holds anything: the two
    // entries trade places, and the replaced one, now at the source's path, is removed after. An
    // entry that holds the other cannot trade places with it: refused before anything changes.
    if (IsWithin(to, from) || IsWithin(from, to)) {
        return false;
    }
    if (!copy) {
        if (Exchange(from, to)) {
            Observe("exchanged");
            fs::remove_all(from, ec);
            return !ec;
        }
        if (errno != EXDEV) {
            return false;
        }
    }
    // A copy (or a move to another file system) is made beside the target first.
    const std::string staged = TemporaryFiles::NameBeside(target);
    if (staged.empty() || !CopyTo(from, staged)) {
        return false;
    }
    Observe("copied beside");
    if (!Exchange(staged, to)) {
        fs::remove_all(staged, ec);
        return false;
    }
    Observe("exchanged");
    fs::remove_all(staged, ec);
    if (!ec && !copy) {
        fs::remove_all(from, ec);
    }
    return !ec;
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
    if (Exists(to) ? !ReplaceEntry(source, to.string(), copy) : !(copy ? CopyTo(from, to) : MoveTo(from, to))) {
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
