// The identity commands of the HID families against simulated meters: only a failed exchange ends
// the identity step; an answer in an unexpected form shows the query's own text and the profile
// names are still read.
#include "tests/meter/WorkerRig.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace {

struct IdentityCase {
    const char* name;
    bool t520;
    unsigned modelCode;
    std::function<void(SimHidMeter&)> arrange;
    // Expected outcome.
    bool fails;             // the family's set-up code, identity and held block unchanged
    const char* model;      // shown model name
    const char* versionA;   // stored version texts
    const char* versionB;
    int state;              // meter state
    std::size_t infoPosts;  // identity notices to the main window
};

void FailExchange(SimHidMeter& m, const char* command)
{
    m.meter->FailCommand(command);
}

const std::vector<IdentityCase>& Cases()
{
    static const std::vector<IdentityCase> cases = {
        {"T140RadioModel", false, 0x11, nullptr, false, "T-140DR", "15.105", "20.218", 1, 2},
        {"T140UnknownModelCode", false, 0x14, nullptr, false, "---", "", "", 1, 1},
        {"T140ModelBusyPastTheWait", false, 0x11,
         [](SimHidMeter& m) { m.meter->SetBusyAnswers("G00000", 1000); }, false, "---", "", "", 1, 1},
        {"T140VersionInAnUnexpectedForm", false, 0x12,
         [](SimHidMeter& m) { m.registers->GetIdentity().versionALead = "4135"; }, false, "T-140DR-EL", "",
         "20.218", 1, 2},
        {"T140SecondVersionQueryNotHexadecimal", false, 0x13,
         [](SimHidMeter& m) { m.registers->GetIdentity().versionBLead = "2230"; }, false, "T-140DR-PX", "15.105",
         "", 1, 2},
        {"T140StateQueryFails", false, 0x11, [](SimHidMeter& m) { FailExchange(m, "G00006"); }, false, "T-140DR",
         "15.105", "20.218", 999, 2},
        {"T140ModelExchangeFails", false, 0x11, [](SimHidMeter& m) { FailExchange(m, "G00000"); }, true, "", "", "",
         999, 0},
        {"T140RevisionExchangeFails", false, 0x11, [](SimHidMeter& m) { FailExchange(m, "G00001"); }, true, "", "",
         "", 999, 0},
        {"T140VersionAExchangeFails", false, 0x11, [](SimHidMeter& m) { FailExchange(m, "G0000A"); }, true, "", "",
         "", 999, 0},
        {"T140VersionBExchangeFails", false, 0x11, [](SimHidMeter& m) { FailExchange(m, "G00019"); }, true, "", "",
         "", 999, 0},
        {"T520Model", true, 0x20, nullptr, false, "T-520D", "15.105", "20.218", 1, 2},
        {"T520UnknownModelCode", true, 0x21, nullptr, false, "---", "15.105", "20.218", 1, 2},
        {"T520ModelBusyPastTheWait", true, 0x20,
         [](SimHidMeter& m) { m.meter->SetBusyAnswers("G00000", 1000); }, false, "---", "15.105", "20.218", 1, 2},
        {"T520VersionInAnUnexpectedForm", true, 0x20,
         [](SimHidMeter& m) { m.registers->GetIdentity().versionALead = "5135"; }, false, "T-520D", "", "20.218", 1, 2},
        {"T520NotReadyKeepsThreeTexts", true, 0x20, [](SimHidMeter& m) { m.registers->GetIdentity().status = 0; },
         false, "T-520D", "", "", 1, 1},
        {"T520ModelExchangeFails", true, 0x20, [](SimHidMeter& m) { FailExchange(m, "G00000"); }, true, "", "", "",
         999, 0},
        {"T520RevisionExchangeFails", true, 0x20, [](SimHidMeter& m) { FailExchange(m, "G00001"); }, true, "", "",
         "", 999, 0},
        {"T520VersionAExchangeFails", true, 0x20, [](SimHidMeter& m) { FailExchange(m, "G0001A"); }, true, "", "",
         "", 999, 0},
        {"T520VersionBExchangeFails", true, 0x20, [](SimHidMeter& m) { FailExchange(m, "G00009"); }, true, "", "",
         "", 999, 0},
    };
    return cases;
}

class WorkerIdentity : public ::testing::TestWithParam<IdentityCase> {};

TEST_P(WorkerIdentity, ShowsTheQueriesTextsAndFailsOnlyOnAFailedExchange)
{
    const IdentityCase& c = GetParam();
    WorkerRig rig;
    SimHidMeter m;
    if (c.t520) {
        m = rig.AddT520("/dev/hidraw2");
        m.registers->GetIdentity().modelCode = c.modelCode;
    } else {
        m = rig.AddT140("/dev/hidraw1", c.modelCode);
    }
    // Slot 0 of the meter is named, so that a read of the names shows in the held block.
    SimRegisterMemory memory = m.registers->Saved();
    memory.slots[0].name[0] = 'N';
    m.registers->SetSaved(memory);
    if (c.arrange) c.arrange(m);
    rig.StartPolling();

    const UINT infoMessage = c.t520 ? WM_ZARN_T520_INFO : WM_ZARN_T140_INFO;
    const std::size_t profileName = c.t520 ? T520TransferBlock::kProfiles : T140TransferBlock::kProfiles;
    if (c.t520) {
        T520TransferBlock block;
        block.bytes.fill(0x5A);
        rig.ctrl->SetT520Block(&block);
    } else {
        T140TransferBlock block;
        block.bytes.fill(0x5A);
        rig.ctrl->SetT140Block(&block);
    }

    const LPARAM result = rig.Run(c.t520 ? ZARN_CMD_T520_READ_INFO : ZARN_CMD_T140_READ_INFO);
    std::uint8_t firstNameByte = 0;
    if (c.t520) {
        T520TransferBlock held;
        rig.ctrl->GetT520Block(&held);
        firstNameByte = held.bytes[profileName];
    } else {
        T140TransferBlock held;
        rig.ctrl->GetT140Block(&held);
        firstNameByte = held.bytes[profileName];
    }

    if (c.fails) {
        EXPECT_EQ(result, static_cast<LPARAM>(c.t520 ? ZARN_ERR_T520_SETUP : ZARN_ERR_T140_SETUP));
        EXPECT_EQ(firstNameByte, 0x5A); // the names were not read
    } else {
        EXPECT_EQ(result, 0);
        EXPECT_EQ(firstNameByte, 'N');
    }
    EXPECT_EQ(rig.ctrl->GetModelName(), c.model);
    EXPECT_EQ(rig.ctrl->GetVersionA(), c.versionA);
    EXPECT_EQ(rig.ctrl->GetVersionB(), c.versionB);
    EXPECT_EQ(rig.ctrl->GetMeterState(), c.state);
    EXPECT_EQ(rig.sink.PostsOf(infoMessage).size(), c.infoPosts);
}

INSTANTIATE_TEST_SUITE_P(Table, WorkerIdentity, ::testing::ValuesIn(Cases()),
                         [](const ::testing::TestParamInfo<IdentityCase>& p) { return p.param.name; });

} // namespace
