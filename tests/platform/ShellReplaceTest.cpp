// A move or copy that replaces an entry never gives the user's file or folder a temporary name, so
// no sweep of leftover temporary files can take it: not while the move is in flight, and not after
// a process killed between the steps of a move. The sweeps' clock is moved forward a day and file
// times are set a day back, instead of waiting.
#include "platform/ShellFileOperations.h"
#include "platform/TemporaryFiles.h"

#include "tests/support/ScratchFolder.h"
#include "tests/support/FileText.h"

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

namespace fs = std::filesystem;

constexpr std::time_t kDay = 24 * 3600;

// The content that tells an entry apart: a file's text, or a folder's "photo.jpg".
std::string ContentOf(const std::string& path)
{
    return fs::is_directory(path) ? "folder:" + ReadFile(path + "/photo.jpg") : ReadFile(path);
}

void Make(const std::string& path, bool folder, const std::string& content)
{
    if (folder) {
        fs::create_directories(path);
        WriteFile(path + "/photo.jpg", content);
    } else {
        WriteFile(path, content);
    }
}

// Sets the modification time of every entry below the folder a day back: "a moved file of an old
// date", as a rename keeps it.
void AgeEverything(const std::string& folder)
{
    for (const auto& entry : fs::recursive_directory_iterator(folder)) {
        fs::last_write_time(entry.path(), fs::file_time_type::clock::now() - std::chrono::hours(24));
    }
}

std::time_t ADayAhead()
{
    return std::time(nullptr) + kDay;
}

struct ReplaceCase {
    const char* name;
    bool sourceFolder;
    bool targetFolder;
};

const ReplaceCase kCases[] = {
    {"file over file", false, false},
    {"folder over folder", true, true},
    {"file over folder", false, true},
    {"folder over file", true, false},
};

// What the observer saw at each step of the replace under way.
struct Watch {
    std::string folder;        // the target's folder
    std::string source;        // the moved entry's path
    std::vector<std::string> steps;
    std::vector<std::string> temporaryNames; // names of the pattern seen at any step
    int sweptInFlight = 0;     // what sweeps at the steps removed
};
Watch* g_watch = nullptr;

void Look(const char* step)
{
    g_watch->steps.push_back(step);
    for (const std::string& folder : {g_watch->folder, fs::path(g_watch->source).parent_path().string()}) {
        for (const auto& entry : fs::directory_iterator(folder)) {
            const std::string name = entry.path().filename().string();
            if (TemporaryFiles::IsTemporaryName(name)) g_watch->temporaryNames.push_back(name);
        }
        // A sweep in another process at this moment, at the real time and a day later.
        g_watch->sweptInFlight += TemporaryFiles::RemoveStale(folder);
        g_watch->sweptInFlight += TemporaryFiles::RemoveStale(folder, ADayAhead());
    }
}

TEST(ShellReplace, AMoveNeverGivesTheUsersEntryATemporaryNameAndASweepInFlightKeepsIt)
{
    for (const ReplaceCase& c : kCases) {
        SCOPED_TRACE(c.name);
        ScratchFolder dir;
        fs::create_directories(dir.File("to"));
        const std::string source = dir.File("mine.kpf");
        const std::string target = dir.File("to/mine.kpf");
        Make(source, c.sourceFolder, "user's only copy");
        Make(target, c.targetFolder, "old");
        AgeEverything(dir.Path());

        Watch watch{dir.File("to"), source, {}, {}, 0};
        g_watch = &watch;
        ShellFileOperations::SetStepObserver(&Look);
        const bool moved = ShellFileOperations::Current().CopyOrMove(source, target, false, false, nullptr);
        ShellFileOperations::SetStepObserver(nullptr);
        g_watch = nullptr;

        ASSERT_TRUE(moved);
        EXPECT_FALSE(watch.steps.empty());
        EXPECT_TRUE(watch.temporaryNames.empty()) << watch.temporaryNames.front();
        EXPECT_EQ(watch.sweptInFlight, 0);
        EXPECT_EQ(ContentOf(target), c.sourceFolder ? "folder:user's only copy" : "user's only copy");
        EXPECT_FALSE(fs::exists(fs::symlink_status(source)));
        EXPECT_EQ(fs::directory_iterator(dir.File("to"))->path().filename(), "mine.kpf");
    }
}

// A copy stages its new content beside the target under the temporary pattern; a sweep at the
// real time, in flight, keeps it, and the copy completes.
TEST(ShellReplace, ACopyInFlightKeepsItsStagedContentFromASweep)
{
    for (const ReplaceCase& c : kCases) {
        SCOPED_TRACE(c.name);
        ScratchFolder dir;
        fs::create_directories(dir.File("to"));
        const std::string source = dir.File("mine.kpf");
        const std::string target = dir.File("to/mine.kpf");
        Make(source, c.sourceFolder, "new");
        Make(target, c.targetFolder, "old");
        AgeEverything(dir.Path());

        const auto sweepNow = [](const char*) { TemporaryFiles::RemoveStale(g_watch->folder); };
        Watch watch{dir.File("to"), source, {}, {}, 0};
        g_watch = &watch;
        ShellFileOperations::SetStepObserver(+sweepNow);
        const bool copied = ShellFileOperations::Current().CopyOrMove(source, target, true, false, nullptr);
        ShellFileOperations::SetStepObserver(nullptr);
        g_watch = nullptr;

        ASSERT_TRUE(copied);
        const std::string expected = c.sourceFolder ? "folder:new" : "new";
        EXPECT_EQ(ContentOf(target), expected);
        EXPECT_EQ(ContentOf(source), expected);
        EXPECT_EQ(std::distance(fs::directory_iterator(dir.File("to")), fs::directory_iterator()), 1);
    }
}

// The move runs in a child process that is killed right after the move's first step. A second
// move into the same folder then runs with every file time a day old and the sweeps' clock a day
// ahead, and a copy (which sweeps the folder) too: the user's entry is still at its target.
TEST(ShellReplace, AMoveKilledAfterItsFirstStepThenAnotherMoveIntoTheFolderKeepsTheUsersEntry)
{
    for (const ReplaceCase& c : kCases) {
        SCOPED_TRACE(c.name);
        ScratchFolder dir;
        fs::create_directories(dir.File("to"));
        const std::string source = dir.File("mine.kpf");
        const std::string target = dir.File("to/mine.kpf");
        Make(source, c.sourceFolder, "user's only copy");
        Make(target, c.targetFolder, "old");

        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            ShellFileOperations::SetStepObserver([](const char*) { ::raise(SIGKILL); });
            ShellFileOperations::Current().CopyOrMove(source, target, false, false, nullptr);
            ::_exit(0); // not reached when a step was taken
        }
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        ASSERT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL) << "the move took no step";

        AgeEverything(dir.Path());
        TemporaryFiles::SetClock(&ADayAhead);
        WriteFile(dir.File("other.kpf"), "other");
        WriteFile(dir.File("to/other.kpf"), "older other");
        WriteFile(dir.File("third.kpf"), "third");
        WriteFile(dir.File("to/third.kpf"), "older third");
        const bool moved = ShellFileOperations::Current().CopyOrMove(dir.File("other.kpf"), dir.File("to/other.kpf"),
                                                                     false, false, nullptr);
        const bool copied = ShellFileOperations::Current().CopyOrMove(dir.File("third.kpf"), dir.File("to/third.kpf"),
                                                                      true, false, nullptr);
        const int swept = TemporaryFiles::RemoveStale(dir.File("to")) + TemporaryFiles::RemoveStale(dir.Path());
        TemporaryFiles::SetClock(nullptr);

        EXPECT_TRUE(moved);
        EXPECT_TRUE(copied);
        EXPECT_EQ(swept, 0);
        EXPECT_EQ(ContentOf(target), c.sourceFolder ? "folder:user's only copy" : "user's only copy");
        EXPECT_EQ(ReadFile(dir.File("to/other.kpf")), "other");
        EXPECT_EQ(ReadFile(dir.File("to/third.kpf")), "third");
        std::set<std::string> names;
        for (const auto& entry : fs::directory_iterator(dir.File("to"))) names.insert(entry.path().filename());
        EXPECT_EQ(names, (std::set<std::string>{"mine.kpf", "other.kpf", "third.kpf"}));
    }
}

// Replacing an entry that holds the source, or one that the source holds, cannot be a trade of
// places: refused, and nothing changes.
TEST(ShellReplace, AFolderIsNotMovedOverItsOwnContentOrItsParent)
{
    ScratchFolder dir;
    Make(dir.File("album"), true, "a");
    Make(dir.File("album/inner"), true, "b");
    EXPECT_FALSE(ShellFileOperations::Current().CopyOrMove(dir.File("album"), dir.File("album/inner"), false, false,
                                                           nullptr));
    EXPECT_FALSE(ShellFileOperations::Current().CopyOrMove(dir.File("album/inner"), dir.File("album"), false, false,
                                                           nullptr));
    EXPECT_FALSE(ShellFileOperations::Current().CopyOrMove(dir.File("album/photo.jpg"), dir.File("album"), false,
                                                           false, nullptr));
    EXPECT_EQ(ContentOf(dir.File("album")), "folder:a");
    EXPECT_EQ(ContentOf(dir.File("album/inner")), "folder:b");
}

} // namespace
