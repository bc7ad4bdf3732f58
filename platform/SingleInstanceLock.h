// The one-instance rule of a program, for one user on one display: a lock file held with flock in
// the user's runtime folder ($XDG_RUNTIME_DIR, else the temporary folder with the user id in the
// name), named with the display too, so that an instance on another display (or in another
// session with its own display) neither blocks this one nor is raised by it. The lock is held
// from Acquire until Release or destruction, and the system drops it when the process ends, so a
// crashed instance never blocks the next one.
#pragma once

#include <string>

class SingleInstanceLock {
public:
    enum class Result {
        Owned,          // this instance holds the lock
        AlreadyRunning, // another process holds it
        Failed,         // the lock file cannot be created or locked
    };

    // name: the instance name, used for the lock file and the socket beside it.
    explicit SingleInstanceLock(std::string name);
    ~SingleInstanceLock();
    SingleInstanceLock(const SingleInstanceLock&) = delete;
    SingleInstanceLock& operator=(const SingleInstanceLock&) = delete;

    Result Acquire();
    void Release();
    bool IsOwned() const { return fd_ >= 0; }

    // Folder of the lock file: $XDG_RUNTIME_DIR when set and a folder, else the temporary folder.
    static std::string RuntimeFolder();
    // The display the instance shows on ($WAYLAND_DISPLAY, else $DISPLAY without its screen
    // number), as a file-name part: letters, digits, '.', '-' and '_'; empty when none is set.
    static std::string DisplayTag();
    // Full paths of the lock file and of the activation socket for this name and display.
    std::string LockPath() const;
    std::string SocketPath() const;

private:
    std::string BasePath() const;

    std::string name_;
    int fd_ = -1;
};
