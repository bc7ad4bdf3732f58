// The instance lock is one per user and display: a second start on the same display finds the first
// (also through another screen number of it), a start on another display runs on its own, with its
// own activation socket; with and without a runtime folder.
#include "platform/SingleInstanceLock.h"
#include "tests/support/ScratchFolder.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>
#include <string>
#include <unistd.h>

namespace {

// Sets an environment variable for the life of the object (unset for nullopt).
class ScopedEnv {
public:
    ScopedEnv(const char* name, std::optional<std::string> value) : name_(name)
    {
        if (const char* old = std::getenv(name)) old_ = old;
        if (value) {
            ::setenv(name, value->c_str(), 1);
        } else {
            ::unsetenv(name);
        }
    }
    ~ScopedEnv()
    {
        if (old_) {
            ::setenv(name_, old_->c_str(), 1);
        } else {
            ::unsetenv(name_);
        }
    }

private:
    const char* name_;
    std::optional<std::string> old_;
};

struct Display {
    const char* x11;
    const char* wayland;
};

TEST(SingleInstanceLock, OneInstancePerUserAndDisplay)
{
    ScratchFolder runtime;
    struct Case {
        const char* name;
        Display first;
        Display second;
        bool sameDisplay;
    } cases[] = {
        {"another X display", {":0", nullptr}, {":1", nullptr}, false},
        {"another screen of the display", {":0", nullptr}, {":0.1", nullptr}, true},
        {"the same display", {"localhost:10.0", nullptr}, {"localhost:10.0", nullptr}, true},
        {"another Wayland display", {":0", "wayland-0"}, {":0", "wayland-1"}, false},
        {"no display and a display", {nullptr, nullptr}, {":0", nullptr}, false},
    };
    const std::string name = "zarn-lock-test-" + std::to_string(::getpid());
    for (const bool withRuntimeFolder : {true, false}) {
        ScopedEnv folder("XDG_RUNTIME_DIR",
                         withRuntimeFolder ? std::optional<std::string>(runtime.Path()) : std::nullopt);
        for (const Case& c : cases) {
            SCOPED_TRACE(std::string(c.name) + (withRuntimeFolder ? " in the runtime folder" : " in the temporary folder"));
            auto onDisplay = [&](const Display& d, SingleInstanceLock& lock, std::string* socket) {
                ScopedEnv x("DISPLAY", d.x11 ? std::optional<std::string>(d.x11) : std::nullopt);
                ScopedEnv w("WAYLAND_DISPLAY", d.wayland ? std::optional<std::string>(d.wayland) : std::nullopt);
                *socket = lock.SocketPath();
                return lock.Acquire();
            };
            SingleInstanceLock first(name);
            SingleInstanceLock second(name);
            std::string firstSocket, secondSocket;
            ASSERT_EQ(onDisplay(c.first, first, &firstSocket), SingleInstanceLock::Result::Owned);
            EXPECT_EQ(onDisplay(c.second, second, &secondSocket),
                      c.sameDisplay ? SingleInstanceLock::Result::AlreadyRunning : SingleInstanceLock::Result::Owned);
            EXPECT_EQ(firstSocket == secondSocket, c.sameDisplay) << firstSocket << " " << secondSocket;
            if (!withRuntimeFolder) {
                EXPECT_NE(firstSocket.find("-" + std::to_string(::getuid())), std::string::npos) << firstSocket;
            }
            first.Release();
            second.Release();
            ::unlink((firstSocket.substr(0, firstSocket.size() - 5) + ".lock").c_str());
            ::unlink((secondSocket.substr(0, secondSocket.size() - 5) + ".lock").c_str());
        }
    }
}

TEST(SingleInstanceLock, DisplayTagsAreShortPlainFileNameParts)
{
    ScopedEnv w("WAYLAND_DISPLAY", "/run/user/1000/wayland-0");
    EXPECT_EQ(SingleInstanceLock::DisplayTag(), "_run_user_1000_wayland-0");
    ScopedEnv w2("WAYLAND_DISPLAY", std::string(100, 'w'));
    EXPECT_EQ(SingleInstanceLock::DisplayTag(), std::string(40, 'w'));
}

} // namespace
