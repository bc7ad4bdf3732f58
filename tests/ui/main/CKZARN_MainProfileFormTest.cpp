// The profile page on each simulated meter: its lists, TX with the slot masks of each family, the
// assign and clear buttons, drags between the lists, the in-place rename and the context menu.
#include "tests/ui/main/ProfilePageRig.h"

#include "core/util/CLangTable.h"
#include "tests/support/ScriptedPromptService.h"
#include "ui/controls/CNoContextEdit.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QMenu>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>

#include <algorithm>

namespace {

class ProfilePageTest : public ::testing::TestWithParam<FamilyCase> {};

std::vector<std::string> Sorted(std::vector<std::string> names)
{
    std::sort(names.begin(), names.end());
    return names;
}

// The PC list holds the version-3 profiles with CAMERA_DEFAULT first, at start-up and after a
// refresh alike; the slot lists have one row per slot of the meter.
TEST_P(ProfilePageTest, ListsFollowTheFolderAndTheMeter)
{
    const FamilyCase& c = GetParam();
    ProfilePageRig page;
    page.StartWith(c);
    CKZARN_MainProfileForm* form = page.Page();
    std::vector<std::string> pc = ProfilePageRig::Texts(form->PcList());
    ASSERT_FALSE(pc.empty());
    EXPECT_EQ(pc.front(), "CAMERA_DEFAULT");
    EXPECT_EQ(Sorted(pc), (std::vector<std::string>{"CAMERA_DEFAULT", "alpha", "beta"}));
    form->RefreshPcList();
    EXPECT_EQ(Sorted(ProfilePageRig::Texts(form->PcList())), Sorted(pc));

    EXPECT_EQ(form->SendList()->GetItemCount(), c.slotCount);
    EXPECT_EQ(form->MeterList()->GetItemCount(), c.slotCount);
    EXPECT_FALSE(form->Button(CKZARN_MainProfileForm::IDC_TX)->isEnabled());
    EXPECT_TRUE(form->FindControl(CKZARN_MainProfileForm::IDC_METER_GROUP)->isEnabled());

    // A child program has the meter: TX stays disabled whatever the slots hold.
    form->SendList()->SetItemText(0, "alpha");
    form->UpdateMeterButtons();
    EXPECT_TRUE(form->Button(CKZARN_MainProfileForm::IDC_TX)->isEnabled());
    page.rig.dialog->OnExternalProgramStarting("/opt/Zarnflash", "");
    EXPECT_FALSE(form->CanTransmit());
    EXPECT_FALSE(form->Button(CKZARN_MainProfileForm::IDC_TX)->isEnabled());
    page.rig.dialog->OnExternalProgramEnded(0, 0);
    EXPECT_EQ(form->SendList()->GetItemCount(), 0);
    EXPECT_EQ(form->MeterList()->GetItemCount(), 0);
}

// TX writes the loadable profiles of the meter's slots only: a profile that cannot be read is
// reported once, its row emptied, and the others are sent; the meter list then shows the names.
TEST_P(ProfilePageTest, TxSendsTheLoadableSlotsOfTheMeter)
{
    const FamilyCase& c = GetParam();
    ProfilePageRig page;
    ASSERT_TRUE(TestProfileFiles::WriteBroken(page.File("broken"), 3, 0));
    page.StartWith(c);
    CKZARN_MainProfileForm* form = page.Page();
    CKZARN_ProfileListCtrl* send = form->SendList();
    const std::vector<std::string> rows = {"alpha", "", "broken", "beta"};
    for (int i = 0; i < send->GetItemCount() && i < 4; ++i) send->SetItemText(i, rows[static_cast<std::size_t>(i)]);

    CKZARN_TransferData table;
    ScriptedPromptService prompts;
    prompts.Answer(IDOK);
    const int mask = form->BuildTransfer(&table);
    EXPECT_EQ(mask, c.slotCount == 3 ? 0x1 : 0x9);
    ASSERT_EQ(prompts.Prompts().size(), 1u);
    EXPECT_EQ(prompts.Prompts()[0].text, "broken\n" + GetLangString(10015));
    EXPECT_EQ(send->GetItemText(2), "");

    send->SetItemText(2, "broken");
    prompts.Answer(IDYES);
    prompts.Answer(IDOK);
    form->OnBnClickedTx();
    ASSERT_EQ(prompts.Prompts().size(), 3u);
    EXPECT_EQ(prompts.Prompts()[1].text, GetLangString(7051));
    EXPECT_EQ(prompts.Prompts()[1].type, MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2);
    EXPECT_EQ(prompts.Prompts()[2].text, "broken\n" + GetLangString(10015));
    const std::vector<std::string> meter = ProfilePageRig::Texts(form->MeterList());
    ASSERT_EQ(meter.size(), static_cast<std::size_t>(c.slotCount));
    EXPECT_EQ(meter[0], "alpha");
    if (c.slotCount == 10) {
        EXPECT_EQ(meter[3], "beta");
    }
    // The send list keeps what it could send.
    EXPECT_EQ(send->GetItemText(0), "alpha");

    // Declining the question sends nothing; a list without names never reaches the meter.
    send->SetItemText(0, "beta");
    prompts.Answer(IDNO);
    form->OnBnClickedTx();
    EXPECT_EQ(page.ReadMeter(c.family).GetProfileName(0), "alpha");
    for (int i = 0; i < send->GetItemCount(); ++i) send->SetItemText(i, "");
    EXPECT_FALSE(form->CanTransmit());
    prompts.Answer(IDYES);
    form->OnBnClickedTx();
    EXPECT_EQ(prompts.Unanswered(), 0);
    EXPECT_EQ(page.ReadMeter(c.family).GetProfileName(0), "alpha");
}

INSTANTIATE_TEST_SUITE_P(Meters, ProfilePageTest, ::testing::ValuesIn(Families()), PrintFamily);

// ">>" assigns a loadable PC profile to the selected slot and refuses one that cannot be read;
// Clear empties the selected slots.
TEST(ProfilePageButtonsTest, AssignAndClear)
{
    ProfilePageRig page;
    ASSERT_TRUE(TestProfileFiles::Write(page.File("gone"), 3, 0, {100}));
    page.StartWith(Families()[1]);
    CKZARN_MainProfileForm* form = page.Page();
    std::filesystem::remove(page.File("gone"));
    CKZARN_ProfileListCtrl* pc = form->PcList();
    CKZARN_ProfileListCtrl* send = form->SendList();
    send->DeselectAll();
    pc->SelectItem(ProfilePageRig::Row(pc, "beta"), true, true);
    EXPECT_FALSE(form->Button(CKZARN_MainProfileForm::IDC_ASSIGN)->isEnabled());
    send->SelectItem(4, true, true);
    EXPECT_TRUE(form->Button(CKZARN_MainProfileForm::IDC_ASSIGN)->isEnabled());
    form->OnBnClickedAssign();
    EXPECT_EQ(send->GetItemText(4), "beta");
    EXPECT_TRUE(form->Button(CKZARN_MainProfileForm::IDC_TX)->isEnabled());

    ScriptedPromptService prompts;
    pc->SelectItem(ProfilePageRig::Row(pc, "gone"), true, true);
    send->DeselectAll();
    send->SelectItem(5, true, true);
    form->OnBnClickedAssign();
    EXPECT_EQ(send->GetItemText(5), "");
    ASSERT_EQ(prompts.Prompts().size(), 1u);
    EXPECT_EQ(prompts.Prompts()[0].text, "gone\n" + GetLangString(10015));

    send->SelectItem(4, true, false);
    form->OnBnClickedClear();
    EXPECT_EQ(send->GetItemText(4), "");
    EXPECT_FALSE(form->Button(CKZARN_MainProfileForm::IDC_TX)->isEnabled());
}

// Drags from the PC list onto a slot assign the profile; a slot dragged onto another moves its name
// there (overwriting it) and empties the source; a slot dropped onto itself stays.
TEST(ProfilePageDragTest, DragsAssignAndMoveNames)
{
    ProfilePageRig page;
    page.StartWith(Families()[2]);
    page.rig.dialog->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(page.rig.dialog.get()));
    CKZARN_MainProfileForm* form = page.Page();
    CKZARN_ProfileListCtrl* pc = form->PcList();
    CKZARN_ProfileListCtrl* send = form->SendList();
    auto centre = [](CKZARN_ProfileListCtrl* list, int row) {
        return list->viewport()->mapToGlobal(list->visualItemRect(list->topLevelItem(row)).center());
    };
    auto drag = [&](CKZARN_ProfileListCtrl* from, int row, CKZARN_ProfileListCtrl* to, int target) {
        from->DeselectAll();
        from->SelectItem(row, true, true);
        emit from->beginDragRequested(row, from->visualItemRect(from->topLevelItem(row)).center());
        ASSERT_EQ(from->dragging, 1);
        from->EndDragAt(centre(to, target));
    };

    drag(pc, ProfilePageRig::Row(pc, "alpha"), send, 2);
    EXPECT_EQ(send->GetItemText(2), "alpha");
    EXPECT_EQ(send->GetSelectedItems(), std::vector<int>{2});
    drag(pc, ProfilePageRig::Row(pc, "beta"), send, 5);
    drag(send, 2, send, 5);
    EXPECT_EQ(send->GetItemText(5), "alpha");
    EXPECT_EQ(send->GetItemText(2), "");
    EXPECT_EQ(send->GetSelectedItems(), std::vector<int>{5});
    drag(send, 5, send, 5);
    EXPECT_EQ(send->GetItemText(5), "alpha");
    // Onto the PC list or the meter list nothing changes.
    drag(send, 5, pc, 0);
    drag(send, 5, form->MeterList(), 1);
    EXPECT_EQ(send->GetItemText(5), "alpha");
    EXPECT_EQ(form->MeterList()->GetItemText(1), "");
    EXPECT_TRUE(form->Button(CKZARN_MainProfileForm::IDC_TX)->isEnabled());
}

struct RenameCase {
    const char* typed;
    int textId;       // 0: renamed
    UINT icon;
};

class ProfilePageRenameTest : public ::testing::TestWithParam<RenameCase> {};

// The in-place rename of alpha: refused names leave every file as it was and open the editor again;
// a change of letter case renames the file.
TEST_P(ProfilePageRenameTest, RenameFollowsTheNamingRules)
{
    const RenameCase& c = GetParam();
    ProfilePageRig page;
    page.rig.Start();
    CKZARN_MainProfileForm* form = page.Page();
    CKZARN_ProfileListCtrl* pc = form->PcList();
    const std::string alpha = TestProfileFiles::Read(page.File("alpha"));
    const std::string beta = TestProfileFiles::Read(page.File("beta"));
    const int row = ProfilePageRig::Row(pc, "alpha");
    pc->SelectItem(row, true, true);
    form->OnRenameProfile();
    EXPECT_EQ(form->StartingName(), "alpha");
    EXPECT_TRUE(form->AcceptsReturnKey());

    ScriptedPromptService prompts;
    form->OnEndLabelEdit(row, std::string(c.typed));
    QCoreApplication::processEvents();
    if (c.textId == 0) {
        EXPECT_TRUE(prompts.Prompts().empty());
        EXPECT_FALSE(std::filesystem::exists(page.File("alpha")) &&
                     std::filesystem::equivalent(page.File("alpha"), page.File(c.typed)) == false);
        EXPECT_EQ(TestProfileFiles::Read(page.File(c.typed)), alpha);
        EXPECT_NE(ProfilePageRig::Row(pc, c.typed), -1) << ::testing::PrintToString(ProfilePageRig::Texts(pc)) << ::testing::PrintToString(std::filesystem::exists(page.File(c.typed)));
        EXPECT_EQ(form->StartingName(), "");
        return;
    }
    ASSERT_EQ(prompts.Prompts().size(), 1u);
    EXPECT_NE(prompts.Prompts()[0].text.find(GetLangString(c.textId)), std::string::npos);
    EXPECT_EQ(prompts.Prompts()[0].type, MB_OK | c.icon);
    EXPECT_EQ(TestProfileFiles::Read(page.File("alpha")), alpha);
    EXPECT_EQ(TestProfileFiles::Read(page.File("beta")), beta);
    EXPECT_TRUE(pc->IsEditingLabel()); // the editor is open again for the correction
}

const std::string kLong(32, 'n');

INSTANTIATE_TEST_SUITE_P(Names, ProfilePageRenameTest,
                         ::testing::Values(RenameCase{"a,b", 10013, MB_ICONSTOP},
                                           RenameCase{"CAMERA_DEFAULT", 10011, MB_ICONEXCLAMATION},
                                           RenameCase{"---", 10011, MB_ICONEXCLAMATION},
                                           RenameCase{"beta", 10003, MB_ICONSTOP},
                                           RenameCase{kLong.c_str(), 10002, MB_ICONSTOP},
                                           RenameCase{"ALPHA", 0, 0}, RenameCase{"gamma", 0, 0}));

// A cancelled or emptied edit changes nothing; CAMERA_DEFAULT offers neither delete nor rename; the
// context menu's delete moves the file to the Trash without a question.
TEST(ProfilePageMenuTest, ContextMenuAndCancelledRename)
{
    ProfilePageRig page;
    page.rig.Start();
    CKZARN_MainProfileForm* form = page.Page();
    CKZARN_ProfileListCtrl* pc = form->PcList();
    ScriptedPromptService prompts;

    pc->SelectItem(ProfilePageRig::Row(pc, "CAMERA_DEFAULT"), true, true);
    std::unique_ptr<QMenu> menu(form->MakeContextMenu());
    ASSERT_EQ(menu->actions().size(), 2);
    EXPECT_EQ(menu->actions()[0]->data().toUInt(), CKZARN_MainProfileForm::ID_PROFILE_DELETE_ITEM);
    EXPECT_EQ(menu->actions()[1]->data().toUInt(), CKZARN_MainProfileForm::ID_PROFILE_RENAME_ITEM);
    EXPECT_FALSE(menu->actions()[0]->isEnabled());
    EXPECT_FALSE(menu->actions()[1]->isEnabled());
    form->OnDeleteProfile();
    EXPECT_TRUE(std::filesystem::exists(page.rig.scratch.File("program/CAMERA_DEFAULT.kpf")));

    const int row = ProfilePageRig::Row(pc, "alpha");
    pc->SelectItem(row, true, true);
    form->OnRenameProfile();
    ASSERT_NE(pc->labelEditor, nullptr);
    QTest::keyClick(pc->labelEditor.data(), Qt::Key_Escape);
    QCoreApplication::processEvents();
    form->OnRenameProfile();
    ASSERT_NE(pc->labelEditor, nullptr);
    pc->labelEditor->clear();
    QTest::keyClick(pc->labelEditor.data(), Qt::Key_Return);
    QCoreApplication::processEvents();
    EXPECT_FALSE(pc->IsEditingLabel());
    EXPECT_TRUE(std::filesystem::exists(page.File("alpha")));
    EXPECT_EQ(form->StartingName(), "");
    pc->SelectItem(ProfilePageRig::Row(pc, "alpha"), true, true);

    menu.reset(form->MakeContextMenu());
    EXPECT_TRUE(menu->actions()[0]->isEnabled());
    menu->actions()[0]->trigger();
    EXPECT_FALSE(std::filesystem::exists(page.File("alpha")));
    EXPECT_TRUE(std::filesystem::exists(page.rig.scratch.File("data/Trash/files/alpha.kpf")));
    EXPECT_EQ(ProfilePageRig::Row(pc, "alpha"), -1);
    EXPECT_TRUE(prompts.Prompts().empty());
}

} // namespace

namespace {

// Changes made outside the send list reach it: a renamed profile's slot takes the new name (TX
// stays possible), a deleted profile's slot is emptied (TX follows), and a profile copied into the
// folder by hand shows in the PC list when the page comes into view again.
TEST(ProfilePageFollowsTest, SendListAndPcListFollowTheFolder)
{
    ProfilePageRig page;
    page.StartWith(Families()[1]);
    page.rig.dialog->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(page.rig.dialog.get()));
    CKZARN_MainProfileForm* form = page.Page();
    CKZARN_ProfileListCtrl* pc = form->PcList();
    CKZARN_ProfileListCtrl* send = form->SendList();
    QPushButton* tx = form->Button(CKZARN_MainProfileForm::IDC_TX);
    send->SetItemText(0, "alpha");
    send->SetItemText(3, "beta");
    form->UpdateMeterButtons();
    ScriptedPromptService prompts;

    const int row = ProfilePageRig::Row(pc, "alpha");
    pc->SelectItem(row, true, true);
    form->OnRenameProfile();
    form->OnEndLabelEdit(row, std::string("Cam A"));
    EXPECT_EQ(send->GetItemText(0), "Cam A");
    EXPECT_TRUE(tx->isEnabled());
    CKZARN_TransferData table;
    EXPECT_EQ(form->BuildTransfer(&table), 0x9) << "both slots still load";

    pc->DeselectAll();
    pc->SelectItem(ProfilePageRig::Row(pc, "beta"), true, true);
    form->OnDeleteProfile();
    EXPECT_EQ(send->GetItemText(3), "");
    std::filesystem::remove(page.File("Cam A")); // removed outside the program
    form->RefreshPcList();
    EXPECT_EQ(send->GetItemText(0), "");
    EXPECT_FALSE(tx->isEnabled());
    EXPECT_TRUE(prompts.Prompts().empty());

    ASSERT_TRUE(TestProfileFiles::Write(page.File("copied"), 3, 0, {100}));
    EXPECT_EQ(ProfilePageRig::Row(pc, "copied"), -1);
    QTabWidget* tabs = page.rig.dialog->TabControl();
    tabs->setCurrentIndex(1);
    tabs->setCurrentIndex(0);
    EXPECT_NE(ProfilePageRig::Row(pc, "copied"), -1);
}

} // namespace
