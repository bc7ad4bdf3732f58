#include "ui/views/CKZARN_ManualDlg.h"

#include "core/util/CLangTable.h"
#include "tests/support/ScriptedPromptService.h"
#include "tests/ui/views/ProfileFolderRig.h"
#include "tests/ui/views/ViewsCommaLocale.h"
#include "ui/views/CKZARN_DataListCtrl.h"
#include "ui/views/CKZARN_ManualDataForm.h"
#include "ui/views/CKZARN_ManualGraphForm.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

#include <filesystem>

namespace {

constexpr int kIso400Row = 21;

struct ManualRig {
    ProfileFolderRig folder;
    ScriptedPromptService prompts;
    std::unique_ptr<CKZARN_ManualDlg> dialog;

    void Open(int mode = 0, const std::string& name = std::string())
    {
        dialog = std::make_unique<CKZARN_ManualDlg>();
        dialog->SetMode(mode);
        dialog->SetProfileName(name);
        dialog->askSaveName = [](std::string* chosen) {
            *chosen = "Hand";
            return true;
        };
        dialog->OnInitDialog();
    }
    CKZARN_DataListCtrl* Grid() const { return dialog->DataForm()->Grid(); }
    const ManualRow& Row(int r) const { return dialog->DataForm()->Model().Rows()[static_cast<std::size_t>(r)]; }

    // Types a text into a value cell of a row, as the grid's in-place edit ends.
    void Type(int row, int column, const char* text)
    {
        Grid()->selectRow(row);
        Grid()->m_nCurColumn = column;
        Grid()->OnEndLabelEdit(row, text);
    }
    // Asks for editing on the ISO cell of a row.
    void Activate(int row)
    {
        Grid()->selectRow(row);
        Grid()->m_nCurColumn = 0;
        Grid()->m_bEditRequested = 1;
        Grid()->OnBeginLabelEdit(row);
    }
};

} // namespace

TEST(ManualDlg, NewProfileStartsWithDefaultsAndNothingToSave)
{
    ManualRig rig;
    rig.Open();
    EXPECT_EQ(rig.dialog->windowTitle().toStdString(), GetLangString(3500));
    EXPECT_EQ(rig.Grid()->rowCount(), 67);
    EXPECT_EQ(rig.Grid()->GetItemText(0, 1), "0.0");
    EXPECT_EQ(rig.Grid()->GetItemText(0, 2), "-3.5");
    EXPECT_EQ(rig.Grid()->GetItemText(66, 5), "+3.5");
    EXPECT_EQ(rig.dialog->DataForm()->GetSelectedIndex(), 0);
    EXPECT_FALSE(rig.dialog->SaveButton()->isEnabled());
    EXPECT_EQ(rig.dialog->GraphForm()->Points().hidden, 0);
    EXPECT_EQ(rig.dialog->GraphForm()->GraphWindow().m_bLiveDrag, 0);
    // Nothing typed: leaving asks nothing.
    rig.dialog->reject();
    EXPECT_TRUE(rig.prompts.Prompts().empty());
    EXPECT_EQ(rig.dialog->result(), IDOK);
}

TEST(ManualDlg, TypedValuesAreBoundedAndMarkTheirRow)
{
    ManualRig rig;
    rig.Open();
    const struct {
        int column;
        const char* text;
        bool accepted;
        const char* shown;
    } cases[] = {
        {1, "+6", false, "0.0"}, {1, "", false, "0.0"},  {1, "-", false, "0.0"},   {1, "+", false, "0.0"},
        {1, "4.96", true, "+5.0"}, {2, "-2.4", false, "-3.5"}, {2, "-2.5", true, "-2.5"}, {3, "0.1", false, "-2.5"},
        {4, "0.0", true, "0.0"},
    };
    for (const auto& c : cases) {
        const int modifiedBefore = rig.dialog->IsModified();
        rig.Type(kIso400Row, c.column, c.text);
        EXPECT_EQ(rig.Grid()->GetItemText(kIso400Row, c.column), c.shown) << c.text;
        if (c.accepted) {
            EXPECT_EQ(rig.dialog->IsModified(), 1) << c.text;
        } else {
            EXPECT_EQ(rig.dialog->IsModified(), modifiedBefore) << c.text;
        }
    }
    EXPECT_EQ(rig.Row(kIso400Row).rowMark, 1);
    EXPECT_EQ(rig.Grid()->GetRowMark(kIso400Row), 1);
    EXPECT_EQ(rig.Grid()->GetRowMark(kIso400Row + 1), 0);
    // Every other row now follows the one table.
    EXPECT_EQ(rig.Grid()->GetItemText(0, 1), "+5.0");
    EXPECT_TRUE(rig.dialog->SaveButton()->isEnabled());
    // Another light source has no table.
    rig.dialog->LightCombo()->setCurrentIndex(1);
    rig.dialog->OnLightChange();
    EXPECT_EQ(rig.Grid()->GetRowMark(kIso400Row), 0);
    EXPECT_EQ(rig.Grid()->GetItemText(kIso400Row, 1), "0.0");
}

TEST(ManualDlg, DraggedMarkersAreStoredUnrounded)
{
    ManualRig rig;
    rig.Open();
    rig.Grid()->selectRow(kIso400Row);
    CKZARN_ManualDlg::OnMarkerMoved(rig.dialog.get(), 0, -3.46);
    EXPECT_DOUBLE_EQ(rig.Row(kIso400Row).values[1], -3.46);
    EXPECT_EQ(rig.dialog->IsModified(), 1);
    // Typing the same tenth keeps the dragged value but still counts.
    rig.Type(kIso400Row, 2, "-3.5");
    EXPECT_DOUBLE_EQ(rig.Row(kIso400Row).values[1], -3.46);
    EXPECT_EQ(rig.Row(kIso400Row).rowMark, 1);
    // CNT is never taken from the graph.
    CKZARN_ManualDlg::OnMarkerMoved(rig.dialog.get(), 2, 1.0);
    EXPECT_DOUBLE_EQ(rig.Row(kIso400Row).further, 0.0);
}

TEST(ManualDlg, ResettingAMarkedRowAsksFirst)
{
    ManualRig rig;
    rig.Open();
    rig.Type(kIso400Row, 5, "+4.0");
    ASSERT_EQ(rig.Row(kIso400Row).rowMark, 1);
    rig.prompts.Answer(IDNO);
    rig.Activate(kIso400Row);
    ASSERT_EQ(rig.prompts.Prompts().size(), 1u);
    EXPECT_EQ(rig.prompts.Prompts()[0].text, GetLangString(3502));
    EXPECT_EQ(rig.prompts.Prompts()[0].type, MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2);
    EXPECT_EQ(rig.Row(kIso400Row).rowMark, 1);
    EXPECT_EQ(rig.dialog->DataForm()->IsProfileEmpty(), 0);
    rig.prompts.Answer(IDYES);
    rig.Activate(kIso400Row);
    EXPECT_EQ(rig.Row(kIso400Row).rowMark, 0);
    EXPECT_EQ(rig.dialog->DataForm()->IsProfileEmpty(), 1);
    EXPECT_FALSE(rig.dialog->SaveButton()->isEnabled());
    EXPECT_EQ(rig.Grid()->GetItemText(kIso400Row, 5), "+3.5");
    // An unmarked row: no question, nothing changes.
    rig.Activate(3);
    EXPECT_EQ(rig.prompts.Prompts().size(), 2u);
}

TEST(ManualDlg, CloseBoxAsksAboutATypedProfile)
{
    ManualRig rig;
    rig.Open();
    rig.Type(kIso400Row, 5, "+4.0");
    rig.prompts.Answer(IDCANCEL);
    rig.dialog->reject(); // Escape and the close box
    ASSERT_EQ(rig.prompts.Prompts().size(), 1u);
    EXPECT_EQ(rig.prompts.Prompts()[0].text, GetLangString(3041));
    EXPECT_EQ(rig.prompts.Prompts()[0].type, MB_YESNOCANCEL | MB_ICONEXCLAMATION);
    EXPECT_EQ(rig.dialog->IsModified(), 1);
    rig.prompts.Answer(IDYES);
    rig.dialog->reject();
    EXPECT_EQ(rig.dialog->IsModified(), 0);
    EXPECT_EQ(rig.dialog->result(), IDOK);
    // Saved once under the name asked for, as a hand-typed profile.
    short version = 0;
    short subVersion = 0;
    ASSERT_EQ(CKZARN_Common::ReadProfileVersion(CKZARN_Common::GetProfilePath("Hand"), &version, &subVersion), 0);
    EXPECT_EQ(version, 3);
    EXPECT_EQ(subVersion, 1);
}

TEST(ManualDlg, EditModeWritesOverTheFileAndFailedWritesKeepEverything)
{
    ManualRig rig;
    rig.Open();
    rig.Type(kIso400Row, 3, "-1.0");
    ASSERT_TRUE(rig.dialog->Save());
    rig.Open(2, "Hand");
    EXPECT_EQ(rig.Row(kIso400Row).rowMark, 1);
    EXPECT_EQ(rig.Grid()->GetItemText(kIso400Row, 3), "-1.0");
    rig.Type(kIso400Row, 3, "-1.5");
    const std::string path = CKZARN_Common::GetProfilePath("Hand");
    const std::string before = ProfileFolderRig::ReadAll(path);
    namespace fs = std::filesystem;
    fs::permissions(path, fs::perms::owner_read | fs::perms::group_read);
    rig.prompts.Answer(IDOK);
    rig.dialog->OnSave();
    ASSERT_EQ(rig.prompts.Prompts().size(), 1u);
    EXPECT_EQ(rig.prompts.Prompts()[0].text, GetLangString(20003));
    EXPECT_EQ(rig.dialog->IsModified(), 1);
    EXPECT_TRUE(rig.dialog->SaveButton()->isEnabled());
    EXPECT_EQ(ProfileFolderRig::ReadAll(path), before);
    fs::permissions(path, fs::perms::owner_read | fs::perms::owner_write);
    rig.dialog->OnSave();
    EXPECT_EQ(rig.dialog->IsModified(), 0);
    EXPECT_NE(ProfileFolderRig::ReadAll(path), before);
}

TEST(ManualDlg, EditModeWithAProfileThatDoesNotLoadReportsAndEnds)
{
    ManualRig rig;
    std::ofstream(CKZARN_Common::GetProfilePath("Broken"), std::ios::binary) << "not a profile";
    rig.prompts.Answer(IDOK);
    rig.Open(2, "Broken");
    ASSERT_EQ(rig.prompts.Prompts().size(), 1u);
    EXPECT_EQ(rig.prompts.Prompts()[0].text, "Broken\n" + GetLangString(10015));
    EXPECT_EQ(rig.dialog->exec(), IDOK);
    EXPECT_TRUE(rig.dialog->DataForm()->Model().Rows().empty());
    EXPECT_EQ(rig.Grid()->GetItemText(kIso400Row, 2), "");
}

TEST(ManualDlg, TabInTheGridKeepsTheSelectedRow)
{
    ManualRig rig;
    rig.Open();
    rig.dialog->show(); // the grid steps with Tab only while it is on screen
    CKZARN_DataListCtrl* grid = rig.Grid();
    grid->setCurrentCell(3, 5);
    grid->setFocus();
    ASSERT_EQ(rig.dialog->DataForm()->GetSelectedIndex(), 3);
    for (const int key : {int(Qt::Key_Tab), int(Qt::Key_Backtab)}) {
        QKeyEvent press(QEvent::KeyPress, key, key == Qt::Key_Backtab ? Qt::ShiftModifier : Qt::NoModifier);
        QCoreApplication::sendEvent(grid, &press);
        EXPECT_EQ(rig.dialog->DataForm()->GetSelectedIndex(), 3) << key;
        EXPECT_EQ(grid->currentColumn(), 5) << key;
    }
}

TEST(ManualDlg, UnderACommaLocaleATypedFractionIsTaken)
{
    ViewsCommaLocale locale;
    ZARN_VIEWS_REQUIRE_COMMA_LOCALE(locale);
    ManualRig rig;
    rig.Open();
    rig.dialog->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(rig.dialog.get()));
    EXPECT_EQ(rig.Grid()->GetItemText(kIso400Row, 3), "-2,5");
    // The DRM cell of the ISO 400 row, opened with F2 and typed key by key as a German user types.
    rig.Grid()->selectRow(kIso400Row);
    rig.Grid()->m_nCurColumn = 3;
    rig.Grid()->setFocus();
    QTest::keyClick(rig.Grid(), Qt::Key_F2);
    ASSERT_TRUE(rig.Grid()->IsEditing());
    QTest::keyClicks(&rig.Grid()->Editor(), "-0,3");
    ASSERT_EQ(rig.Grid()->Editor().text().toStdString(), "-0,3");
    QTest::keyClick(&rig.Grid()->Editor(), Qt::Key_Return);
    EXPECT_FALSE(rig.Grid()->IsEditing());
    EXPECT_DOUBLE_EQ(rig.Row(kIso400Row).values[2], -0.3);
    EXPECT_EQ(rig.Grid()->GetItemText(kIso400Row, 3), "-0,3");
    EXPECT_EQ(rig.Row(kIso400Row).rowMark, 1);
    EXPECT_EQ(rig.dialog->IsModified(), 1);
    EXPECT_TRUE(rig.dialog->SaveButton()->isEnabled());
}
