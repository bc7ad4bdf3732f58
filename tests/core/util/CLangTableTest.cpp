#include "core/util/CLangTable.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <set>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// A UTF-16LE file image of the text (ASCII and BMP characters given as UTF-16 units).
std::string Utf16(const std::u16string& text)
{
    std::string bytes;
    for (const char16_t u : text) {
        bytes += static_cast<char>(u & 0xFF);
        bytes += static_cast<char>(u >> 8);
    }
    return bytes;
}

class LangTableTest : public ::testing::Test {
protected:
    void SetUp() override { CLangTable::Free(); }
    void TearDown() override { CLangTable::Free(); }
    CLangTable& Table() { return *CLangTable::GetInstance(); }
};

} // namespace

TEST_F(LangTableTest, IdsMustTakeExactlyFiveBytes)
{
    Table().LoadFromBytes(Utf16(u"01000\tTitle\n"
                                u"1001 \tBlank-padded\n"
                                u"1002\tFour digits\n"
                                u"001003\tSix digits\n"
                                u"12a45\tCut id\n"
                                u"no tab at all\n"
                                u"\n"
                                u"00020\tA\tB\r\n"));
    EXPECT_EQ(GetLangString(1000), "Title");
    EXPECT_EQ(GetLangString(1001), "Blank-padded");
    EXPECT_EQ(GetLangString(1002), "");
    EXPECT_EQ(GetLangString(1003), "");
    EXPECT_EQ(GetLangString(12), "Cut id");
    EXPECT_EQ(GetLangString(20), "A\tB"); // further TABs belong to the text, CR LF is stripped
}

TEST_F(LangTableTest, EscapesAndFirstEntryWins)
{
    Table().LoadFromBytes(Utf16(u"00001\tA\\nB\n"
                                u"00002\tC:\\temp\n"
                                u"00003\tx\\y\n"
                                u"00004\t\n"
                                u"00004\tlater\n"
                                u"00001\tlater\n"));
    EXPECT_EQ(GetLangString(1), "A\nB");
    EXPECT_EQ(GetLangString(2), "C:\temp");
    EXPECT_EQ(GetLangString(3), "x\\y");
    EXPECT_EQ(GetLangString(4), "");
    EXPECT_EQ(Table().Count(), 4u);
    // A second load keeps the texts already present.
    Table().LoadFromBytes(Utf16(u"00003\tnew\n00005\tfive\n"));
    EXPECT_EQ(GetLangString(3), "x\\y");
    EXPECT_EQ(GetLangString(5), "five");
}

TEST_F(LangTableTest, LongLinesAreReadInPiecesOf1023Units)
{
    // 1100 units: the first 1023 form one line, the other 77 a line of their own, which here has its
    // first TAB at position 5 and so is an entry.
    std::u16string first = u"00007\t" + std::u16string(1017, u'x');
    std::u16string rest = u"00008\t" + std::u16string(71, u'y');
    ASSERT_EQ(first.size() + rest.size(), 1100u);
    Table().LoadFromBytes(Utf16(first + rest + u"\n"));
    EXPECT_EQ(GetLangString(7), std::string(1017, 'x'));
    EXPECT_EQ(GetLangString(8), std::string(71, 'y'));
}

TEST_F(LangTableTest, ByteOrderMarkSpoilsTheFirstLineAndNonAsciiConverts)
{
    Table().LoadFromBytes(Utf16(u"\uFEFF00001\tfirst\n00002\tcaf\u00E9\n") + "X"); // odd last byte
    EXPECT_EQ(GetLangString(1), "");
    EXPECT_EQ(GetLangString(2), "caf\xC3\xA9");
}

TEST_F(LangTableTest, LoadReportsOnlyAnUnopenableFile)
{
    EXPECT_EQ(Table().Load("/nonexistent/String.txt"), 0);
    const std::string path = (std::filesystem::temp_directory_path() / "zarn-empty-strings.txt").string();
    std::ofstream(path).close();
    EXPECT_EQ(Table().Load(path), 1);
    std::filesystem::remove(path);
    // A folder where the file should be is not an empty file.
    const std::filesystem::path folder = std::filesystem::temp_directory_path() / "zarn-strings-folder" / "String.txt";
    std::filesystem::create_directories(folder);
    EXPECT_EQ(Table().Load(folder.string()), 0);
    // Neither is a FIFO (refused without waiting for a writer), nor a file over the size ceiling.
    const std::string fifo = (folder.parent_path() / "fifo.txt").string();
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    EXPECT_EQ(Table().Load(fifo), 0);
    const std::string big = (folder.parent_path() / "big.txt").string();
    std::ofstream(big) << "0";
    ASSERT_EQ(::truncate(big.c_str(), CLangTable::kMaxFileBytes + 1), 0);
    EXPECT_EQ(Table().Load(big), 0);
    std::filesystem::remove_all(folder.parent_path());
}

TEST_F(LangTableTest, LookupAfterFreeFindsAnEmptyTable)
{
    Table().LoadFromBytes(Utf16(u"00001\tx\n"));
    CLangTable::GetInstance()->Clear();
    EXPECT_EQ(GetLangString(1), "");
    Table().LoadFromBytes(Utf16(u"00001\tx\n"));
    CLangTable::Free();
    EXPECT_EQ(GetLangString(1), "");
}

TEST_F(LangTableTest, ShippedTextFileHasDistinctCommaFreeBackupTexts)
{
    ASSERT_EQ(Table().Load(std::string(ZARN_SOURCE_DIR) + "/data/String.txt"), 1);
    std::set<std::string> seen;
    std::vector<int> ids;
    for (int id = 7100; id <= 7176; ++id) {
        ids.push_back(id);
    }
    ids.push_back(7199);
    for (const int id : ids) {
        const std::string text = GetLangString(id);
        EXPECT_FALSE(text.empty()) << id;
        EXPECT_EQ(text.find(','), std::string::npos) << id;
        EXPECT_TRUE(seen.insert(text).second) << id;
    }
    for (const int id : {10, 11, 132, 1000, 1300, 7000, 7026, 10004, 10014, 10024, 50117, 50118}) {
        EXPECT_FALSE(GetLangString(id).empty()) << id;
    }
}
