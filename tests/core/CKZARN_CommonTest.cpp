#include "core/CKZARN_Common.h"
#include "core/util/CLangTable.h"
#include "platform/SystemFolders.h"
#include "profilelib/ZarnLib_ProfileFile.h"
#include "tests/core/CoreTempDir.h"

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <cerrno>
#include <cstring>
#include <gtest/gtest.h>
#include <map>

namespace fs = std::filesystem;

namespace {

void EnsureApplication()
{
    if (QApplication::instance() == nullptr) {
        static int argc = 1;
        static char name[] = "test_core";
        static char* argv[] = {name, nullptr};
        new QApplication(argc, argv);
    }
}

std::string Utf16(const std::u16string& text)
{
    std::string bytes;
    for (const char16_t u : text) {
        bytes += static_cast<char>(u & 0xFF);
        bytes += static_cast<char>(u >> 8);
    }
    return bytes;
}

// A dialog with its controls by id, as the program's dialogs keep them.
class TestDialog : public ControlHost {
public:
    TestDialog()
    {
        controls[1] = new QPushButton("old", &window);
        controls[1147] = new QLabel("label", &window);
    }
    QWidget* HostWidget() override { return &window; }
    QWidget* FindControl(int id) const override
    {
        const auto it = controls.find(id);
        return it == controls.end() ? nullptr : it->second;
    }
    QWidget window;
    std::map<int, QWidget*> controls;
};

class CommonTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        EnsureApplication();
        SystemFolders::SetProgramFolderOverride(dir.Sub("program"));
        SystemFolders::SetLocalAppDataOverride(dir.Sub("appdata"));
        fs::create_directories(dir.Sub("program"));
        CLangTable::Free();
        CLangTable::GetInstance()->LoadFromBytes(
            Utf16(u"00132\t---\n01300\tAbout\n00010\tOK\n10004\tPort closed\n00020\tTwenty\n00021\tTwenty-one\n"));
    }
    void TearDown() override
    {
        SystemFolders::SetProgramFolderOverride("");
        SystemFolders::SetLocalAppDataOverride("");
        CLangTable::Free();
    }
    static void WriteProfile(const std::string& path, short version, short subVersion)
    {
        ZarnLib_Profile profile;
        profile.SetVersion(version);
        profile.SetSubVersion(subVersion);
        const ZarnLibString file(path.c_str());
        ASSERT_EQ(SaveProfile(&file, &profile), 0) << path;
    }

    CoreTempDir dir;
};

} // namespace

TEST_F(CommonTest, ProfileNameRules)
{
    const struct {
        const char* name;
        BOOL valid;
    } cases[] = {{"abc", TRUE}, {"", FALSE}, {"a,b", FALSE}, {"a/b", FALSE}, {"a?b", FALSE}, {"caf\xC3\xA9", FALSE}};
    for (const auto& c : cases) {
        EXPECT_EQ(CKZARN_Common::IsValidProfileName(c.name), c.valid) << c.name;
    }
    EXPECT_TRUE(CKZARN_Common::IsValidProfileName(std::string(31, 'a')));
    EXPECT_FALSE(CKZARN_Common::IsValidProfileName(std::string(32, 'a')));
    EXPECT_TRUE(CKZARN_Common::IsAsciiText(""));
    EXPECT_TRUE(CKZARN_Common::IsDefaultProfileName("camera_default"));
}

TEST_F(CommonTest, FoldersAndProfilePaths)
{
    EXPECT_EQ(CKZARN_Common::GetFolderPath(5), dir.Sub("program") + "/");
    EXPECT_EQ(CKZARN_Common::GetFolderPath(0), dir.Sub("appdata/Kestrin/Zarndesk"));
    EXPECT_EQ(CKZARN_Common::GetFolderPath(2), dir.Sub("appdata/Kestrin/Zarndesk/Profile"));
    EXPECT_TRUE(fs::is_directory(dir.Sub("appdata/Kestrin/Zarndesk/Profile")));
    EXPECT_EQ(CKZARN_Common::GetFolderPath(4), dir.Sub("appdata/Kestrin/Zarndesk/Backup"));
    EXPECT_EQ(CKZARN_Common::GetFolderPath(9), "");
    // A lower-case default name points into the program folder, but is looked for among the user's.
    EXPECT_EQ(CKZARN_Common::GetProfilePath("camera_default"), dir.Sub("program") + "//camera_default.kpf");
    EXPECT_EQ(CKZARN_Common::GetProfilePath("mine"), dir.Sub("appdata/Kestrin/Zarndesk/Profile/mine.kpf"));
    CoreTempDir::Write(dir.Sub("program/camera_default.kpf"), "x");
    EXPECT_FALSE(CKZARN_Common::ProfileFileExists("camera_default"));
    CoreTempDir::Write(dir.Sub("appdata/Kestrin/Zarndesk/Profile/Mine.kpf"), "x");
    EXPECT_TRUE(CKZARN_Common::ProfileFileExists("mine"));
}

TEST_F(CommonTest, ListingFiltersByVersionAndName)
{
    const std::string profiles = CKZARN_Common::GetFolderPath(2) + "/";
    WriteProfile(dir.Sub("program/CAMERA_DEFAULT.kpf"), 3, 1);
    WriteProfile(profiles + "v20.kpf", 2, 0);
    WriteProfile(profiles + "v30.kpf", 3, 0);
    WriteProfile(profiles + "v31.kpf", 3, 1);
    WriteProfile(profiles + "caf\xC3\xA9.kpf", 3, 1);
    CoreTempDir::Write(profiles + "broken.kpf", "not a profile");

    std::vector<std::string> names{"stale"};
    CKZARN_Common::ListProfileNames(&names, 1, 0, 0);
    ASSERT_FALSE(names.empty());
    EXPECT_EQ(names.front(), "CAMERA_DEFAULT");
    std::sort(names.begin() + 1, names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"CAMERA_DEFAULT", "v20", "v30", "v31"}));
    CKZARN_Common::ListProfileNames(&names, 0, 1, 0);
    EXPECT_EQ(names, (std::vector<std::string>{"v20"}));
    CKZARN_Common::ListProfileNames(&names, 0, 2, 2);
    EXPECT_EQ(names, (std::vector<std::string>{"v31"}));
    CKZARN_Common::ListProfileNames(nullptr, 1, 0, 0);
    EXPECT_TRUE(CKZARN_Common::CanLoadProfile("v30"));
    EXPECT_FALSE(CKZARN_Common::CanLoadProfile("broken"));
}

TEST_F(CommonTest, VersionConversionIsSafe)
{
    const std::string path = CKZARN_Common::GetFolderPath(2) + "/p.kpf";
    WriteProfile(path, 2, 0);
    const std::string before = CoreTempDir::Read(path);
    EXPECT_EQ(CKZARN_Common::ConvertProfileVersion(path, 4, 0), -10000);
    EXPECT_EQ(CoreTempDir::Read(path), before);
    EXPECT_EQ(CKZARN_Common::ConvertProfileVersion(path, 3, 1), 0);
    short version = 0;
    short sub = 0;
    EXPECT_EQ(CKZARN_Common::ReadProfileVersion(path, &version, &sub), 0);
    EXPECT_EQ(version, 3);
    EXPECT_EQ(sub, 1);
    EXPECT_EQ(CKZARN_Common::ConvertProfileVersion(dir.Sub("missing.kpf"), 3, 0), -1);
    EXPECT_FALSE(fs::exists(dir.Sub("missing.kpf")));
    EXPECT_NE(CKZARN_Common::ReadProfileVersion(dir.Sub("missing.kpf"), &version, &sub), 0);
    EXPECT_EQ(version, -1);
    EXPECT_EQ(sub, -1);
}

TEST_F(CommonTest, ErrorMessages)
{
    EXPECT_EQ(CKZARN_Common::GetErrorMessage(0x20000000u), "Port closed");
    EXPECT_EQ(CKZARN_Common::GetErrorMessage(0x20000007u), ""); // text not in this table
    EXPECT_EQ(CKZARN_Common::GetErrorMessage(0x20000010u), "Unknown Error (20000010)");
    EXPECT_EQ(CKZARN_Common::GetErrorMessage(EACCES), std::string(std::strerror(EACCES)) + "\r\n");
}

TEST_F(CommonTest, DialogLayoutAppliesRowsUpToTheEndRowOrTableEnd)
{
    TestDialog dialog;
    const DialogLayoutItem table[] = {
        {100, 1300, 0, 0, 430, 156}, {1, 10, 306, 46, 88, 23}, {1147, 0, 5, 6, 70, 20}, {555, 10, 0, 0, 1, 1}};
    // No end row: the span bounds the table.
    EXPECT_EQ(CKZARN_Common::ApplyDialogLayout(&dialog, table, FALSE), 1);
    EXPECT_EQ(dialog.window.windowTitle(), "About");
    EXPECT_EQ(dialog.window.size(), QSize(430, 156));
    auto* ok = static_cast<QPushButton*>(dialog.controls[1]);
    EXPECT_EQ(ok->text(), "OK");
    EXPECT_EQ(ok->geometry(), QRect(306, 46, 88, 23));
    auto* label = static_cast<QLabel*>(dialog.controls[1147]);
    EXPECT_EQ(label->text(), "label");
    EXPECT_EQ(label->geometry(), QRect(5, 6, 70, 20));

    // A first row naming a control sets no caption and no size; the end row stops the table.
    TestDialog second;
    const DialogLayoutItem rows[] = {{1147, 0, 1, 2, 3, 4}, {0, 0, 0, 0, 0, 0}, {1, 10, 9, 9, 9, 9}};
    CKZARN_Common::ApplyDialogLayout(&second, rows, FALSE);
    EXPECT_EQ(second.window.windowTitle(), "");
    EXPECT_EQ(second.controls[1147]->geometry(), QRect(1, 2, 3, 4));
    EXPECT_EQ(static_cast<QPushButton*>(second.controls[1])->text(), "old");
}

TEST_F(CommonTest, ComboHelpers)
{
    QComboBox combo;
    const ComboTextItem rows[] = {{20, 5}, {21, 7}, {0, 0}, {20, 9}};
    CKZARN_Common::FillComboFromTable(&combo, rows);
    ASSERT_EQ(combo.count(), 2);
    EXPECT_EQ(combo.itemText(1), "Twenty-one");
    EXPECT_EQ(CKZARN_Common::GetComboItemData(&combo, 1), 7);
    EXPECT_EQ(CKZARN_Common::GetComboItemData(&combo, 2), -1);
    EXPECT_EQ(CKZARN_Common::GetComboItemData(&combo, -1), -1);
    EXPECT_EQ(CKZARN_Common::FindComboIndexByData(&combo, 7), 1);
    EXPECT_EQ(CKZARN_Common::FindComboIndexByData(&combo, 8), -1);
    combo.setCurrentIndex(0);
    CKZARN_Common::SelectComboItemByData(&combo, 8);
    EXPECT_EQ(combo.currentIndex(), 0);
    CKZARN_Common::SelectComboItemByData(&combo, 7);
    EXPECT_EQ(combo.currentIndex(), 1);

    CKZARN_Common::FillShutterTimeCombo(&combo);
    ASSERT_EQ(combo.count(), 28);
    EXPECT_EQ(combo.itemText(0), "30m");
    EXPECT_EQ(combo.itemText(27), "64000");
    EXPECT_EQ(CKZARN_Common::GetComboItemData(&combo, 27), 81);
    CKZARN_Common::FillShutterAngleCombo(&combo);
    EXPECT_EQ(combo.count(), 79);
    EXPECT_EQ(combo.itemText(10), "11");
    EXPECT_EQ(combo.itemText(11), "11.25");
    EXPECT_EQ(combo.itemText(12), "12");
    EXPECT_EQ(CKZARN_Common::ApertureToText(7), "1.3");
    EXPECT_EQ(CKZARN_Common::ApertureToText(50), "---");
    EXPECT_TRUE(CKZARN_Common::IsPlaceholderText("---"));
    EXPECT_EQ(CKZARN_Common::GetDigitText(10), "---");
    EXPECT_TRUE(CKZARN_Common::IsValidIsoCode(13107200));
    EXPECT_FALSE(CKZARN_Common::IsValidIsoCode(120));
    EXPECT_FALSE(CKZARN_Common::IsValidShutterTimeCode(55));
}

TEST_F(CommonTest, SmallHelpers)
{
    char buffer[8];
    std::memset(buffer, 'z', sizeof buffer);
    EXPECT_EQ(CKZARN_Common::JoinToMultiString(nullptr, 0, {"A", "BC"}), 6);
    EXPECT_EQ(CKZARN_Common::JoinToMultiString(buffer, sizeof buffer, {"A", "BC"}), 6);
    EXPECT_EQ(std::string(buffer, 7), std::string("A\0BC\0\0z", 7));
    EXPECT_EQ(CKZARN_Common::JoinToMultiString(buffer, 5, {"A", "BC"}), 6); // too small: untouched
    EXPECT_EQ(CKZARN_Common::JoinToMultiString(buffer, sizeof buffer, {}), 1);
    EXPECT_EQ(CKZARN_Common::GetGraphLineColor(0), 0x800000u);
    EXPECT_EQ(CKZARN_Common::GetGraphLineColor(5), 0u);

    QListWidget list;
    list.addItems({"a", "b", "c"});
    list.setSelectionMode(QAbstractItemView::MultiSelection);
    list.item(1)->setSelected(true);
    EXPECT_EQ(CKZARN_Common::GetSelectedListItem(&list), -1);
    list.setSelectionMode(QAbstractItemView::SingleSelection);
    list.setCurrentRow(2);
    EXPECT_EQ(CKZARN_Common::GetSelectedListItem(&list), 2);
}
