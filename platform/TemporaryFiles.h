// The names of the temporary files that AtomicFileWriter keeps beside its targets, and the removal
// of those that a killed process left behind. One pattern for every writer,
// ".<target name>.<process id>.<n>.zarn-tmp", so that the sweep never takes a file of any other
// name, and no user's file ever carries such a name (a move renames a user's file only onto its
// target). A file of the pattern whose status has not changed for a minute belongs to no write in
// flight: every write and every rename sets the status-change time (st_ctime) to the present, and,
// unlike the modification time, a rename does not carry it over from an older file and no file-time
// call sets it back.
#pragma once

#include <ctime>
#include <string>
#include <string_view>

class TemporaryFiles {
public:
    // A temporary file whose status is unchanged for this long belongs to no write in flight.
    static constexpr std::time_t kStaleSeconds = 60;
    // The pattern's ending.
    static constexpr std::string_view kSuffix = ".zarn-tmp";

    // A name of the pattern beside the target that no entry uses yet ("" when none is found). A
    // long target name is cut so that the temporary name stays within the system's name limit.
    static std::string NameBeside(const std::string& target);
    // TRUE for a file name of the pattern (a name, not a path).
    static bool IsTemporaryName(std::string_view fileName);

    // Removes the regular files of the folder whose names are of the pattern and whose status last
    // changed at least kStaleSeconds before now (Now() when not given). The number removed.
    static int RemoveStale(const std::string& folder);
    static int RemoveStale(const std::string& folder, std::time_t now);
    // RemoveStale in the folder of the target: what every writer calls before it writes.
    static int RemoveStaleBeside(const std::string& target);

    // The time the sweeps judge by: the system's, or a test's clock (null restores the system's).
    using ClockFunction = std::time_t (*)();
    static std::time_t Now();
    static void SetClock(ClockFunction clock);
};
