// The temporary files our atomic writers keep beside their targets, and the removal of those that a
// killed process left behind. A writer fills a temporary file and renames it over the target only
// when it is complete; a process killed in between leaves the temporary file. Each writer sweeps
// the folder it writes to, removing only names that writers of ours make and only files that have
// not changed for a minute, so a write in flight (even another program's) is never touched.
#pragma once

#include <ctime>
#include <functional>
#include <string>
#include <string_view>

class TemporaryFiles {
public:
    // A temporary file unchanged for this long belongs to no write in flight.
    static constexpr std::time_t kStaleSeconds = 60;

    // "<target>.<process id>.<n>.tmp": a name beside the target that no file uses yet ("" when
    // none is found).
    static std::string NameBeside(const std::string& target);
    // TRUE for the file names NameBeside makes for a target whose name ends with the extension
    // (".kpf"; letter case ignored; empty: any target).
    static bool IsNameBeside(std::string_view fileName, std::string_view extension);
    // RemoveStale for the names NameBeside makes beside files of the target's extension, in the
    // target's folder: what every writer through NameBeside calls before it writes.
    static int RemoveStaleBeside(const std::string& target, std::time_t now = std::time(nullptr));
    // TRUE for "<prefix>XXXXXX", the names mkstemp makes of the template "<prefix>XXXXXX".
    static bool IsMkstempName(std::string_view fileName, std::string_view prefix);
    // TRUE for ".<name>.XXXXXX", the hidden names a download writes to before it is complete.
    static bool IsHiddenMkstempName(std::string_view fileName);

    // Removes the regular files of the folder whose names isOurs claims and whose last change lies
    // at least kStaleSeconds before now. The number removed.
    static int RemoveStale(const std::string& folder, const std::function<bool(std::string_view)>& isOurs,
                           std::time_t now = std::time(nullptr));
};
