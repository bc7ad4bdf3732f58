// The backup commands on each simulated meter: a backup written, restored over a changed meter and
// compared value by value; a backup of another family never sent without the user's yes, and then
// only what it holds; the reset of a T-310; file names refused and files unreadable.
#include "tests/ui/main/ProfilePageRig.h"

#include "core/util/CLangTable.h"
#include "tests/support/ScriptedPromptService.h"
#include "ui/main/CKZARN_BackupCommands.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>

namespace {

namespace fs = std::filesystem;

void ExpectSameSlots(const CKZARN_TransferData& a, const CKZARN_TransferData& b, int family, int fromSlot,
                     int toSlot, int fromRow, int toRow)
{
    for (int slot = fromSlot; slot < toSlot; ++slot) {
        EXPECT_EQ(a.GetProfileName(slot), b.GetProfileName(slot)) << slot;
        for (int row = fromRow; row < toRow; ++row) {
            for (int g = 0; g < 4; ++g) {
                const ExposureRange& x = a.GetProfileRows(slot)[row].group[g];
                const ExposureRange& y = b.GetProfileRows(slot)[row].group[g];
                EXPECT_NEAR(x.centre, y.centre, 1e-9) << slot << " " << row << " " << g;
                EXPECT_NEAR(x.cpm, y.cpm, 1e-9) << slot << " " << row << " " << g;
                EXPECT_NEAR(x.drm, y.drm, 1e-9) << slot << " " << row << " " << g;
                EXPECT_NEAR(x.drp, y.drp, 1e-9) << slot << " " << row << " " << g;
                EXPECT_NEAR(x.cpp, y.cpp, 1e-9) << slot << " " << row << " " << g;
            }
        }
    }
    (void)family;
}

void SaveTo(const std::string& path)
{
    CKZARN_ProfileWindows::Current().saveFile = [path](const std::string& title, const CKZARN_ProfileWindows::Filters& f,
                                                       const std::string& extension, const std::string&) {
        EXPECT_EQ(title, GetLangString(6040));
        EXPECT_EQ(extension, "csv");
        EXPECT_EQ(f.size(), 2u);
        return path;
    };
}

void OpenFile(const std::string& path)
{
    CKZARN_ProfileWindows::Current().openFiles = [path](const std::string&, const CKZARN_ProfileWindows::Filters& f,
                                                        bool multiple) {
        EXPECT_FALSE(multiple);
        EXPECT_EQ(f.size(), 1u);
        return std::vector<std::string>{path};
    };
}

int SendTo(MainDlgRig& rig, int family, CKZARN_TransferData& table, int mask)
{
    if (family == MeterFamilyT310) return rig.facade->SendProfilesT310(table, mask);
    if (family == MeterFamilyT140) return rig.facade->SendProfilesT140(table, mask);
    return rig.facade->SendProfilesT520(table, mask);
}

class BackupRoundTripTest : public ::testing::TestWithParam<FamilyCase> {};

// Receive a backup, change the meter, send the backup back: every name and value is as before.
TEST_P(BackupRoundTripTest, ARestoredBackupLeavesEveryValueEqual)
{
    const FamilyCase& c = GetParam();
    ProfilePageRig page;
    page.StartWith(c);
    ScriptedPromptService prompts;
    // A meter that holds profiles of its own first.
    CKZARN_TransferData first;
    ASSERT_NE(first.BuildFromResultFile("alpha", 0), 0);
    ASSERT_NE(first.BuildFromResultFile("beta", c.slotCount - 1), 0);
    first.SetFamily(c.family);
    ASSERT_EQ(SendTo(page.rig, c.family, first, 1 | (1 << (c.slotCount - 1))), 0);
    const CKZARN_TransferData before = page.ReadMeter(c.family);

    const std::string file = page.rig.scratch.File("MeterBackup.csv");
    SaveTo(file);
    CKZARN_BackupCommands::ReceiveBackup();
    ASSERT_TRUE(fs::exists(file));
    CKZARN_TransferData saved;
    ASSERT_EQ(CKZARN_BackupCommands::ReadBackupFile(file, &saved), 0);
    EXPECT_EQ(saved.GetFamily(), c.family);
    ExpectSameSlots(saved, before, c.family, 0, c.slotCount, 0, CKZARN_TransferData::GetRowCount(c.family));

    // Another profile over slot 0 and the last slot.
    CKZARN_TransferData other;
    ASSERT_NE(other.BuildFromResultFile("beta", 0), 0);
    ASSERT_NE(other.BuildFromResultFile("alpha", c.slotCount - 1), 0);
    other.SetFamily(c.family);
    ASSERT_EQ(SendTo(page.rig, c.family, other, 1 | (1 << (c.slotCount - 1))), 0);
    ASSERT_EQ(page.ReadMeter(c.family).GetProfileName(0), "beta");

    OpenFile(file);
    CKZARN_BackupCommands::SendBackup(page.Page());
    EXPECT_TRUE(prompts.Prompts().empty());
    const CKZARN_TransferData after = page.ReadMeter(c.family);
    ExpectSameSlots(after, before, c.family, 0, c.slotCount, 0, CKZARN_TransferData::GetRowCount(c.family));
    EXPECT_EQ(after.GetHeaderText(), "MeterBackup");
    EXPECT_EQ(page.Page()->MeterList()->GetItemText(0), "alpha");
}

INSTANTIATE_TEST_SUITE_P(Meters, BackupRoundTripTest, ::testing::ValuesIn(Families()), PrintFamily);

// A T-310 backup sent to a T-140 meter: nothing happens without a yes; with it, slots 0 to 2 get the
// file's names and its 35 ISO rows, and every row and slot the file does not hold stays as it was.
TEST(BackupAcrossFamiliesTest, AskedFirstAndOnlyWhatTheFileHoldsIsWritten)
{
    ProfilePageRig page;
    page.StartWith(Families()[1]);
    CKZARN_TransferData meterFirst;
    for (int s = 0; s < 10; ++s) ASSERT_NE(meterFirst.BuildFromResultFile(s % 2 ? "alpha" : "beta", s), 0);
    meterFirst.SetFamily(MeterFamilyT140);
    ASSERT_EQ(page.rig.facade->SendProfilesT140(meterFirst, 0x3FF), 0);
    const CKZARN_TransferData before = page.ReadMeter(MeterFamilyT140);

    CKZARN_TransferData small;
    small.SetFamily(MeterFamilyT310);
    for (int s = 0; s < 3; ++s) ASSERT_NE(small.BuildFromResultFile("alpha", s), 0);
    for (int s = 0; s < 3; ++s) small.SetProfileName(s, "SMALL" + std::to_string(s));
    const std::string file = page.rig.scratch.File("Small.csv");
    {
        std::ofstream out(file, std::ios::binary);
        ASSERT_EQ(small.WriteText(out), 1);
    }
    OpenFile(file);
    ScriptedPromptService prompts;
    prompts.Answer(IDNO);
    CKZARN_BackupCommands::SendBackup(page.Page());
    ASSERT_EQ(prompts.Prompts().size(), 1u);
    EXPECT_EQ(prompts.Prompts()[0].text, GetLangString(6049));
    EXPECT_EQ(prompts.Prompts()[0].type, MB_YESNO | MB_ICONEXCLAMATION | MB_DEFBUTTON2);
    CKZARN_TransferData unchanged = page.ReadMeter(MeterFamilyT140);
    ExpectSameSlots(unchanged, before, MeterFamilyT140, 0, 10, 0, 52);

    prompts.Answer(IDYES);
    CKZARN_BackupCommands::SendBackup(page.Page());
    CKZARN_TransferData read;
    ASSERT_EQ(CKZARN_BackupCommands::ReadBackupFile(file, &read), 0);
    const CKZARN_TransferData after = page.ReadMeter(MeterFamilyT140);
    ExpectSameSlots(after, read, MeterFamilyT140, 0, 3, 0, 35);
    ExpectSameSlots(after, before, MeterFamilyT140, 3, 10, 0, 52);
    for (int s = 0; s < 3; ++s) {
        const ProfileRow* a = after.GetProfileRows(s);
        const ProfileRow* b = before.GetProfileRows(s);
        for (int row = 35; row < 52; ++row) EXPECT_NEAR(a[row].group[0].cpp, b[row].group[0].cpp, 1e-9) << row;
    }
    EXPECT_EQ(after.GetProfileName(0), "SMALL0");
    EXPECT_EQ(page.Page()->MeterList()->GetItemText(2), "SMALL2");
}

// Receiving: without a meter of a known model nothing is written and the user is told; a file name
// with a comma is refused and the dialog opens again.
TEST(BackupReceiveTest, UnknownMeterAndRefusedNames)
{
    ProfilePageRig page;
    page.rig.Start();
    ScriptedPromptService prompts;
    int asked = 0;
    CKZARN_ProfileWindows::Current().saveFile = [&asked](const std::string&, const CKZARN_ProfileWindows::Filters&,
                                                         const std::string&, const std::string&) {
        ++asked;
        return std::string();
    };
    CKZARN_BackupCommands::ReceiveBackup();
    EXPECT_EQ(asked, 0);
    ASSERT_EQ(prompts.Prompts().size(), 1u);
    EXPECT_EQ(prompts.Prompts()[0].text, GetLangString(6048));

    Families()[2].attach(page.rig);
    page.rig.Round();
    std::vector<std::string> offered = {page.rig.scratch.File("a,b.csv"), page.rig.scratch.File("caf\xC3\xA9.csv"),
                                        page.rig.scratch.File("good.csv")};
    CKZARN_ProfileWindows::Current().saveFile = [&offered, &asked](const std::string&,
                                                                   const CKZARN_ProfileWindows::Filters&,
                                                                   const std::string&, const std::string&) {
        return offered[static_cast<std::size_t>(asked++)];
    };
    asked = 0;
    CKZARN_BackupCommands::ReceiveBackup();
    EXPECT_EQ(asked, 3);
    ASSERT_EQ(prompts.Prompts().size(), 3u);
    EXPECT_EQ(prompts.Prompts()[1].text, GetLangString(20007));
    EXPECT_EQ(prompts.Prompts()[2].text, GetLangString(20007));
    EXPECT_FALSE(fs::exists(offered[0]));
    CKZARN_TransferData saved;
    EXPECT_EQ(CKZARN_BackupCommands::ReadBackupFile(offered[2], &saved), 0);
    EXPECT_EQ(saved.GetFamily(), MeterFamilyT520);
}

// Receiving over an older backup writes beside it: a backup that cannot be written whole (a slot
// name the file cannot carry) is told and leaves the older file as it was; a good one replaces it.
TEST(BackupReceiveTest, AFailedWriteKeepsTheOlderBackup)
{
    ProfilePageRig page;
    page.StartWith(Families()[2]);
    const std::string folder = page.rig.scratch.File("backups");
    fs::create_directories(folder);
    const std::string path = folder + "/older.csv";
    std::ofstream(path, std::ios::binary) << "the older backup";
    CKZARN_TransferData table = page.ReadMeter(MeterFamilyT520);
    table.SetProfileName(0, "a,b");
    ASSERT_EQ(SendTo(page.rig, MeterFamilyT520, table, 1), 0);
    SaveTo(path);
    ScriptedPromptService prompts;
    CKZARN_BackupCommands::ReceiveBackup();
    ASSERT_EQ(prompts.Prompts().size(), 1u);
    EXPECT_EQ(prompts.Prompts()[0].text, GetLangString(6041));
    std::ifstream in(path, std::ios::binary);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), "the older backup");
    EXPECT_EQ(std::distance(fs::directory_iterator(folder), fs::directory_iterator()), 1);

    table.SetProfileName(0, "fine");
    ASSERT_EQ(SendTo(page.rig, MeterFamilyT520, table, 1), 0);
    CKZARN_BackupCommands::ReceiveBackup();
    EXPECT_EQ(prompts.Prompts().size(), 1u);
    CKZARN_TransferData saved;
    ASSERT_EQ(CKZARN_BackupCommands::ReadBackupFile(path, &saved), 0);
    EXPECT_EQ(saved.GetProfileName(0), "fine");
    EXPECT_EQ(std::distance(fs::directory_iterator(folder), fs::directory_iterator()), 1);
}

// Send and view refuse files they cannot read; view hands the slot names to the reference view.
TEST(BackupViewTest, UnreadableFilesAndTheNamesShown)
{
    ProfilePageRig page;
    page.rig.Start();
    ScriptedPromptService prompts;
    const std::string junk = page.rig.scratch.File("junk.csv");
    std::ofstream(junk) << "not a backup\n";
    std::vector<std::string> shown;
    CKZARN_ProfileWindows::Current().openBackupView = [&shown](QWidget*, const std::string&,
                                                               const std::vector<std::string>& names) {
        shown = names;
    };
    OpenFile(junk);
    CKZARN_BackupCommands::ViewBackup(nullptr);
    OpenFile(page.rig.scratch.File("missing.csv"));
    CKZARN_BackupCommands::ViewBackup(nullptr);
    ASSERT_EQ(prompts.Prompts().size(), 2u);
    EXPECT_EQ(prompts.Prompts()[0].text, GetLangString(6044));
    EXPECT_EQ(prompts.Prompts()[1].text, GetLangString(6043));
    EXPECT_TRUE(shown.empty());

    CKZARN_TransferData table;
    table.SetFamily(MeterFamilyT310);
    for (int s = 0; s < 3; ++s) table.SetProfileName(s, "V" + std::to_string(s));
    const std::string file = page.rig.scratch.File("View.csv");
    {
        std::ofstream out(file, std::ios::binary);
        ASSERT_EQ(table.WriteText(out), 1);
    }
    OpenFile(file);
    CKZARN_BackupCommands::ViewBackup(nullptr);
    EXPECT_EQ(shown, (std::vector<std::string>{"V0", "V1", "V2"}));
}

// The reset of a T-310 needs the reset file beside the program: without it nothing is sent; with it
// the meter takes the file's profiles under the header "T310_DEFAULT".
TEST(BackupResetTest, T310ResetNeedsItsFile)
{
    ProfilePageRig page;
    page.StartWith(Families()[0]);
    const CKZARN_TransferData before = page.ReadMeter(MeterFamilyT310);
    ScriptedPromptService prompts;
    const std::string resetFile = page.rig.scratch.File("program/KZARN_Reset.csv");
    prompts.Answer(IDNO);
    CKZARN_BackupCommands::Reset(page.Page(), resetFile);
    prompts.Answer(IDYES);
    CKZARN_BackupCommands::Reset(page.Page(), resetFile);
    ASSERT_EQ(prompts.Prompts().size(), 3u);
    EXPECT_EQ(prompts.Prompts()[0].text, GetLangString(7052));
    EXPECT_EQ(prompts.Prompts()[0].type, MB_YESNO | MB_ICONEXCLAMATION | MB_DEFBUTTON2);
    EXPECT_EQ(prompts.Prompts()[2].text, GetLangString(6045));
    ExpectSameSlots(page.ReadMeter(MeterFamilyT310), before, MeterFamilyT310, 0, 3, 0, 35);

    fs::copy_file(ZARN_SOURCE_DIR "/data/KZARN_Reset.csv", resetFile);
    CKZARN_TransferData factory;
    ASSERT_EQ(CKZARN_BackupCommands::ReadBackupFile(resetFile, &factory), 0);
    prompts.Answer(IDYES);
    CKZARN_BackupCommands::Reset(page.Page(), resetFile);
    // The write's completion tells of a reset (the meter list is read again after it).
    const auto& runs = page.watcher.Runs();
    EXPECT_TRUE(std::any_of(runs.begin(), runs.end(), [](const auto& run) {
        return run.caption.toStdString() == GetLangString(7053) && run.message.toStdString() == GetLangString(7054);
    }));
    const CKZARN_TransferData after = page.ReadMeter(MeterFamilyT310);
    EXPECT_EQ(after.GetHeaderText(), "T310_DEFAULT");
    ExpectSameSlots(after, factory, MeterFamilyT310, 0, 3, 0, 35);
}

} // namespace
