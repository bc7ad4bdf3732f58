// The profile chooser over a scratch Profile folder, with the program's texts: what the edit shows
// as names are chosen, which new names it accepts, and which profiles its version-2 list offers.
#include "core/CKZARN_Common.h"
#include "core/util/CLangTable.h"
#include "tests/support/ScratchFolder.h"
#include "tests/support/ScriptedPromptService.h"
#include "tests/support/TestProfileFiles.h"
#include "ui/controls/CKZARN_OpenProfileDlg.h"
#include "ui/controls/CKZARN_ProfileListCtrl.h"

#include <gtest/gtest.h>

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>

#include <algorithm>
#include <cstdlib>
#include <filesystem>

namespace {

class OpenProfileDlgTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ::setenv("XDG_DATA_HOME", scratch.File("data").c_str(), 1);
        CLangTable::GetInstance()->Load(ZARN_SOURCE_DIR "/data/String.txt");
        folder = CKZARN_Common::GetFolderPath(2);
        std::filesystem::create_directories(folder);
    }
    void TearDown() override
    {
        CLangTable::Free();
        ::unsetenv("XDG_DATA_HOME");
    }
    void Profile(const std::string& name, short version = 3, short sub = 0, int chartKind = 1)
    {
        ASSERT_TRUE(TestProfileFiles::Write(folder + "/" + name + ".kpf", version, sub, {100}, chartKind));
    }
    static std::vector<std::string> Rows(CKZARN_OpenProfileDlg& dialog)
    {
        std::vector<std::string> rows;
        for (int i = 0; i < dialog.List()->GetItemCount(); ++i) rows.push_back(dialog.List()->GetItemText(i));
        std::sort(rows.begin(), rows.end());
        return rows;
    }
    static int Row(CKZARN_OpenProfileDlg& dialog, const std::string& name)
    {
        for (int i = 0; i < dialog.List()->GetItemCount(); ++i) {
            if (dialog.List()->GetItemText(i) == name) return i;
        }
        return -1;
    }
    static std::string EditText(CKZARN_OpenProfileDlg& dialog)
    {
        return static_cast<QLineEdit*>(dialog.FindControl(CKZARN_OpenProfileDlg::kNameEditId))->text().toStdString();
    }

    ScratchFolder scratch;
    std::string folder;
};

// Several chosen names show quoted, the last chosen first; deselecting one removes it; OK follows.
TEST_F(OpenProfileDlgTest, ChosenNamesShowLastFirstAndFollowTheSelection)
{
    for (const char* name : {"alpha", "beta", "gamma"}) Profile(name);
    CKZARN_OpenProfileDlg dialog(1, nullptr);
    dialog.SetMultiSelect(TRUE);
    dialog.OnInitDialog();
    auto* ok = static_cast<QPushButton*>(dialog.FindControl(CKZARN_OpenProfileDlg::kOkId));
    EXPECT_FALSE(ok->isEnabled());
    EXPECT_TRUE(static_cast<QLineEdit*>(dialog.FindControl(CKZARN_OpenProfileDlg::kNameEditId))->isReadOnly());

    CKZARN_ProfileListCtrl* list = dialog.List();
    list->SelectItem(Row(dialog, "beta"), true, false);
    EXPECT_EQ(EditText(dialog), "beta");
    list->SelectItem(Row(dialog, "alpha"), true, false);
    list->SelectItem(Row(dialog, "gamma"), true, false);
    EXPECT_EQ(EditText(dialog), "\"gamma\"\"alpha\"\"beta\"");
    EXPECT_TRUE(ok->isEnabled());
    list->SelectItem(Row(dialog, "alpha"), false, false);
    EXPECT_EQ(EditText(dialog), "\"gamma\"\"beta\"");
    std::vector<std::string> names;
    EXPECT_EQ(dialog.GetSelectedNames(&names), 2);
    EXPECT_EQ(names, (std::vector<std::string>{"beta", "gamma"}));
    EXPECT_EQ(dialog.GetSelectedProfilePath(), CKZARN_Common::GetProfilePath("beta"));
    list->DeselectAll();
    EXPECT_EQ(EditText(dialog), "");
    EXPECT_FALSE(ok->isEnabled());
}

// Only button 1145 accepts: Enter, the dialog's own accept and Esc all end as Cancel.
TEST_F(OpenProfileDlgTest, OnlyTheOkButtonAccepts)
{
    Profile("alpha");
    for (int way = 0; way < 2; ++way) {
        CKZARN_OpenProfileDlg dialog(1, nullptr);
        dialog.OnInitDialog();
        dialog.List()->SelectItem(0, true, false);
        if (way == 0) dialog.accept(); else dialog.reject();
        EXPECT_EQ(dialog.result(), IDCANCEL);
    }
    CKZARN_OpenProfileDlg dialog(1, nullptr);
    dialog.OnInitDialog();
    dialog.List()->SelectItem(0, true, false);
    dialog.OnOK();
    EXPECT_EQ(dialog.result(), IDOK);
    EXPECT_EQ(dialog.GetSelectedName(), "alpha");
}

// A chosen profile whose file went away is refused with its name.
TEST_F(OpenProfileDlgTest, AChosenProfileWithoutItsFileIsRefused)
{
    Profile("alpha");
    ScriptedPromptService prompts;
    CKZARN_OpenProfileDlg dialog(1, nullptr);
    dialog.OnInitDialog();
    dialog.List()->SelectItem(0, true, false);
    std::filesystem::remove(folder + "/alpha.kpf");
    dialog.OnOK();
    ASSERT_EQ(prompts.Prompts().size(), 1u);
    EXPECT_EQ(prompts.Prompts()[0].text, "alpha" + GetLangString(10000));
    EXPECT_NE(dialog.result(), IDOK);
}

struct NameCase {
    const char* typed;
    const char* startingName; // "" for a new profile
    int answer;               // to a question, 0 for none
    int textId;               // the message shown, 0 for none
    int result;               // IDOK, IDCANCEL or 0 (stays open)
};

class OpenProfileNameTest : public OpenProfileDlgTest, public ::testing::WithParamInterface<NameCase> {};

TEST_P(OpenProfileNameTest, NewNamesFollowTheNamingRules)
{
    const NameCase& c = GetParam();
    Profile("alpha");
    Profile("beta");
    ScriptedPromptService prompts;
    if (c.answer != 0) prompts.Answer(c.answer);
    CKZARN_OpenProfileDlg dialog(0, nullptr);
    if (*c.startingName != '\0') dialog.SetRenameSource(c.startingName);
    dialog.OnInitDialog();
    dialog.setResult(0);
    static_cast<QLineEdit*>(dialog.FindControl(CKZARN_OpenProfileDlg::kNameEditId))->setText(c.typed);
    dialog.OnOK();
    EXPECT_EQ(dialog.result(), c.result);
    if (c.textId == 0) {
        EXPECT_TRUE(prompts.Prompts().empty());
    } else {
        ASSERT_EQ(prompts.Prompts().size(), 1u);
        EXPECT_NE(prompts.Prompts()[0].text.find(GetLangString(c.textId)), std::string::npos) << prompts.Prompts()[0].text;
    }
    if (c.result == IDOK) {
        EXPECT_EQ(dialog.GetSelectedName(), c.typed);
    }
}

const std::string k32(32, 'x');
const std::string k31(31, 'x');

INSTANTIATE_TEST_SUITE_P(
    Names, OpenProfileNameTest,
    ::testing::Values(NameCase{"new", "", 0, 0, IDOK}, NameCase{"", "", 0, 6003, 0},
                      NameCase{"a,b", "", 0, 10013, 0}, NameCase{"a*b", "", 0, 10013, 0},
                      NameCase{"camera_default", "", 0, 10011, 0}, NameCase{"---", "", 0, 10011, 0},
                      NameCase{k32.c_str(), "", 0, 10002, 0}, NameCase{k31.c_str(), "", 0, 0, IDOK},
                      NameCase{"caf\xC3\xA9", "", 0, 10002, 0}, NameCase{"beta", "", IDNO, 10001, 0},
                      NameCase{"beta", "", IDYES, 10001, IDOK}, NameCase{"alpha", "alpha", 0, 0, IDCANCEL},
                      NameCase{"ALPHA", "alpha", 0, 0, IDOK}, NameCase{"beta", "alpha", 0, 10003, 0}));

// The version-2 list leaves out hand-made profiles and those holding chart kinds 3 or 6 (a file that
// does not load is never listed: the folder listing reads each file's version by loading it); back on
// version 3 every profile is offered again.
TEST_F(OpenProfileDlgTest, VersionTwoListsOnlyWhatVersionTwoCanHold)
{
    Profile("gradus", 3, 0, 1);
    Profile("classic", 3, 0, 3);
    Profile("spyder", 3, 0, 6);
    Profile("passport", 3, 0, 4);
    Profile("handmade", 3, 1, 1);
    ASSERT_TRUE(TestProfileFiles::WriteBroken(folder + "/broken.kpf", 3, 0));
    CKZARN_OpenProfileDlg dialog(1, nullptr);
    dialog.majorFilter = 2;
    dialog.ShowVersionChoice(TRUE);
    dialog.SetMultiSelect(TRUE);
    dialog.OnInitDialog();
    auto* combo = static_cast<QComboBox*>(dialog.FindControl(CKZARN_OpenProfileDlg::kVersionComboId));
    ASSERT_EQ(combo->count(), 2);
    EXPECT_EQ(combo->currentData().toInt(), 3);
    EXPECT_EQ(dialog.height(), 390);

    dialog.List()->SelectItem(0, true, false);
    combo->setCurrentIndex(0);
    emit combo->activated(0);
    EXPECT_EQ(dialog.GetKpfVersion(), 2);
    EXPECT_EQ(Rows(dialog), (std::vector<std::string>{"gradus", "passport"}));
    EXPECT_EQ(EditText(dialog), "");
    EXPECT_EQ(dialog.GetSelectedName(), "");

    combo->setCurrentIndex(1);
    emit combo->activated(1);
    EXPECT_EQ(Rows(dialog),
              (std::vector<std::string>{"classic", "gradus", "handmade", "passport", "spyder"}));
}

} // namespace
