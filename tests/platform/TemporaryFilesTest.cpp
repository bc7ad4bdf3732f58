// The sweep of leftover temporary files takes only the one name pattern, and judges age by the
// status-change time: a rename or a file-time call cannot make a file look old to it. The sweep's
// "now" is moved forward instead of waiting.
#include "platform/TemporaryFiles.h"

#include "tests/support/ScratchFolder.h"

#include <gtest/gtest.h>

#include <chrono>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <set>
#include <sys/stat.h>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;

// Writes the file and sets its modification time a day back (its status-change time becomes now).
void WriteOld(const std::string& path)
{
    std::ofstream(path) << "content";
    fs::last_write_time(path, fs::file_time_type::clock::now() - std::chrono::hours(24));
}

std::set<std::string> Entries(const std::string& folder)
{
    std::set<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder)) names.insert(entry.path().filename().string());
    return names;
}

TEST(TemporaryFiles, OnlyTheOnePatternIsOurs)
{
    for (const char* ours : {".a.kpf.4711.0.zarn-tmp", ".registry.reg.1.22.zarn-tmp", "..x.kpf.1.2.zarn-tmp.1.3.zarn-tmp"}) {
        EXPECT_TRUE(TemporaryFiles::IsTemporaryName(ours)) << ours;
    }
    // The names earlier writers used, and near misses of the pattern: a user's files.
    for (const char* theirs :
         {".zarn-tmp-target.kpf", "registry.reg.Ab12Cd", ".fw.bin.Ab12Cd", "a.kpf.4711.0.tmp", "a.kpf.4711.0.zarn-tmp",
          ".1.2.zarn-tmp", ".a.1.zarn-tmp", ".a.x.2.zarn-tmp", ".a.1.2.zarn-tmp.bak", ".a.1.2.zarn-tmpx", ".zarn-tmp", ""}) {
        EXPECT_FALSE(TemporaryFiles::IsTemporaryName(theirs)) << theirs;
    }
}

TEST(TemporaryFiles, NamesBesideTheTargetAreOursAndFitTheNameLimit)
{
    ScratchFolder dir;
    for (const std::string& name : {std::string("a.kpf"), std::string(255, 'n'), std::string(".hidden")}) {
        const std::string temporary = TemporaryFiles::NameBeside(dir.File(name));
        const fs::path path(temporary);
        EXPECT_EQ(path.parent_path().string(), dir.Path());
        EXPECT_TRUE(TemporaryFiles::IsTemporaryName(path.filename().string())) << temporary;
        EXPECT_LE(path.filename().string().size(), 255u);
        std::ofstream(temporary) << "x";
        EXPECT_TRUE(fs::exists(temporary)) << temporary;
        EXPECT_NE(TemporaryFiles::NameBeside(dir.File(name)), temporary);
    }
}

// A file of the pattern whose modification time lies a day back but whose status just changed (as a
// file renamed or written a moment ago) belongs to a write in flight: kept. A minute later it goes.
// Files of any other name are kept however old, and so are a folder and a link of the pattern.
TEST(TemporaryFiles, TheSweepJudgesByTheStatusChangeAndTakesOnlyOurFiles)
{
    ScratchFolder dir;
    const std::set<std::string> others = {".zarn-tmp-photo.jpg", "registry.reg.Ab12Cd", ".fw.bin.Ab12Cd",
                                          "mine.kpf.4711.0.tmp", "notes.txt"};
    for (const std::string& name : others) WriteOld(dir.File(name));
    WriteOld(dir.File(".mine.kpf.4711.1.zarn-tmp"));
    fs::create_directories(dir.File(".folder.4711.2.zarn-tmp"));
    ASSERT_EQ(::symlink(dir.File("notes.txt").c_str(), dir.File(".link.4711.3.zarn-tmp").c_str()), 0);
    std::set<std::string> all = others;
    all.insert({".mine.kpf.4711.1.zarn-tmp", ".folder.4711.2.zarn-tmp", ".link.4711.3.zarn-tmp"});

    const std::time_t now = std::time(nullptr);
    EXPECT_EQ(TemporaryFiles::RemoveStale(dir.Path(), now), 0);
    EXPECT_EQ(TemporaryFiles::RemoveStale(dir.Path(), now + TemporaryFiles::kStaleSeconds - 2), 0);
    EXPECT_EQ(Entries(dir.Path()), all);

    EXPECT_EQ(TemporaryFiles::RemoveStale(dir.Path(), now + TemporaryFiles::kStaleSeconds + 1), 1);
    all.erase(".mine.kpf.4711.1.zarn-tmp");
    EXPECT_EQ(Entries(dir.Path()), all);
    EXPECT_EQ(TemporaryFiles::RemoveStale(dir.Path(), now + 365 * 24 * 3600), 0);
    EXPECT_EQ(Entries(dir.Path()), all);
}

// The writers' sweeps read the clock through TemporaryFiles::Now, which a test can move.
TEST(TemporaryFiles, TheWritersClockCanBeMoved)
{
    ScratchFolder dir;
    WriteOld(dir.File(".a.kpf.1.2.zarn-tmp"));
    EXPECT_EQ(TemporaryFiles::RemoveStaleBeside(dir.File("a.kpf")), 0);
    TemporaryFiles::SetClock([] { return std::time(nullptr) + 2 * TemporaryFiles::kStaleSeconds; });
    EXPECT_EQ(TemporaryFiles::RemoveStaleBeside(dir.File("b.csv")), 1);
    TemporaryFiles::SetClock(nullptr);
    EXPECT_TRUE(Entries(dir.Path()).empty());
}

} // namespace
