// Decides before a link opens whether a firmware script may be played by a given player: it must
// begin with that player's own entry command, hold only the line forms the players know (control
// commands of six characters beginning with "Q", data records of 35 characters beginning with "R"),
// reach its final check "Q000F1" as its last line, and have no empty line before it (trailing empty
// lines are allowed). Another target's entry command inside the script is refused too: it would be
// sent as a data record. A last line that is not the final check, even one of no known form, means
// the file was cut off.
#pragma once

#include "flash/DlfScript.h"

#include <cstddef>
#include <string>
#include <string_view>

enum class DlfProblem {
    None,
    Empty,         // no lines at all (also a file that could not be read)
    NoEntry,       // the first line is not the player's entry command
    BlankInside,   // an empty line before the end of the script
    BadLine,       // a line of no known form or length
    NoFinalCheck,  // the last line is not the final check: the file is cut off
    Unreadable,    // the file is missing, no regular file or could not be read
    TooLarge,      // the file, a line of it or its number of lines is beyond the reader's limits
};

struct DlfCheckResult {
    DlfProblem problem = DlfProblem::None;
    std::size_t line = 0; // index of the offending line
    bool Ok() const { return problem == DlfProblem::None; }
};

constexpr std::size_t kDlfRecordLength = 35;
constexpr std::size_t kDlfCommandLength = 6;

// True for "P0000F", "P0001F" and "P0003F".
bool IsDlfEntryCommand(std::string_view line);

DlfCheckResult CheckDlfScript(const DlfScript& script, const std::string& entryCommand);

// Reads the file into script and checks it; a file that cannot be read whole gives Unreadable or
// TooLarge (script then empty).
DlfCheckResult ReadAndCheckDlfScript(const std::string& path, const std::string& entryCommand, DlfScript& script);
