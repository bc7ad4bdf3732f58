// The facade end to end against a simulated T-310 behind a pseudo-terminal: identity and names,
// the reset file sent with a header, custom settings, and a backup to CSV restored after the meter
// was changed, leaving its memory as it was.
// The rig's simulator headers have a member named like a Qt keyword macro, so Qt's keywords stay off.
#define QT_NO_KEYWORDS
#include "core/CKZARN_Common.h"
#include "meter/CKZARN_TransferData.h"
#include "tests/ui/meter/FacadeRig.h"

#include <gtest/gtest.h>

#include <fstream>

namespace {

class T310Facade : public ::testing::Test {
protected:
    void SetUp() override
    {
        rig.ServeVersionFile("[Version]\nT-310D_DR,16,2024/02/01\n[Status]\nNormal\n");
        rig.AddT310();
        rig.Start();
    }
    CKZARN_TransferData HeldProfiles()
    {
        T310TransferBlock block;
        rig.facade->GetLMCtrl()->GetT310Block(&block);
        CKZARN_TransferData table;
        table.ReadT310Image(&block);
        return table;
    }
    static CKZARN_TransferData ResetTable()
    {
        CKZARN_TransferData table;
        std::ifstream in(ZARN_SOURCE_DIR "/data/KZARN_Reset.csv", std::ios::binary);
        EXPECT_EQ(table.ReadText(in), 1);
        return table;
    }

    FacadeRig rig;
};

TEST_F(T310Facade, IdentityNamesAndTheFirmwareTestAfterStart)
{
    EXPECT_EQ(rig.facade->GetT310State(), 1);
    std::vector<std::string> names{"old"};
    ASSERT_EQ(rig.facade->ReceiveProfileNames(&names), 0);
    EXPECT_EQ(names.size(), 3u);
    EXPECT_EQ(rig.facade->GetPhotometerType(), "T-310D/DR");
    EXPECT_EQ(rig.facade->GetMeterRevision(), "15");
    EXPECT_EQ(rig.facade->GetMeterState(), 999);
    // The server's record of "T-310D_DR" names the meter's model: 16 against 15 is an update.
    EXPECT_EQ(rig.facade->GetRecordVersion("T-310D/DR"), "16");
    EXPECT_EQ(rig.facade->IsFirmwareUpdateAvailable(), 1);
}

TEST_F(T310Facade, TheResetFileArrivesWithItsNamesAndTheHeader)
{
    CKZARN_TransferData reset = ResetTable();
    ASSERT_EQ(rig.facade->SendNamedProfilesT310(reset, "FACTORY"), 0);
    EXPECT_GT(rig.watcher.Last().progress.size(), 3u);
    ASSERT_EQ(rig.facade->RunCommand(3, 0), 0);
    const CKZARN_TransferData read = HeldProfiles();
    EXPECT_EQ(read.GetHeaderText(), "FACTORY");
    for (int slot = 0; slot < 3; ++slot) {
        EXPECT_EQ(read.GetProfileName(slot), reset.GetProfileName(slot));
        EXPECT_FALSE(read.GetProfileName(slot).empty());
        for (int row = 0; row < 35; ++row) {
            EXPECT_NEAR(read.GetProfileRows(slot)[row].group[0].centre, reset.GetProfileRows(slot)[row].group[0].centre, 0.051);
            EXPECT_NEAR(read.GetProfileRows(slot)[row].group[3].drm, reset.GetProfileRows(slot)[row].group[3].drm, 0.051);
        }
    }
    std::vector<std::string> names;
    ASSERT_EQ(rig.facade->ReceiveProfileNames(&names), 0);
    EXPECT_EQ(names[2], reset.GetProfileName(2));
}

TEST_F(T310Facade, BackupRestoredAfterTheMeterChangedGivesBackItsMemory)
{
    CKZARN_TransferData reset = ResetTable();
    ASSERT_EQ(rig.facade->SendNamedProfilesT310(reset, "KEEP"), 0);

    // Backup: custom settings kept as a block, profiles written to CSV.
    ASSERT_EQ(rig.facade->RunCommand(5, 0), 0);
    T310TransferBlock custom;
    rig.facade->GetLMCtrl()->GetT310Block(&custom);
    ASSERT_EQ(rig.facade->RunCommand(3, 0), 0);
    const auto before = rig.t310Mode->SavedMemory();
    const std::string csv = rig.scratch.File("t310.csv");
    {
        std::ofstream out(csv, std::ios::binary);
        ASSERT_EQ(HeldProfiles().WriteText(out), 1);
    }

    // The meter changes: other profiles, other custom settings.
    CKZARN_TransferData other;
    for (int s = 0; s < 3; ++s) {
        other.SetProfileName(s, "X" + std::to_string(s));
        for (int row = 0; row < 35; ++row) other.GetProfileRows(s)[row].group[1] = {0.4, -5.0, -4.0, 4.0, 5.0};
    }
    ASSERT_EQ(rig.facade->SendProfilesT310(other, 7), 0);
    T310TransferBlock changed = custom;
    changed.SetWord(32, static_cast<std::uint16_t>(custom.GetWord(32) ^ 0x0101));
    changed.SetWord(34, static_cast<std::uint16_t>(custom.GetWord(34) ^ 0x0003));
    rig.facade->GetLMCtrl()->SetT310Block(&changed);
    ASSERT_EQ(rig.facade->RunCommand(6, 0), 0);
    ASSERT_NE(rig.t310Mode->SavedMemory(), before);

    // Restore.
    rig.facade->GetLMCtrl()->SetT310Block(&custom);
    ASSERT_EQ(rig.facade->RunCommand(6, 0), 0);
    CKZARN_TransferData restored;
    {
        std::ifstream in(csv, std::ios::binary);
        ASSERT_EQ(restored.ReadText(in), 1);
    }
    EXPECT_EQ(restored.GetFamily(), 0);
    ASSERT_EQ(rig.facade->SendProfilesT310(restored, 7), 0);
    EXPECT_EQ(rig.t310Mode->SavedMemory(), before);
    for (const auto& run : rig.watcher.Runs()) {
        EXPECT_EQ(run.doneCount, 1);
        EXPECT_EQ(run.progressAfterDone, 0);
    }
}

} // namespace
