// Opening a file so that it stays shown unchanged: the file is opened for reading and held with an
// exclusive flock. Other openers that take the lock (this program's own profile loader, another
// window, another instance) are refused while it is held; programs that ignore advisory locks are
// not, a limit of this platform.
#pragma once

#include <string>

class NoShareFile {
public:
    static constexpr int kInvalid = -1;

    // The descriptor of the opened and locked file, or kInvalid when the file does not exist, cannot
    // be opened or is held by someone else.
    static int Open(const std::string& path);
    static void Close(int handle);
    // TRUE when another holder keeps the file locked.
    static bool IsHeldElsewhere(const std::string& path);
};
