#include "core/util/CIniFile.h"

#include "tests/support/ScratchFolder.h"

#include <climits>
#include <fstream>
#include <gtest/gtest.h>

#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

namespace {

TEST(CIniFileTest, LooksUpKeysByTheRulesOfTheProgramsIniFiles)
{
    CIniFile file;
    file.Parse("; comment\r\n"
               "orphan=1\r\n"
               "[Level]\r\n"
               "  CPM = 12  \r\n"
               "cpm=99\r\n"
               "Empty=\r\n"
               "[wizard]\n"
               "ImgDir=/home/u/My Pictures\n"
               "[LEVEL]\n"
               "DRM=40\n");

    EXPECT_EQ(file.GetInt("level", "cpm", -1), 12) << "names ignore case, blanks are trimmed, first key wins";
    EXPECT_EQ(file.GetInt("Level", "DRM", -1), 40) << "a section given twice is searched in both parts";
    EXPECT_EQ(file.GetInt("Level", "Missing", -7), -7);
    EXPECT_EQ(file.GetInt("Level", "Empty", -7), 0) << "a present key without digits reads as 0";
    EXPECT_EQ(file.GetInt("Nowhere", "orphan", -1), -1);
    EXPECT_EQ(file.GetString("Wizard", "ImgDir", "x"), "/home/u/My Pictures");
    EXPECT_EQ(file.GetString("Wizard", "None", "fallback"), "fallback");
    EXPECT_FALSE(file.HasKey("Level", "orphan"));
}

TEST(CIniFileTest, IntegersAreDecimalWithAnOptionalSign)
{
    const struct {
        const char* text;
        int value;
    } cases[] = {
        {"118", 118},          {"-5", -5},          {"+7", 7},
        {"12abc", 12},         {"abc", 0},          {"", 0},
        {"0x1F", 0},           {"- 3", 0},          {"99999999999999", INT_MAX},
        {"-99999999999999", INT_MIN}, {"2147483647", INT_MAX}, {"-2147483648", INT_MIN},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(CIniFile::ParseInt(c.text), c.value) << '"' << c.text << '"';
    }
}

TEST(CIniFileTest, TextsAreCutAt1023Characters)
{
    CIniFile file;
    file.Parse("[W]\nLong=" + std::string(2000, 'a') + "\n");
    EXPECT_EQ(file.GetString("W", "Long", ""), std::string(1023, 'a'));
    EXPECT_EQ(file.GetString("W", "Absent", std::string(1500, 'b')).size(), 1023u);
}

TEST(CIniFileTest, WritingKeepsOtherLinesAndPlacesNewKeysInTheirSection)
{
    CIniFile file;
    file.Parse("; kept\r\n[Level]\r\nCPM=20\r\nOther=x\r\n\r\n[Tail]\r\nT=1\r\n");
    file.SetInt("level", "cpm", 30);
    file.SetInt("Level", "CNT", 118);
    file.SetString("Wizard", "ImgDir", "/a/b\nInjected=1");

    EXPECT_EQ(file.Text(), "; kept\r\n[Level]\r\nCPM=30\r\nOther=x\r\nCNT=118\r\n\r\n[Tail]\r\nT=1\r\n"
                           "\r\n[Wizard]\r\nImgDir=/a/b\r\n");
    EXPECT_FALSE(file.HasKey("Wizard", "Injected")) << "a line break in a value must not add a key";
}

TEST(CIniFileTest, SavedFileReadsBackAndFailuresAreReported)
{
    ScratchFolder folder;
    CIniFile file;
    file.SetInt("Level", "CPM", -3);
    file.SetString("Wizard", "ImgDir", "/photos");
    ASSERT_TRUE(file.Save(folder.File("u.ini")));

    CIniFile back;
    ASSERT_TRUE(back.Load(folder.File("u.ini")));
    EXPECT_EQ(back.GetInt("Level", "CPM", 0), -3);
    EXPECT_EQ(back.GetString("Wizard", "ImgDir", ""), "/photos");

    EXPECT_FALSE(file.Save(folder.File("missing/u.ini")));
    EXPECT_FALSE(back.Load(folder.File("missing/u.ini")));
    EXPECT_EQ(back.GetInt("Level", "CPM", 5), 5) << "a failed load leaves an empty document";

    // A folder where the file should be fails as a missing file does.
    std::filesystem::create_directories(folder.File("dir.ini"));
    ASSERT_TRUE(back.Load(folder.File("u.ini")));
    EXPECT_FALSE(back.Load(folder.File("dir.ini")));
    EXPECT_EQ(back.GetInt("Level", "CPM", 5), 5);

    // So do a FIFO (refused without waiting for a writer) and a file over the size ceiling.
    ASSERT_EQ(::mkfifo(folder.File("fifo.ini").c_str(), 0600), 0);
    EXPECT_FALSE(back.Load(folder.File("fifo.ini")));
    ASSERT_TRUE(file.Save(folder.File("big.ini")));
    ASSERT_EQ(::truncate(folder.File("big.ini").c_str(), CIniFile::kMaxFileBytes + 1), 0);
    EXPECT_FALSE(back.Load(folder.File("big.ini")));
}

} // namespace
