// The recycle bin of this platform: the freedesktop.org Trash in $XDG_DATA_HOME/Trash (a "files"
// folder with the trashed objects and an "info" folder with one .trashinfo file each).
#pragma once

#include <string>

class FreedesktopTrash {
public:
    // The Trash folder to use; empty means $XDG_DATA_HOME/Trash (else ~/.local/share/Trash).
    explicit FreedesktopTrash(std::string trashFolder = {});

    // Moves the file or folder into the Trash and writes its .trashinfo; false (and nothing moved)
    // on any failure.
    bool Put(const std::string& path) const;
    const std::string& Folder() const { return folder_; }

private:
    std::string folder_;
};
