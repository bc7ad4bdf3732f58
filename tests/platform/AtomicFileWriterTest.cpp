// The one way files are replaced: whole or not at all, with the mode the old file had, failures of
// the sync and the close reported, the descriptor closed, and nothing left beside the target.
#include "platform/AtomicFileWriter.h"
#include "platform/TemporaryFiles.h"

#include "tests/support/ScratchFolder.h"
#include "tests/support/FileText.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>
#include <sys/stat.h>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;

std::set<std::string> Entries(const std::string& folder)
{
    std::set<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder)) names.insert(entry.path().filename().string());
    return names;
}

int OpenDescriptors()
{
    int count = 0;
    for ([[maybe_unused]] const auto& entry : fs::directory_iterator("/proc/self/fd")) ++count;
    return count;
}

mode_t ModeOf(const std::string& path)
{
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 ? (st.st_mode & 07777) : 0;
}

int FailingFsync(int)
{
    errno = EIO;
    return -1;
}

// A close that fails after closing, as close(2) does when a late write error surfaces.
int FailingClose(int fd)
{
    ::close(fd);
    errno = EIO;
    return -1;
}

// Fails for folders only: the file is on the disk, its new name may not be.
int FolderFailingFsync(int fd)
{
    struct stat st {};
    if (::fstat(fd, &st) == 0 && S_ISDIR(st.st_mode)) {
        errno = EIO;
        return -1;
    }
    return ::fsync(fd);
}

struct SyncFault {
    const char* name;
    AtomicFileWriter::SyncCalls calls;
    const char* reason; // in the error text
};

const SyncFault kSyncFaults[] = {
    {"fsync", {&FailingFsync, &::close}, "could not be synced"},
    {"close", {&::fsync, &FailingClose}, "could not be closed"},
};

// Every way of writing meets the fault: whole content, piece by piece, and through a path.
TEST(AtomicFileWriter, AFailedSyncOrCloseIsReportedAndLeavesTheOldFileAndNoDescriptor)
{
    for (const SyncFault& fault : kSyncFaults) {
        SCOPED_TRACE(fault.name);
        ScratchFolder dir;
        const std::string target = dir.File("settings.ini");
        WriteFile(target, "old");
        const int before = OpenDescriptors();
        AtomicFileWriter::SetSyncCalls(&fault.calls);

        std::string error;
        EXPECT_FALSE(AtomicFileWriter::Replace(target, "new", &error));
        EXPECT_NE(error.find(target), std::string::npos) << error;
        EXPECT_NE(error.find(fault.reason), std::string::npos) << error;
        EXPECT_NE(error.find("Input/output error"), std::string::npos) << error;
        {
            AtomicFileWriter writer(target);
            ASSERT_TRUE(writer.Begin());
            ASSERT_TRUE(writer.Write("ne", 2));
            ASSERT_TRUE(writer.Write("w", 1));
            EXPECT_FALSE(writer.Commit());
            EXPECT_NE(writer.Error().find(fault.reason), std::string::npos) << writer.Error();
        }
        EXPECT_FALSE(AtomicFileWriter::ReplaceThrough(target, [](const std::string& temporary) {
            WriteFile(temporary, "new");
            return true;
        }));

        AtomicFileWriter::SetSyncCalls(nullptr);
        EXPECT_EQ(OpenDescriptors(), before);
        EXPECT_EQ(ReadFile(target), "old");
        EXPECT_EQ(Entries(dir.Path()), std::set<std::string>{"settings.ini"});
    }
}

// The rename has happened when the folder's sync fails: the new file is in place, and the write is
// still reported as failed, since the new name may not survive a power cut.
TEST(AtomicFileWriter, AFailedSyncOfTheFolderIsReported)
{
    ScratchFolder dir;
    const std::string target = dir.File("KZARN_User.ini");
    WriteFile(target, "old");
    const AtomicFileWriter::SyncCalls calls{&FolderFailingFsync, &::close};
    AtomicFileWriter::SetSyncCalls(&calls);
    std::string error;
    const bool replaced = AtomicFileWriter::Replace(target, "new", &error);
    AtomicFileWriter::SetSyncCalls(nullptr);
    EXPECT_FALSE(replaced);
    EXPECT_NE(error.find("its folder could not be synced"), std::string::npos) << error;
    EXPECT_EQ(ReadFile(target), "new");
    EXPECT_EQ(Entries(dir.Path()), std::set<std::string>{"KZARN_User.ini"});
}

TEST(AtomicFileWriter, ANewFileReplacesTheOldOneWithItsModeAndLeavesNothingBeside)
{
    ScratchFolder dir;
    const std::string target = dir.File("registry.reg");
    WriteFile(target, "old");
    ASSERT_EQ(::chmod(target.c_str(), 0640), 0);
    struct stat old {};
    ASSERT_EQ(::stat(target.c_str(), &old), 0);

    std::string error = "not cleared";
    ASSERT_TRUE(AtomicFileWriter::Replace(target, std::string("new\0content", 11), &error));
    EXPECT_EQ(error, "");
    EXPECT_EQ(ReadFile(target), std::string("new\0content", 11));
    EXPECT_EQ(ModeOf(target), 0640u);
    struct stat now {};
    ASSERT_EQ(::stat(target.c_str(), &now), 0);
    EXPECT_NE(now.st_ino, old.st_ino) << "written in place instead of replaced";
    EXPECT_EQ(Entries(dir.Path()), std::set<std::string>{"registry.reg"});

    // A new file takes 0666 less the umask; an explicit mode wins.
    const mode_t saved = ::umask(027);
    EXPECT_TRUE(AtomicFileWriter::Replace(dir.File("fresh.ini"), "x"));
    ::umask(saved);
    EXPECT_EQ(ModeOf(dir.File("fresh.ini")), 0640u);
    AtomicFileWriter explicitMode(dir.File("fresh.ini"));
    explicitMode.SetMode(0600);
    ASSERT_TRUE(explicitMode.Begin());
    ASSERT_TRUE(explicitMode.Commit());
    EXPECT_EQ(ModeOf(dir.File("fresh.ini")), 0600u);
    EXPECT_EQ(ReadFile(dir.File("fresh.ini")), "");
}

// A download stopped by a cancel, a size ceiling or a failed transfer never commits: the temporary
// file goes, whether discarded or abandoned, and the older file stays.
TEST(AtomicFileWriter, AWriteThatIsNotCommittedLeavesTheOldFile)
{
    ScratchFolder dir;
    const std::string target = dir.File("fw.bin");
    WriteFile(target, "older firmware");
    {
        AtomicFileWriter writer(target);
        ASSERT_TRUE(writer.Begin());
        ASSERT_TRUE(writer.Write("partial", 7));
        EXPECT_TRUE(TemporaryFiles::IsTemporaryName(fs::path(writer.TemporaryPath()).filename().string()));
        EXPECT_EQ(Entries(dir.Path()).size(), 2u);
        writer.Discard();
        EXPECT_FALSE(writer.Commit());
    }
    {
        AtomicFileWriter abandoned(target);
        ASSERT_TRUE(abandoned.Begin());
        ASSERT_TRUE(abandoned.Write("partial", 7));
    }
    EXPECT_EQ(ReadFile(target), "older firmware");
    EXPECT_EQ(Entries(dir.Path()), std::set<std::string>{"fw.bin"});
}

// Through a path, only a regular file that the writer made replaces the target; whatever a failed
// or wrong fill left is removed.
TEST(AtomicFileWriter, WritingThroughAPathAcceptsOnlyARegularFile)
{
    ScratchFolder dir;
    const std::string target = dir.File("backup.csv");
    WriteFile(target, "old");
    WriteFile(dir.File("elsewhere"), "not mine");
    struct Fill {
        const char* name;
        std::function<bool(const std::string&)> fill;
    };
    const Fill refused[] = {
        {"fails after writing", [](const std::string& t) { WriteFile(t, "half"); return false; }},
        {"writes nothing", [](const std::string&) { return true; }},
        {"makes a folder", [](const std::string& t) { fs::create_directories(t + "/inner"); return true; }},
        {"makes a link", [&dir](const std::string& t) { return ::symlink(dir.File("elsewhere").c_str(), t.c_str()) == 0; }},
        {"makes a FIFO", [](const std::string& t) { return ::mkfifo(t.c_str(), 0600) == 0; }},
    };
    for (const Fill& f : refused) {
        SCOPED_TRACE(f.name);
        std::string error;
        EXPECT_FALSE(AtomicFileWriter::ReplaceThrough(target, f.fill, std::nullopt, &error));
        EXPECT_NE(error.find(target), std::string::npos) << error;
        EXPECT_EQ(ReadFile(target), "old");
        EXPECT_EQ(Entries(dir.Path()), (std::set<std::string>{"backup.csv", "elsewhere"}));
    }
    EXPECT_EQ(ReadFile(dir.File("elsewhere")), "not mine");
    EXPECT_TRUE(AtomicFileWriter::ReplaceThrough(target, [](const std::string& t) {
        WriteFile(t, "new");
        return true;
    }));
    EXPECT_EQ(ReadFile(target), "new");
}

// A target that cannot be replaced (a folder holding files): reported, and nothing is changed.
TEST(AtomicFileWriter, ATargetThatCannotBeReplacedIsReported)
{
    ScratchFolder dir;
    const std::string target = dir.File("busy");
    fs::create_directories(target);
    WriteFile(target + "/inside", "kept");
    std::string error;
    EXPECT_FALSE(AtomicFileWriter::Replace(target, "new", &error));
    EXPECT_NE(error.find("could not replace"), std::string::npos) << error;
    EXPECT_EQ(ReadFile(target + "/inside"), "kept");
    EXPECT_EQ(Entries(dir.Path()), std::set<std::string>{"busy"});
}

} // namespace
