#include "core/ShellPathUtility.h"
#include "platform/CodePage.h"

#include <gtest/gtest.h>

TEST(ShellPathUtility, EndsWithBackslashCases)
{
    const struct {
        const char* path;
        BOOL expected;
    } cases[] = {{"\\", TRUE}, {"a\\", FALSE}, {"C:\\", TRUE}, {"C:\\dir", FALSE}, {"/", TRUE},
                 {"/home/u/", TRUE}, {"", FALSE}};
    for (const auto& c : cases) {
        EXPECT_EQ(EndsWithBackslash(c.path), c.expected) << c.path;
    }
}

TEST(ShellPathUtility, DoubleByteTrailBytesAreNeverSeparators)
{
    CodePage::SetAnsi(932);
    // 0x83 0x5C is one katakana character whose trail byte equals the backslash.
    const std::string name = "C:\\dir\\\x83\x5C";
    EXPECT_FALSE(EndsWithBackslash(name));
    EXPECT_EQ(GetFileNameFromPath(name), "\x83\x5C");
    EXPECT_EQ(GetFileNameFromPath("\x83\x5Cx"), "\x83\x5Cx");
    EXPECT_EQ(GetParentFolder("C:\\a\x83\x5C\\b"), "C:\\a\x83\x5C");
    CodePage::SetAnsi(CP_UTF8);
    EXPECT_TRUE(EndsWithBackslash(name)); // in UTF-8 the same bytes end with a backslash
}

TEST(ShellPathUtility, NamesTitlesAndExtensions)
{
    EXPECT_EQ(GetFileNameFromPath("C:\\"), "C:\\");
    EXPECT_EQ(GetFileNameFromPath("C:\\dir\\"), "");
    EXPECT_EQ(GetFileNameFromPath("file.kpf"), "file.kpf");
    EXPECT_EQ(GetFileNameFromPath("/home/u/file.kpf"), "file.kpf");
    EXPECT_EQ(GetFileTitleFromPath("C:\\dir\\name.kpf"), "name");
    EXPECT_EQ(GetFileTitleFromPath("C:\\a.b\\readme"), "");
    EXPECT_EQ(GetFileTitleFromPath("/x/readme"), "readme");
    EXPECT_EQ(GetFileExtension("/x/a.tar.gz"), "gz");
    EXPECT_EQ(GetFileExtension("/x/readme"), "");
}

TEST(ShellPathUtility, ParentFolders)
{
    const struct {
        const char* path;
        const char* parent;
    } cases[] = {{"C:\\dir", "C:\\"}, {"C:\\dir\\sub", "C:\\dir"}, {"C:\\", ""}, {"name", ""},
                 {"/dir", "/"},       {"/dir/sub", "/dir"},         {"/", ""},    {"/dir/", "/dir"}};
    for (const auto& c : cases) {
        EXPECT_EQ(GetParentFolder(c.path), c.parent) << c.path;
    }
}

TEST(ShellPathUtility, FolderComparisonAndImageTypes)
{
    EXPECT_EQ(CompareFolders("/Home/U", "/home/u/"), 0);
    EXPECT_LT(CompareFolders("/a", "/b"), 0);
    EXPECT_EQ(GetImageTypeFromExtension("x.JPEG"), 0);
    EXPECT_EQ(GetImageTypeFromExtension("x.jfif"), 0);
    EXPECT_EQ(GetImageTypeFromExtension("x.Tif"), 1);
    EXPECT_EQ(GetImageTypeFromExtension("x.bmp"), 2);
    EXPECT_EQ(GetImageTypeFromExtension("x.png"), -1);
    const char16_t units[] = {u'a', u'\u00E9', 0, u'z'};
    EXPECT_EQ(Utf16ToMbcs(4, units), "a\xC3\xA9");
    EXPECT_EQ(Utf16ToMbcs(1, units), "a");
}
