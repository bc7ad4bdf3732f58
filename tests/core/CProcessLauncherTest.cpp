#include "core/CProcessLauncher.h"
#include "tests/core/CoreTempDir.h"

#include <chrono>
#include <condition_variable>
#include <cstdlib>
#include <gtest/gtest.h>
#include <mutex>
#include <system_error>
#include <vector>

namespace {

constexpr UINT kDone = WM_USER + 6;

// Records posted messages; tests wait on it instead of sleeping.
class RecordingSink : public MessageSink {
public:
    BOOL PostMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) override
    {
        std::lock_guard<std::mutex> lock(mutex_);
        posts_.push_back({window, message, wParam, lParam});
        changed_.notify_all();
        return TRUE;
    }
    BOOL IsWindow(HWND) const override { return TRUE; }

    bool WaitForPosts(std::size_t count)
    {
        std::unique_lock<std::mutex> lock(mutex_);
        return changed_.wait_for(lock, std::chrono::seconds(20), [&] { return posts_.size() >= count; });
    }
    std::size_t Count()
    {
        std::lock_guard<std::mutex> lock(mutex_);
        return posts_.size();
    }

    struct Post {
        HWND window;
        UINT message;
        WPARAM wParam;
        LPARAM lParam;
    };
    std::vector<Post> posts_;

private:
    std::mutex mutex_;
    std::condition_variable changed_;
};

const std::string kHelper = std::string(ZARN_BINARY_DIR) + "/bin/zarn_child_helper";
const HWND kApp{7};

class LauncherTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ::setenv("ZARN_CHILD_RECORD", dir.Sub("args").c_str(), 1);
        ::setenv("ZARN_CHILD_RELEASE", dir.Sub("release").c_str(), 1);
    }
    void TearDown() override
    {
        Release();
        ::unsetenv("ZARN_CHILD_RECORD");
        ::unsetenv("ZARN_CHILD_RELEASE");
    }
    void Release() { CoreTempDir::Write(dir.Sub("release"), ""); }

    CoreTempDir dir;
    RecordingSink sink;
};

} // namespace

TEST_F(LauncherTest, NotifyModeRefusesWhileBusyAndPostsWhenTheChildEnds)
{
    CProcessLauncher launcher(&sink);
    launcher.SetNotifyMessage(kDone);
    ASSERT_EQ(launcher.Launch(kHelper, "one \"two words\"", kApp), 1);
    EXPECT_EQ(launcher.Launch(kHelper, "", kApp), 0); // busy: nothing started
    EXPECT_EQ(sink.Count(), 0u);
    Release();
    ASSERT_TRUE(sink.WaitForPosts(1));
    EXPECT_EQ(sink.posts_[0].window, kApp);
    EXPECT_EQ(sink.posts_[0].message, kDone);
    EXPECT_EQ(sink.posts_[0].wParam, reinterpret_cast<WPARAM>(&launcher));
    EXPECT_EQ(sink.posts_[0].lParam, 0);
    EXPECT_EQ(launcher.Launch(kHelper, "", kApp), 0); // still held until collected
    EXPECT_TRUE(launcher.WaitThread());
    EXPECT_FALSE(launcher.WaitThread());
    EXPECT_EQ(CoreTempDir::Read(dir.Sub("args")), "argc=2\none\ntwo words\n");
    EXPECT_EQ(launcher.Launch(kHelper, "", kApp), 1);
    ASSERT_TRUE(sink.WaitForPosts(2));
    EXPECT_TRUE(launcher.WaitThread());
    EXPECT_EQ(CoreTempDir::Read(dir.Sub("args")), "argc=2\none\ntwo words\nargc=0\n");
}

TEST_F(LauncherTest, ArgumentListsReachTheChildAsTheyStand)
{
    // Blanks, quotes, an empty value and a leading switch character are not split or joined.
    const std::vector<std::string> arguments{"/Ver", "1.0 beta", "/RFAppVer", "", "say \"hi\"", "/Lang"};
    CProcessLauncher launcher(&sink);
    launcher.SetNotifyMessage(kDone);
    ASSERT_EQ(launcher.Launch(kHelper, arguments, kApp), 1);
    Release();
    ASSERT_TRUE(sink.WaitForPosts(1));
    EXPECT_TRUE(launcher.WaitThread());
    EXPECT_EQ(CoreTempDir::Read(dir.Sub("args")), "argc=6\n/Ver\n1.0 beta\n/RFAppVer\n\nsay \"hi\"\n/Lang\n");
}

TEST_F(LauncherTest, MissingProgramStillNotifies)
{
    CProcessLauncher launcher(&sink);
    launcher.SetNotifyMessage(kDone);
    EXPECT_EQ(launcher.Launch(dir.Sub("no-such-program"), "", kApp), 1);
    ASSERT_TRUE(sink.WaitForPosts(1));
    EXPECT_EQ(sink.posts_[0].message, kDone);
    EXPECT_TRUE(launcher.WaitThread());
}

TEST_F(LauncherTest, InlineModeLeavesTheChildRunningAndPostsNothing)
{
    CProcessLauncher launcher(&sink);
    launcher.SetNotifyMessage(kDone);
    EXPECT_EQ(launcher.Launch(kHelper, "x", HWND{}), -1);
    EXPECT_FALSE(launcher.IsBusy());
    EXPECT_EQ(launcher.Launch(dir.Sub("no-such-program"), "", HWND{}), -1);
    EXPECT_EQ(sink.Count(), 0u);
    // An inline launch holds no thread, so a notify-mode launch is accepted at once.
    EXPECT_EQ(launcher.Launch(kHelper, "", kApp), 1);
    Release();
    ASSERT_TRUE(sink.WaitForPosts(1));
    EXPECT_TRUE(launcher.WaitThread());
}

TEST_F(LauncherTest, FailedWaitThreadIsReportedAndStillNotifies)
{
    CProcessLauncher launcher(&sink);
    launcher.SetNotifyMessage(kDone);
    launcher.SetThreadFactory([](std::function<void()>) -> std::thread {
        throw std::system_error(std::make_error_code(std::errc::resource_unavailable_try_again));
    });
    EXPECT_EQ(launcher.Launch(kHelper, "", kApp), -1);
    ASSERT_EQ(sink.Count(), 1u);
    EXPECT_EQ(sink.posts_[0].message, kDone);
    EXPECT_FALSE(launcher.IsBusy());
    EXPECT_FALSE(std::filesystem::exists(dir.Sub("args")));
}

TEST_F(LauncherTest, DestructionWaitsForTheChild)
{
    {
        CProcessLauncher launcher(&sink);
        launcher.SetNotifyMessage(kDone);
        ASSERT_EQ(launcher.Launch(kHelper, "", kApp), 1);
        Release();
    }
    EXPECT_EQ(sink.Count(), 1u); // the wait thread posted before the destructor returned
}
