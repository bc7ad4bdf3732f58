// Collects the files of a folder tree whose extension is in a list (ASCII case ignored).
#pragma once

#include <string>
#include <vector>

class CFolderScanner {
public:
    // Appends the full path of every matching file, depth first in listing order when recurse is
    // non-zero. A folder that cannot be listed adds nothing. Always returns 1.
    int ScanFolder(const std::string& folder, std::vector<std::string>& paths,
                   const std::vector<std::string>& extensions, int recurse);
};
