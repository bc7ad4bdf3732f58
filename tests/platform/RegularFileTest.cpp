#include "platform/RegularFile.h"

#include "tests/support/ScratchFolder.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <sys/stat.h>
#include <unistd.h>

namespace {

void WriteFile(const std::string& path, const std::string& text)
{
    std::ofstream(path, std::ios::binary) << text;
}

} // namespace

TEST(RegularFile, ReadsARegularFileWithinItsCeiling)
{
    ScratchFolder dir;
    WriteFile(dir.File("a.txt"), "hello\nworld");
    std::string text;
    EXPECT_EQ(RegularFile::ReadAll(dir.File("a.txt"), 11, text), RegularFile::ReadResult::Ok);
    EXPECT_EQ(text, "hello\nworld");
    EXPECT_EQ(RegularFile::ReadAll(dir.File("a.txt"), 10, text), RegularFile::ReadResult::TooLarge);
    EXPECT_TRUE(text.empty());
}

// A FIFO blocks an ordinary open until a writer comes; every entry point refuses it at once.
TEST(RegularFile, RefusesAFifoAFolderAndAMissingFileWithoutBlocking)
{
    ScratchFolder dir;
    ASSERT_EQ(::mkfifo(dir.File("pipe").c_str(), 0600), 0);
    for (const std::string& path : {dir.File("pipe"), dir.Path(), dir.File("missing")}) {
        SCOPED_TRACE(path);
        std::string text;
        EXPECT_FALSE(RegularFile::IsRegular(path));
        EXPECT_EQ(RegularFile::Open(path), RegularFile::kInvalid);
        EXPECT_EQ(RegularFile::OpenStream(path), nullptr);
        EXPECT_EQ(RegularFile::ReadAll(path, 100, text), RegularFile::ReadResult::Unreadable);
    }
}

TEST(RegularFile, StreamReadsThroughALink)
{
    ScratchFolder dir;
    WriteFile(dir.File("a.txt"), "abc");
    ASSERT_EQ(::symlink(dir.File("a.txt").c_str(), dir.File("link").c_str()), 0);
    EXPECT_TRUE(RegularFile::IsRegular(dir.File("link")));
    std::FILE* file = RegularFile::OpenStream(dir.File("link"));
    ASSERT_NE(file, nullptr);
    char buffer[4] = {};
    EXPECT_EQ(std::fread(buffer, 1, 3, file), 3u);
    EXPECT_STREQ(buffer, "abc");
    std::fclose(file);
}
