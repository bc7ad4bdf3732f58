// The shell's file operations on this platform: copy, move and delete on std::filesystem, the
// freedesktop Trash as recycle bin, and a collision rename that gives "name (2).ext", "name (3).ext"...
// Names are compared without regard to letter case when collisions are looked for, so that a folder
// never ends up holding "abc.kpf" and "ABC.kpf" side by side, as a case-insensitive file system never does.
#pragma once

#include <functional>
#include <string>
#include <vector>

class ShellFileOperations {
public:
    // Asked before a delete with user interface; false aborts the operation.
    using ConfirmDelete = std::function<bool(const std::vector<std::string>& paths, bool recycle)>;

    virtual ~ShellFileOperations() = default;

    // The operations the program uses; tests may install their own.
    static ShellFileOperations& Current();
    static void SetCurrent(ShellFileOperations* operations); // null restores the default

    // Copies or moves one file (or folder) to the target path. An existing target, or an existing
    // entry whose name differs from the target's only in letter case, is replaced (its own name
    // kept), unless renameOnCollision is set: then the next free "name (n).ext" is used. The path
    // actually written goes to finalTarget when given. A moved file or folder never has any name but
    // its source and its target: a file replaces the target in one rename(2), a folder trades places
    // with the target in one renameat2(RENAME_EXCHANGE) and the entry it replaced is removed from the
    // source's path after. False on any failure; nothing is replaced then, except when what a move
    // leaves behind (the replaced entry at the source's path, or the source after a copy to another
    // file system) cannot be removed: it stays there.
    virtual bool CopyOrMove(const std::string& source, const std::string& target, bool copy,
                            bool renameOnCollision, std::string* finalTarget);
    // Deletes a file or folder, to the Trash when recycle is set. False on failure.
    virtual bool Delete(const std::string& path, bool recycle);

    // Called after each step of a replace ("moved over", "copied over", "copied beside",
    // "exchanged"), so that tests can look at, or stop, a replace between its steps (null: none).
    using StepObserver = void (*)(const char* step);
    static void SetStepObserver(StepObserver observer);

    // The confirmation used for deletes with user interface; unset means "yes".
    void SetConfirmDelete(ConfirmDelete confirm) { confirm_ = std::move(confirm); }
    bool ConfirmDeletion(const std::vector<std::string>& paths, bool recycle) const;

    // The existing entry of the target's folder whose name equals the target's name ignoring ASCII
    // letter case ("" when none).
    static std::string FindCaseVariant(const std::string& target);
    // The first of "name (2).ext", "name (3).ext"... that names no entry (ignoring case).
    static std::string NextFreeName(const std::string& target);
    // Renames a file or folder within its file system and never replaces an entry at the target:
    // false (errno set) when the target exists (nothing is changed then) or the rename fails.
    static bool RenameNoReplace(const std::string& source, const std::string& target);

private:
    ConfirmDelete confirm_;
};
