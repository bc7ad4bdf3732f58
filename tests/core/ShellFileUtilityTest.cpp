#include "core/ShellFileUtility.h"
#include "platform/ShellFileOperations.h"
#include "tests/core/CoreTempDir.h"

#include <algorithm>
#include <cstdlib>
#include <gtest/gtest.h>

namespace fs = std::filesystem;

TEST(ShellFileUtility, CopyWithRenameNeverReplacesACaseVariant)
{
    CoreTempDir dir;
    fs::create_directories(dir.Sub("to"));
    CoreTempDir::Write(dir.Sub("ABC.kpf"), "new");
    CoreTempDir::Write(dir.Sub("to/abc.kpf"), "old");

    EXPECT_TRUE(CopyOrMoveFile(dir.Sub("ABC.kpf"), dir.Sub("to/ABC.kpf"), TRUE, TRUE));
    EXPECT_EQ(CoreTempDir::Read(dir.Sub("to/abc.kpf")), "old");
    EXPECT_EQ(CoreTempDir::Read(dir.Sub("to/ABC (2).kpf")), "new");
    EXPECT_FALSE(fs::exists(dir.Sub("to/ABC.kpf")));
}

TEST(ShellFileUtility, CopyWithoutRenameReplacesTheExistingEntryUnderItsOwnName)
{
    CoreTempDir dir;
    fs::create_directories(dir.Sub("to"));
    CoreTempDir::Write(dir.Sub("ABC.kpf"), "new");
    CoreTempDir::Write(dir.Sub("to/abc.kpf"), "old");
    EXPECT_TRUE(CopyOrMoveFile(dir.Sub("ABC.kpf"), dir.Sub("to/ABC.kpf"), TRUE, FALSE));
    EXPECT_EQ(CoreTempDir::Read(dir.Sub("to/abc.kpf")), "new");
    EXPECT_FALSE(fs::exists(dir.Sub("to/ABC.kpf")));
    EXPECT_TRUE(fs::exists(dir.Sub("ABC.kpf")));
}

TEST(ShellFileUtility, MoveRenameOnItselfAndFailuresAreReported)
{
    CoreTempDir dir;
    CoreTempDir::Write(dir.Sub("a.kpf"), "a");
    fs::create_directories(dir.Sub("to"));
    EXPECT_TRUE(CopyOrMoveFilesToFolder({dir.Sub("a.kpf")}, dir.Sub("to"), FALSE, TRUE));
    EXPECT_FALSE(fs::exists(dir.Sub("a.kpf")));
    EXPECT_EQ(CoreTempDir::Read(dir.Sub("to/a.kpf")), "a");
    // Renaming a file to another letter case of its own name is a move onto itself.
    EXPECT_TRUE(CopyOrMoveFile(dir.Sub("to/a.kpf"), dir.Sub("to/A.kpf"), FALSE, FALSE));
    EXPECT_TRUE(fs::exists(dir.Sub("to/a.kpf")));
    // Copying a file onto itself would destroy it: refused.
    EXPECT_FALSE(CopyOrMoveFile(dir.Sub("to/a.kpf"), dir.Sub("to/a.kpf"), TRUE, FALSE));
    EXPECT_EQ(CoreTempDir::Read(dir.Sub("to/a.kpf")), "a");
    EXPECT_FALSE(CopyOrMoveFile(dir.Sub("missing"), dir.Sub("to/x"), TRUE, FALSE));
    EXPECT_FALSE(CopyOrMoveFile(dir.Sub("to/a.kpf"), dir.Sub("nofolder/x.kpf"), TRUE, FALSE));
}

TEST(ShellFileUtility, ShortTargetListDoesNothingAndFails)
{
    CoreTempDir dir;
    CoreTempDir::Write(dir.Sub("a"), "a");
    CoreTempDir::Write(dir.Sub("b"), "b");
    EXPECT_FALSE(CopyOrMoveFileList({dir.Sub("a"), dir.Sub("b")}, {dir.Sub("c")}, TRUE, FALSE));
    EXPECT_FALSE(fs::exists(dir.Sub("c")));
    EXPECT_TRUE(CopyOrMoveFileList({}, {}, TRUE, FALSE));
}

TEST(ShellFileUtility, DeleteToTrashAndPermanently)
{
    CoreTempDir dir;
    const std::string oldXdg = std::getenv("XDG_DATA_HOME") != nullptr ? std::getenv("XDG_DATA_HOME") : "";
    ::setenv("XDG_DATA_HOME", dir.Sub("data").c_str(), 1);
    CoreTempDir::Write(dir.Sub("p.kpf"), "1");
    CoreTempDir::Write(dir.Sub("q.kpf"), "2");
    EXPECT_FALSE(DeleteFileList({}, TRUE, FALSE));
    EXPECT_TRUE(DeleteFileList({dir.Sub("p.kpf")}, TRUE, FALSE));
    EXPECT_FALSE(fs::exists(dir.Sub("p.kpf")));
    EXPECT_EQ(CoreTempDir::Read(dir.Sub("data/Trash/files/p.kpf")), "1");
    const std::string info = CoreTempDir::Read(dir.Sub("data/Trash/info/p.kpf.trashinfo"));
    EXPECT_NE(info.find("Path=" + dir.Sub("p.kpf")), std::string::npos);
    // A second file of the same name gets its own name in the Trash.
    CoreTempDir::Write(dir.Sub("p.kpf"), "3");
    EXPECT_TRUE(DeleteFileList({dir.Sub("p.kpf")}, TRUE, FALSE));
    EXPECT_EQ(CoreTempDir::Read(dir.Sub("data/Trash/files/p (2).kpf")), "3");

    // With user interface a declined confirmation aborts; a missing file fails the list.
    ShellFileOperations::Current().SetConfirmDelete([](const std::vector<std::string>&, bool) { return false; });
    EXPECT_FALSE(DeleteFileList({dir.Sub("q.kpf")}, FALSE, TRUE));
    EXPECT_TRUE(fs::exists(dir.Sub("q.kpf")));
    ShellFileOperations::Current().SetConfirmDelete(nullptr);
    EXPECT_FALSE(DeleteFileList({dir.Sub("q.kpf"), dir.Sub("missing")}, FALSE, FALSE));
    EXPECT_FALSE(fs::exists(dir.Sub("q.kpf")));
    if (oldXdg.empty()) {
        ::unsetenv("XDG_DATA_HOME");
    } else {
        ::setenv("XDG_DATA_HOME", oldXdg.c_str(), 1);
    }
}

TEST(ShellFileUtility, CreateFolderTree)
{
    CoreTempDir dir;
    EXPECT_TRUE(CreateFolderTree(dir.Sub("a/b/c")));
    EXPECT_TRUE(fs::is_directory(dir.Sub("a/b/c")));
    CoreTempDir::Write(dir.Sub("file"), "x");
    EXPECT_FALSE(CreateFolderTree(dir.Sub("file/sub")));
    EXPECT_FALSE(fs::exists(dir.Sub("file/sub")));
    EXPECT_FALSE(CreateFolderTree("missing-root-zarn/a")); // a relative first level must exist
}

TEST(ShellFileUtility, WritableAppendOverwriteAndSizes)
{
    CoreTempDir dir;
    EXPECT_TRUE(IsFolderWritable(dir.Path()));
    EXPECT_FALSE(IsFolderWritable(dir.Sub("missing")));
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.Path()), fs::directory_iterator()), 0);

    EXPECT_TRUE(AppendTextToFile(dir.Sub("log"), "ab"));
    EXPECT_TRUE(AppendTextToFile(dir.Sub("log"), "cd"));
    EXPECT_EQ(CoreTempDir::Read(dir.Sub("log")), "abcd");
    EXPECT_FALSE(AppendTextToFile("", "x"));
    EXPECT_FALSE(AppendTextToFile(dir.Sub("missing/log"), "x"));

    CoreTempDir::Write(dir.Sub("secret"), std::string(10, 's'));
    OverwriteFile(dir.Sub("secret"), 3);
    EXPECT_EQ(CoreTempDir::Read(dir.Sub("secret")), std::string(10, '\xAA'));
    OverwriteFile(dir.Sub("secret"), 7);
    const std::string randomised = CoreTempDir::Read(dir.Sub("secret"));
    ASSERT_EQ(randomised.size(), 10u);
    EXPECT_EQ(randomised.substr(8), std::string(2, '\x0F')); // bytes from length - 4 on keep pass 5
    EXPECT_EQ(randomised[3], '\0');                            // values below 32768 leave high bytes 0
    CoreTempDir::Write(dir.Sub("tiny"), "abcd");
    OverwriteFile(dir.Sub("tiny"), 1);
    EXPECT_EQ(CoreTempDir::Read(dir.Sub("tiny")), "abcd");

    CoreTempDir::Write(dir.Sub("k"), std::string(2048, 'k'));
    EXPECT_DOUBLE_EQ(TotalFileSizeKB({dir.Sub("k"), dir.Sub("tiny"), dir.Sub("missing"), dir.Path()}),
                     2.0 + 4.0 / 1024.0);
}

TEST(ShellFileUtility, OpenCommandFollowsTheMimeData)
{
    CoreTempDir dir;
    fs::create_directories(dir.Sub("data/mime"));
    fs::create_directories(dir.Sub("data/applications"));
    fs::create_directories(dir.Sub("config"));
    CoreTempDir::Write(dir.Sub("data/mime/globs2"),
                       "50:application/pdf:*.pdf\n50:text/x-zz:*.zz\n50:text/x-yy:*.yy\n");
    CoreTempDir::Write(dir.Sub("config/mimeapps.list"),
                       "[Default Applications]\napplication/pdf=viewer.desktop\ntext/x-yy=gone.desktop\n");
    CoreTempDir::Write(dir.Sub("data/applications/viewer.desktop"), "[Desktop Entry]\nExec=viewer %f\n");
    const char* names[] = {"XDG_DATA_HOME", "XDG_DATA_DIRS", "XDG_CONFIG_HOME", "XDG_CONFIG_DIRS"};
    std::vector<std::pair<std::string, std::string>> saved;
    for (const char* n : names) {
        saved.emplace_back(n, std::getenv(n) != nullptr ? std::getenv(n) : "");
    }
    ::setenv("XDG_DATA_HOME", dir.Sub("data").c_str(), 1);
    ::setenv("XDG_DATA_DIRS", dir.Sub("none").c_str(), 1);
    ::setenv("XDG_CONFIG_HOME", dir.Sub("config").c_str(), 1);
    ::setenv("XDG_CONFIG_DIRS", dir.Sub("none").c_str(), 1);
    EXPECT_EQ(GetOpenCommandForFile("pdf"), 3);
    EXPECT_EQ(GetOpenCommandForFile(".PDF"), 3);
    EXPECT_EQ(GetOpenCommandForFile("unknown"), 0);
    EXPECT_EQ(GetOpenCommandForFile("zz"), 1);
    EXPECT_EQ(GetOpenCommandForFile("yy"), 2);
    for (const auto& [n, v] : saved) {
        if (v.empty()) {
            ::unsetenv(n.c_str());
        } else {
            ::setenv(n.c_str(), v.c_str(), 1);
        }
    }
}

TEST(ShellFileUtility, PatternScansPutTheCameraFolderFirst)
{
    CoreTempDir dir;
    fs::create_directories(dir.Sub("DCIM/100"));
    fs::create_directories(dir.Sub("other"));
    CoreTempDir::Write(dir.Sub("DCIM/100/IMG_1.JPG"), "");
    CoreTempDir::Write(dir.Sub("top.jpg"), "");
    CoreTempDir::Write(dir.Sub("other/o.jpg"), "");
    CoreTempDir::Write(dir.Sub("other/o.txt"), "");

    std::vector<std::string> out;
    EXPECT_TRUE(CollectImageFolders(dir.Path(), out, {"*.jpg"}, TRUE, TRUE));
    EXPECT_EQ(out, (std::vector<std::string>{dir.Sub("DCIM/100/IMG_1.JPG"), dir.Sub("top.jpg"),
                                             dir.Sub("other/o.jpg")}));

    out.clear();
    EXPECT_TRUE(ScanFolderByPatterns(dir.Sub("other"), out, {"o", "*.txt"}, FALSE, FALSE));
    EXPECT_EQ(out, (std::vector<std::string>{dir.Sub("other/o.txt")}));
    out.clear();
    EXPECT_TRUE(ScanFolderByPatterns(dir.Sub("other"), out, {}, FALSE, FALSE)); // no pattern: every entry
    EXPECT_EQ(out.size(), 2u);
    EXPECT_FALSE(ScanFolderByPatterns(dir.Sub("missing"), out, {"*.*"}, TRUE, TRUE));
}
