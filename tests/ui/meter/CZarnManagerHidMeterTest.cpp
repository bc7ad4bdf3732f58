// The facade end to end against the simulated HID meters (T-140 family and T-520D): start with
// the first update check, identity and names, custom functions and user lists, profiles sent from
// profile files with a header, a backup to CSV, the meter's reset, and the backup restored.
// The simulator's memory has a member named like a Qt keyword macro, so Qt's keywords stay off here.
#define QT_NO_KEYWORDS
#include "core/CKZARN_Common.h"
#include "meter/CKZARN_TransferData.h"
#include "meter/ZarnMeterError.h"
#include "profilelib/ZarnLibString.h"
#include "profilelib/ZarnLib_Profile.h"
#include "profilelib/ZarnLib_ProfileFile.h"
#include "tests/ui/meter/FacadeRig.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

namespace {

struct HidFamily {
    const char* name;
    int family;
    int readProfiles, readInfo, readCustom, writeCustom, readUser, writeUser;
    int rows;
};

constexpr HidFamily kT140{"T140", 1, 13, 14, 15, 16, 17, 18, 52};
constexpr HidFamily kT520{"T520", 2, 23, 24, 25, 26, 27, 28, 67};

class HidFacade : public ::testing::TestWithParam<HidFamily> {
protected:
    void SetUp() override
    {
        rig.ServeVersionFile("[Version]\nAPL,5.2.0,2024/03/01\nT-520D,17,2024/02/01\n[Status]\nNormal\n");
        meter = GetParam().family == 1 ? rig.AddT140(0x11, &mode) : rig.AddT520(&mode);
        rig.Start();
    }

    // The held block of the family, decoded.
    CKZARN_TransferData ReadHeldProfiles()
    {
        CKZARN_TransferData table;
        if (GetParam().family == 1) {
            auto block = std::make_unique<T140TransferBlock>();
            rig.facade->GetLMCtrl()->GetT140Block(block.get());
            table.ReadT140Image(block.get());
        } else {
            auto block = std::make_unique<T520TransferBlock>();
            rig.facade->GetLMCtrl()->GetT520Block(block.get());
            table.ReadT520Image(block.get());
        }
        return table;
    }
    int Send(CKZARN_TransferData& table, int mask)
    {
        return GetParam().family == 1 ? rig.facade->SendProfilesT140(table, mask)
                                      : rig.facade->SendProfilesT520(table, mask);
    }
    int SendNamed(CKZARN_TransferData& table, const std::string& name, int model)
    {
        return GetParam().family == 1 ? rig.facade->SendNamedProfilesT140(table, name, model)
                                      : rig.facade->SendNamedProfilesT520(table, name, model);
    }
    int Reset() { return GetParam().family == 1 ? rig.facade->RunResetT140() : rig.facade->RunResetT520(); }

    // Every run so far: exactly one reply, no progress after it.
    void ExpectOrderlyRuns()
    {
        for (const auto& run : rig.watcher.Runs()) {
            EXPECT_EQ(run.doneCount, 1);
            EXPECT_EQ(run.progressAfterDone, 0);
        }
    }

    FacadeRig rig;
    std::shared_ptr<MeterSimulator> meter;
    SimRegisterMeter* mode = nullptr;
};

std::string HeaderOf(const SimRegisterMemory& m)
{
    std::string text;
    for (const std::uint16_t unit : m.header) {
        if ((unit & 0xFF) == 0) break;
        text += static_cast<char>(unit & 0xFF);
        if ((unit >> 8) == 0) break;
        text += static_cast<char>(unit >> 8);
    }
    return text;
}

// A meter memory in which every part differs from the factory state.
SimRegisterMemory Pattern(const SimRegisterMeter& m, bool t520)
{
    SimRegisterMemory p = m.Factory();
    const unsigned maxValue = t520 ? 5 : 3; // the largest list and item value the meter takes
    unsigned v = 1;
    for (auto& [code, value] : p.custom) value = v++ % (maxValue + 1);
    for (unsigned e = 0; e < 20; ++e) {
        p.list10[e] = {(e + 1) % (maxValue + 1), 0x1200 + 0x101 * e, t520 ? (0x800 - 0x31 * e) : (0xA0 + e), {}};
        p.list11[e] = {e % (maxValue + 1), 0xE000 - 0x211 * e, 0x60 + 5 * e, {}};
    }
    for (unsigned e = 0; e < 30; ++e) {
        p.list12[e] = {(e + 3) % (maxValue + 1), 0x3000 + e, 0, {}};
        p.list12[e].name[0] = static_cast<std::uint16_t>('F' | (('0' + e % 10) << 8));
    }
    p.header[0] = 'H' | ('D' << 8);
    for (std::size_t s = 0; s < p.slots.size(); ++s) {
        p.slots[s].name[0] = static_cast<std::uint16_t>('P' | (('0' + s) << 8));
        for (int row = 0; row < m.Rows(); ++row) {
            for (int g = 0; g < 4; ++g) {
                const int k = static_cast<int>(s) * 7 + row * 3 + g;
                p.Data(static_cast<int>(s), row, g, 0) = static_cast<std::uint8_t>(5 + k % 20);       // CPP - DRP
                p.Data(static_cast<int>(s), row, g, 1) = static_cast<std::uint8_t>(20 + k % 30);      // DRP
                p.Data(static_cast<int>(s), row, g, 2) = static_cast<std::uint8_t>(k % 11 - 5);       // centre
                p.Data(static_cast<int>(s), row, g, 3) = static_cast<std::uint8_t>(-20 - k % 30);     // DRM
                p.Data(static_cast<int>(s), row, g, 4) = (k % 13 == 0) ? 0x80 : static_cast<std::uint8_t>(-5 - k % 20);
            }
        }
    }
    return p;
}

TEST_P(HidFacade, StartChecksForUpdatesThenSeesTheMeterAndReadsItsIdentityAndNames)
{
    EXPECT_EQ(rig.facade->GetLatestAppVersion(), "5.2.0");
    EXPECT_EQ(rig.facade->GetRecordDate("T-520D"), "2024/02/01");
    ASSERT_FALSE(rig.server.Requests().empty());
    EXPECT_EQ(rig.server.Requests()[0].path, "/ver/version.txt");
    EXPECT_EQ(rig.mainWindow.Count(WM_ZARN_UPDATE_LIST_READY), 1);
    EXPECT_EQ(GetParam().family == 1 ? rig.facade->GetT140State() : rig.facade->GetT520State(), 1);

    SimRegisterMemory p = Pattern(*mode, GetParam().family == 2);
    mode->SetSaved(p);
    std::vector<std::string> names;
    ASSERT_EQ(rig.facade->ReceiveProfileNames(&names), 0);
    ASSERT_EQ(names.size(), 10u);
    for (std::size_t s = 0; s < names.size(); ++s) EXPECT_EQ(names[s], "P" + std::to_string(s));
    EXPECT_EQ(rig.facade->GetPhotometerType(), GetParam().family == 1 ? "T-140DR" : "T-520D");
    EXPECT_EQ(rig.facade->GetMeterRevision(), mode->GetIdentity().revision);
    // The identity read ends by itself.
    EXPECT_FALSE(rig.watcher.Last().pressedOk);
    ExpectOrderlyRuns();
}

TEST_P(HidFacade, BackupResetAndRestoreBringBackEveryPartOfTheMeter)
{
    const SimRegisterMemory original = Pattern(*mode, GetParam().family == 2);
    mode->SetSaved(original);
    const HidFamily& f = GetParam();

    // Custom functions and user lists, as the setting pages read them.
    ASSERT_EQ(rig.facade->RunCommand(f.readCustom, 0), 0);
    auto custom = std::make_unique<T520TransferBlock>();
    auto customT140 = std::make_unique<T140TransferBlock>();
    f.family == 1 ? rig.facade->GetLMCtrl()->GetT140Block(customT140.get()) : rig.facade->GetLMCtrl()->GetT520Block(custom.get());
    ASSERT_EQ(rig.facade->RunCommand(f.readUser, 0), 0);
    auto lists = std::make_unique<T520TransferBlock>();
    auto listsT140 = std::make_unique<T140TransferBlock>();
    f.family == 1 ? rig.facade->GetLMCtrl()->GetT140Block(listsT140.get()) : rig.facade->GetLMCtrl()->GetT520Block(lists.get());

    // The profiles, backed up to a CSV file.
    ASSERT_EQ(rig.facade->RunCommand(f.readProfiles, 0), 0);
    EXPECT_GT(rig.watcher.Last().progress.size(), 10u);
    const CKZARN_TransferData backup = ReadHeldProfiles();
    const std::string csv = rig.scratch.File("backup.csv");
    {
        std::ofstream out(csv, std::ios::binary);
        ASSERT_EQ(backup.WriteText(out), 1);
    }

    ASSERT_EQ(Reset(), 0);
    EXPECT_EQ(mode->ResetCount(), 1);
    EXPECT_EQ(mode->Saved(), mode->Factory());

    // Restore: settings from the blocks kept, profiles from the file.
    f.family == 1 ? rig.facade->GetLMCtrl()->SetT140Block(customT140.get()) : rig.facade->GetLMCtrl()->SetT520Block(custom.get());
    ASSERT_EQ(rig.facade->RunCommand(f.writeCustom, 0), 0);
    f.family == 1 ? rig.facade->GetLMCtrl()->SetT140Block(listsT140.get()) : rig.facade->GetLMCtrl()->SetT520Block(lists.get());
    ASSERT_EQ(rig.facade->RunCommand(f.writeUser, 0), 0);
    CKZARN_TransferData restored;
    {
        std::ifstream in(csv, std::ios::binary);
        ASSERT_EQ(restored.ReadText(in), 1);
    }
    EXPECT_EQ(restored.GetFamily(), f.family);
    ASSERT_EQ(Send(restored, 0x3FF), 0); // every slot; a backup holds no header text

    const SimRegisterMemory& now = mode->Saved();
    std::map<unsigned, unsigned> expectedCustom = original.custom;
    expectedCustom[0x006] = 0; // this item is never transferred: it keeps its reset value
    EXPECT_EQ(now.custom, expectedCustom);
    EXPECT_EQ(now.list10, original.list10);
    EXPECT_EQ(now.list11, original.list11);
    EXPECT_EQ(now.list12, original.list12);
    for (std::size_t s = 0; s < now.slots.size(); ++s) {
        SCOPED_TRACE(s);
        EXPECT_EQ(now.slots[s].name, original.slots[s].name);
        EXPECT_EQ(now.slots[s].data, original.slots[s].data);
    }
    EXPECT_TRUE(mode->Violations().empty());
    // Writes and the reset wait for OK; every run got one reply after all its progress.
    EXPECT_TRUE(rig.watcher.Last().pressedOk);
    ExpectOrderlyRuns();
}

void SaveProfileFile(const std::string& path, double shift)
{
    ZarnLib_Profile profile;
    profile.SetVersion(3);
    profile.SetSubVersion(1);
    for (const int iso : {100, 800}) {
        ZarnLib_PatchKey key;
        key.SetIso(iso);
        key.SetLightSource(0);
        const _ZARNLIB_VECTOR2 il[4] = {{-4.0 + shift, 20}, {-3.0, 35}, {3.0, 230}, {4.2 + shift, 245}};
        const _ZARNLIB_VECTOR2 rl[4] = {{-5.0, 20}, {-2.0 + shift, 35}, {2.0, 230}, {5.0, 245}};
        ASSERT_EQ(profile.SetTablePointsOrCreate(key, 0, il, 0.3), 0);
        ASSERT_EQ(profile.SetTablePointsOrCreate(key, 1, rl, -0.7), 0);
    }
    const ZarnLibString file(path.c_str());
    ASSERT_EQ(SaveProfile(&file, &profile), 0);
}

TEST_P(HidFacade, ProfilesFromProfileFilesArriveWithTheirNamesValuesAndHeader)
{
    const std::string folder = CKZARN_Common::GetFolderPath(2);
    std::filesystem::create_directories(folder);
    SaveProfileFile(folder + "/alpha.kpf", 0.0);
    SaveProfileFile(folder + "/beta.kpf", -0.5);
    CKZARN_TransferData table;
    ASSERT_EQ(table.BuildFromResultFile("alpha", 0), 1);
    ASSERT_EQ(table.BuildFromResultFile("beta", 1), 1);

    ASSERT_EQ(SendNamed(table, "STUDIO", 140), 0);
    EXPECT_EQ(table.GetFamily(), GetParam().family);
    // The named send carries the header as well as the slots.
    EXPECT_EQ(HeaderOf(mode->Saved()), "STUDIO");
    const int rows = GetParam().rows;
    ASSERT_EQ(rig.facade->RunCommand(GetParam().readProfiles, 0), 0);
    const CKZARN_TransferData read = ReadHeldProfiles();
    EXPECT_EQ(read.GetHeaderText(), "STUDIO");
    for (const int slot : {0, 1}) {
        EXPECT_EQ(read.GetProfileName(slot), table.GetProfileName(slot));
        for (int row = 0; row < rows; ++row) {
            for (int g = 0; g < 4; ++g) {
                const ExposureRange& a = table.GetProfileRows(slot)[row].group[g];
                const ExposureRange& b = read.GetProfileRows(slot)[row].group[g];
                EXPECT_NEAR(a.centre, b.centre, 0.051);
                EXPECT_NEAR(a.cpm, b.cpm, 0.051);
                EXPECT_NEAR(a.drm, b.drm, 0.051);
                EXPECT_NEAR(a.drp, b.drp, 0.051);
                EXPECT_NEAR(a.cpp, b.cpp, 0.051);
            }
        }
    }
    std::vector<std::string> names;
    ASSERT_EQ(rig.facade->ReceiveProfileNames(&names), 0);
    EXPECT_EQ(names[0], "alpha");
    EXPECT_EQ(names[1], "beta");
}

TEST_P(HidFacade, ANamedSendForAThreeSlotTableWritesTheFirstThreeSlotsOnly)
{
    const SimRegisterMemory original = Pattern(*mode, GetParam().family == 2);
    mode->SetSaved(original);
    CKZARN_TransferData table;
    for (int s = 0; s < 10; ++s) table.SetProfileName(s, "N" + std::to_string(s));
    ASSERT_EQ(SendNamed(table, "THREE", 310), 0);
    std::vector<std::string> names;
    ASSERT_EQ(rig.facade->ReceiveProfileNames(&names), 0);
    const std::vector<std::string> expected = {"N0", "N1", "N2", "P3", "P4", "P5", "P6", "P7", "P8", "P9"};
    EXPECT_EQ(names, expected);
    EXPECT_EQ(HeaderOf(mode->Saved()), "THREE");
}

TEST_P(HidFacade, AMeterGoneBeforeTheNextPollFailsWithTheOpenCodeShownUntilOk)
{
    meter->Unplug(); // the worker has not polled since: the family still counts as attached
    const int result = rig.facade->RunCommand(GetParam().readCustom, 0);
    EXPECT_EQ(result, static_cast<int>(ZarnMeterErrorOf(static_cast<MeterFamily>(GetParam().family), 0)));
    EXPECT_TRUE(rig.watcher.Last().pressedOk);
    EXPECT_TRUE(rig.watcher.Last().okFocused);
    EXPECT_TRUE(rig.watcher.Last().message.endsWith(
        CKZARN_Common::ToWidgetText(CKZARN_Common::GetErrorMessage(static_cast<unsigned>(result)))));
}

INSTANTIATE_TEST_SUITE_P(Families, HidFacade, ::testing::Values(kT140, kT520),
                         [](const auto& p) { return std::string(p.param.name); });

} // namespace
