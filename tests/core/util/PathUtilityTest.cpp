#include "core/util/CFolderScanner.h"
#include "core/util/CodePageUtility.h"
#include "core/util/PathUtility.h"
#include "platform/CodePage.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

class TempDir {
public:
    TempDir()
    {
        std::string pattern = (fs::temp_directory_path() / "zarn-path-XXXXXX").string();
        path_ = ::mkdtemp(pattern.data());
    }
    ~TempDir() { fs::remove_all(path_); }
    const std::string& Path() const { return path_; }

private:
    std::string path_;
};

void Touch(const fs::path& p)
{
    std::ofstream(p) << "x";
}

} // namespace

TEST(PathUtility, FolderAndNameParts)
{
    EXPECT_EQ(GetFolderPart("C:file.txt"), "C");
    EXPECT_EQ(GetNamePart("C:file.txt"), "file.txt");
    EXPECT_EQ(GetFolderPart("file.txt"), "file.txt");
    EXPECT_EQ(GetNamePart("file.txt"), "file.txt");
    EXPECT_EQ(GetFolderPart("/a/b/c.kpf"), "/a/b");
    EXPECT_EQ(GetNamePart("/a/b\\c.kpf"), "c.kpf");
}

TEST(PathUtility, SplitPathExtCases)
{
    const struct {
        const char* path;
        const char* folder;
        const char* title;
        const char* ext;
    } cases[] = {
        {"C:\\dir\\name.tar.gz", "C:\\dir\\", "name.tar", "gz"},
        {"C:\\dir\\README", "C:\\dir\\", "", ""},
        {"/home/u/x.JPG", "/home/u/", "x", "JPG"},
        {"plain.txt", "", "plain", "txt"},
    };
    for (const auto& c : cases) {
        std::string folder = "old";
        std::string title = "old";
        std::string ext = "old";
        EXPECT_EQ(SplitPathExt(c.path, folder, title, ext), 1);
        EXPECT_EQ(folder, c.folder) << c.path;
        EXPECT_EQ(title, c.title) << c.path;
        EXPECT_EQ(ext, c.ext) << c.path;
    }
    std::string folder = "old";
    std::string name = "old";
    EXPECT_EQ(SplitFolderAndName("name.txt", folder, name), 1);
    EXPECT_EQ(folder, "");
    EXPECT_EQ(name, "");
    SplitFolderName("/a/b.txt", folder, name);
    EXPECT_EQ(folder, "/a/");
    EXPECT_EQ(name, "b.txt");
}

TEST(PathUtility, JoinAndMakePath)
{
    EXPECT_EQ(JoinPath("C:\\dir\\", "a.txt", false), "C:\\dir\\a.txt");
    EXPECT_EQ(JoinPath("/dir", "sub", true), "/dir/sub/");
    EXPECT_EQ(JoinPath("/dir/", "a", false), "/dir/a");
    EXPECT_EQ(JoinPath("", "a", false), "");
    EXPECT_EQ(JoinPath("/dir", "", false), "");
    EXPECT_EQ(MakePath("/dir", "name", ""), "/dir/name.");
    EXPECT_EQ(JoinPathExt("/dir/", "name", "kpf"), "/dir/name.kpf");
    EXPECT_EQ(MakePath("", "name", "kpf"), "");
}

TEST(PathUtility, FileTestsAndFolderCreation)
{
    TempDir dir;
    const std::string file = dir.Path() + "/f";
    Touch(file);
    EXPECT_TRUE(FileExists(file));
    EXPECT_TRUE(FileExists(dir.Path()));
    EXPECT_FALSE(IsDirectory(file));
    EXPECT_TRUE(IsDirectory(dir.Path()));
    EXPECT_FALSE(FileExists(dir.Path() + "/missing"));

    EXPECT_TRUE(EnsureFolderExists(dir.Path() + "/a/b"));
    EXPECT_TRUE(IsDirectory(dir.Path() + "/a/b"));
    EXPECT_FALSE(EnsureFolderExists(file + "/below-a-file"));
    EXPECT_FALSE(EnsureFolderExists(""));
    EXPECT_FALSE(GetModuleFolder().empty());
    EXPECT_TRUE(IsDirectory(GetModuleFolder()));
}

TEST(PathUtility, FolderScannerMatchesExtensionsIgnoringCase)
{
    TempDir dir;
    Touch(dir.Path() + "/x.JPG");
    Touch(dir.Path() + "/x.jpeg");
    fs::create_directories(dir.Path() + "/y.jpg/deeper");
    Touch(dir.Path() + "/y.jpg/deeper/z.tif");
    Touch(dir.Path() + "/y.jpg/w.jpg");

    std::vector<std::string> flat{"kept"};
    EXPECT_EQ(CFolderScanner().ScanFolder(dir.Path(), flat, {"jpg", "tif"}, 0), 1);
    EXPECT_EQ(flat, (std::vector<std::string>{"kept", dir.Path() + "/x.JPG"}));

    std::vector<std::string> deep;
    CFolderScanner().ScanFolder(dir.Path(), deep, {"jpg", "tif"}, 1);
    std::sort(deep.begin(), deep.end());
    EXPECT_EQ(deep, (std::vector<std::string>{dir.Path() + "/x.JPG", dir.Path() + "/y.jpg/deeper/z.tif",
                                              dir.Path() + "/y.jpg/w.jpg"}));

    std::vector<std::string> none;
    EXPECT_EQ(CFolderScanner().ScanFolder(dir.Path() + "/missing", none, {"jpg"}, 1), 1);
    EXPECT_TRUE(none.empty());
}

TEST(CodePageUtility, ConversionsRoundTripAndFailCleanly)
{
    EXPECT_EQ(MultiByteToWideString("a\xC3\xA9", CP_UTF8), u"a\u00E9");
    EXPECT_EQ(MultiByteToWideString("\xC3", CP_UTF8), u""); // a cut sequence fails
    EXPECT_EQ(WideToMultiByteString(u"a\u00E9", CP_UTF8), "a\xC3\xA9");
    EXPECT_EQ(WideToMultiByteString(std::u16string(1, u'\xD800'), CP_UTF8), ""); // unpaired surrogate
    EXPECT_EQ(MultiByteToWideString("\x83\x5C", 932), u"\u30BD"); // katakana SO, trail byte 0x5C
    EXPECT_EQ(WideToMultiByteString(u"\u30BD", 932), "\x83\x5C");
    EXPECT_EQ(WideToMultiByteString(u"\u00E9\u4E00", 932), ""); // no default character
    EXPECT_EQ(Utf8ToAnsiString("caf\xC3\xA9"), "caf\xC3\xA9");
}
