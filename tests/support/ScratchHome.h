// A home folder of the test's own while the object lives: HOME and XDG_CONFIG_HOME point into a
// scratch folder (no user-dirs file, so the documents folder is ~/Documents, not made yet), and the
// old values come back at the end.
#pragma once

#include "tests/support/ScratchFolder.h"

#include <cstdlib>
#include <string>

class ScratchHome {
public:
    ScratchHome() : oldHome_(Get("HOME")), oldConfig_(Get("XDG_CONFIG_HOME"))
    {
        ::setenv("HOME", folder_.Path().c_str(), 1);
        ::setenv("XDG_CONFIG_HOME", folder_.File(".config").c_str(), 1);
    }
    ~ScratchHome()
    {
        Put("HOME", oldHome_);
        Put("XDG_CONFIG_HOME", oldConfig_);
    }
    ScratchHome(const ScratchHome&) = delete;
    ScratchHome& operator=(const ScratchHome&) = delete;

    const std::string& Path() const { return folder_.Path(); }
    std::string File(const std::string& name) const { return folder_.File(name); }

private:
    static std::string Get(const char* name)
    {
        const char* value = std::getenv(name);
        return value ? std::string(1, '=') + value : std::string();
    }
    // Values are kept with a leading '=' so that an unset variable is told from an empty one.
    static void Put(const char* name, const std::string& kept)
    {
        if (kept.empty()) {
            ::unsetenv(name);
        } else {
            ::setenv(name, kept.c_str() + 1, 1);
        }
    }

    ScratchFolder folder_;
    std::string oldHome_;
    std::string oldConfig_;
};
