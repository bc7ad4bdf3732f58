// Identity, state and readiness queries of the two HID families, and the T-520D's revision-dependent
// custom items.
#include "tests/meter/HidTranscripts.h"

#include "tests/meter/HidMeterFamilyTraits.h"

#include <gtest/gtest.h>

#include <type_traits>

namespace {

using T520Rig = HidMeterRig<CCommT520>;
using T140Rig = HidMeterRig<CCommT140>;

std::unique_ptr<T520Rig> OpenT520(const SimRegisterMeter::Identity& id = {})
{
    auto rig = std::make_unique<T520Rig>(std::make_unique<SimRegisterMeter>(true, id), CCommT520::kProductId);
    EXPECT_TRUE(rig->Open());
    return rig;
}

std::unique_ptr<T140Rig> OpenT140(const SimRegisterMeter::Identity& id)
{
    auto rig = std::make_unique<T140Rig>(std::make_unique<SimRegisterMeter>(false, id), CCommT140::kProductId);
    EXPECT_TRUE(rig->Open());
    return rig;
}

TEST(HidQueries, ModelCodesAndNames)
{
    struct Case {
        bool t520;
        unsigned field;
        int code;
        const char* name;
    };
    const Case cases[] = {
        {true, 0x20, 8, "T-520D"},   {true, 0x10, 999, "---"},       {false, 0x10, 4, "T-140D"},
        {false, 0x11, 5, "T-140DR"}, {false, 0x12, 6, "T-140DR-EL"}, {false, 0x13, 7, "T-140DR-PX"},
        {false, 0x14, 999, "---"},   {false, 0x20, 999, "---"},
    };
    for (const Case& c : cases) {
        SimRegisterMeter::Identity id;
        id.modelCode = c.field;
        std::string name;
        int code = 0;
        if (c.t520) {
            auto rig = OpenT520(id);
            code = rig->comm.GetModelCode();
            rig->comm.GetModelName(&name);
        } else {
            auto rig = OpenT140(id);
            code = rig->comm.GetModelCode();
            rig->comm.GetModelName(&name);
        }
        EXPECT_EQ(code, c.code) << c.field;
        EXPECT_EQ(name, c.name) << c.field;
    }
}

TEST(HidQueries, ModelNameWaitsWhileBusy)
{
    auto rig = OpenT520();
    rig->meter->SetBusyAnswers("G00000", 3);
    EXPECT_EQ(rig->comm.GetModelCode(), 998);
    std::string name;
    const std::uint64_t start = rig->system.Clock().NowMs();
    EXPECT_TRUE(rig->comm.GetModelName(&name));
    EXPECT_EQ(name, "T-520D");
    EXPECT_EQ(rig->system.Clock().NowMs() - start, 400u); // two more busy answers, 200 ms apart

    rig->meter->SetBusyAnswers("G00000", 1000);
    EXPECT_FALSE(rig->comm.GetModelName(&name));
    EXPECT_EQ(name, "---");
    EXPECT_LE(rig->Log().size(), 4u + 27u) << "busy polling stops after about 5000 ms";
}

TEST(HidQueries, T520StatusAndVariantAreKeptForOtherThreads)
{
    static_assert(std::is_same_v<decltype(g_T520ModuleStatus), std::atomic<int>>);
    static_assert(std::is_same_v<decltype(g_T520ModuleVariant), std::atomic<int>>);
    struct Case {
        unsigned status;
        unsigned variant;
        int wantStatus;
        int wantVariant;
    };
    const Case cases[] = {{0, 0, 0, 1}, {1, 1, 1, 3}, {0x0F, 3, 998, 2}, {1, 4, 1, 4},
                          {1, 5, 1, 5},  {7, 2, 999, 0}, {1, 0x20, 1, 0}};
    for (const Case& c : cases) {
        SimRegisterMeter::Identity id;
        id.status = c.status;
        id.variant = c.variant;
        auto rig = OpenT520(id);
        g_T520ModuleStatus = -1;
        g_T520ModuleVariant = -1;
        EXPECT_EQ(rig->comm.GetStatus(), c.wantStatus);
        EXPECT_EQ(g_T520ModuleStatus.load(), c.wantStatus);
        EXPECT_EQ(g_T520ModuleVariant.load(), c.wantVariant);
        EXPECT_EQ(rig->Log(), (Transcript{"G00007", "G0000B"}));
    }
    // A failed status query touches neither value.
    auto rig = OpenT520();
    g_T520ModuleStatus = -1;
    g_T520ModuleVariant = -1;
    rig->meter->InjectFault({MeterFaultKind::WrongLetter, 0, 0});
    EXPECT_EQ(rig->comm.GetStatus(), 999);
    EXPECT_EQ(g_T520ModuleStatus.load(), -1);
    EXPECT_EQ(g_T520ModuleVariant.load(), -1);
}

TEST(HidQueries, VersionTexts)
{
    struct Case {
        const char* lead;
        unsigned major, minor;
        const char* a;
        const char* b;
    };
    const Case cases[] = {
        {"3135", 0, 0, "15.", "15.000"},
        {"3135", 1, 5, "15.105", "15.105"},
        {"3230", 2, 0x12, "20.218", "20.218"},
        {"3130", 0x0A, 0x0C, "10.1012", "10.1012"},
        {"4135", 1, 5, "", ""}, // character 2 must be "3"
    };
    for (const Case& c : cases) {
        SimRegisterMeter::Identity id;
        id.versionALead = id.versionBLead = c.lead;
        id.versionAMajor = id.versionBMajor = c.major;
        id.versionAMinor = id.versionBMinor = c.minor;
        auto rig = OpenT520(id);
        std::string a = "x", b = "x";
        rig->comm.GetVersionA(&a);
        rig->comm.GetVersionB(&b);
        EXPECT_EQ(a, c.a) << c.lead << " " << c.major << " " << c.minor;
        EXPECT_EQ(b, c.b) << c.lead << " " << c.major << " " << c.minor;
    }
}

TEST(HidQueries, DateRevisionStateAndInfo)
{
    auto rig = OpenT520();
    std::string text;
    EXPECT_TRUE(rig->comm.GetDateString(&text));
    EXPECT_EQ(text, "2024/03/15");
    EXPECT_TRUE(rig->comm.GetRevision(&text));
    EXPECT_EQ(text, "16");
    EXPECT_EQ(rig->comm.GetState(), 1);
    EXPECT_TRUE(rig->comm.GetInfo11String(&text));
    EXPECT_EQ(text, "A1");
    EXPECT_EQ(rig->Log(), (Transcript{"G00002", "G00003", "G00001", "G00006", "G00011"}));

    // The second date query fails: the year and its "/" remain.
    rig->meter->ResetExchangeCount();
    rig->meter->InjectFault({MeterFaultKind::NoReply, 1, 0});
    rig->comm.GetDateString(&text);
    EXPECT_EQ(text, "2024/");
    // Date replies in lower case are refused, other replies are not.
    rig->meter->ResetExchangeCount();
    rig->meter->ClearFaults();
    rig->meter->InjectFault({MeterFaultKind::LowerCase, 0, 0});
    rig->meter->InjectFault({MeterFaultKind::LowerCase, 2, 0});
    rig->comm.GetDateString(&text);
    EXPECT_EQ(text, "");
    EXPECT_TRUE(rig->comm.GetRevision(&text));
    EXPECT_EQ(text, "16");
}

TEST(HidQueries, T520CustomItemsDependOnRevision)
{
    struct Case {
        const char* revision;
        int items;
    };
    for (const Case& c : {Case{"15", 32}, Case{"16", 34}, Case{"2A", 34}, Case{"09", 32}}) {
        SimRegisterMeter::Identity id;
        id.revision = c.revision;
        auto rig = OpenT520(id);
        rig->sim->SetSaved(PatternMemory(*rig->sim, true));
        T520TransferBlock block;
        block.bytes.fill(0xEE);
        ASSERT_TRUE(rig->comm.ReadCustomSettings(&block));
        EXPECT_EQ(rig->Total(), c.items);
        EXPECT_EQ(static_cast<int>(rig->Log().size()), 2 + 2 * c.items);
        const bool moved = c.items == 34;
        EXPECT_EQ(block.bytes[64] != 0xEE, moved) << c.revision;
        EXPECT_EQ(block.bytes[65] != 0xEE, moved) << c.revision;
    }
}

TEST(HidQueries, ValueAboveTheFamilyRangeFailsTheRead)
{
    // 4 is a T-520D value but not a T-140 one.
    for (bool t520 : {true, false}) {
        std::unique_ptr<SimRegisterMeter> mode = t520 ? SimRegisterMeter::T520() : SimRegisterMeter::T140();
        SimRegisterMemory m = mode->Factory();
        m.custom[0x003] = 4;
        mode->SetSaved(m);
        if (t520) {
            T520Rig rig(std::move(mode), CCommT520::kProductId);
            ASSERT_TRUE(rig.Open());
            T520TransferBlock block;
            EXPECT_TRUE(rig.comm.ReadCustomSettings(&block));
            EXPECT_EQ(block.bytes[35], 4);
        } else {
            T140Rig rig(std::move(mode), CCommT140::kProductId);
            ASSERT_TRUE(rig.Open());
            T140TransferBlock block;
            EXPECT_FALSE(rig.comm.ReadCustomSettings(&block));
        }
    }
}

TEST(HidQueries, T140ReadinessDependsOnRevision)
{
    // The simulator answers one fixed status; busy answers come first.
    struct Run {
        const char* revision;
        int busy;
        unsigned status;
        bool ready;
        std::uint64_t minMs, maxMs;
    };
    const Run runs[] = {
        {"17", 0, 1, true, 3500, 3800},  // polled for about 3 s even when ready at once
        {"16", 0, 1, true, 500, 500},    // first answer decides
        {"9", 0, 1, true, 500, 500},     // revisions compare as numbers: 9 is before 17
        {"100", 0, 1, true, 3500, 3800}, // and 100 after it
        {"16", 0, 0, false, 500, 500},
        {"16", 3, 1, true, 1100, 1100},  // three busy answers, 200 ms apart
        {"17", 100, 1, false, 5500, 5800}, // busy for more than 5 s
    };
    for (const Run& r : runs) {
        SimRegisterMeter::Identity id;
        id.modelCode = 0x11;
        id.revision = r.revision;
        id.status = r.status;
        auto rig = OpenT140(id);
        rig->meter->SetBusyAnswers("G00007", r.busy);
        const std::uint64_t start = rig->system.Clock().NowMs();
        EXPECT_EQ(rig->comm.WaitUntilReady(r.revision) != FALSE, r.ready) << r.revision << " busy " << r.busy;
        const std::uint64_t spent = rig->system.Clock().NowMs() - start;
        EXPECT_GE(spent, r.minMs) << r.revision << " busy " << r.busy;
        EXPECT_LE(spent, r.maxMs) << r.revision << " busy " << r.busy;
        for (const std::string& c : rig->Log()) EXPECT_EQ(c, "G00007") << "no variant query on a T-140";
    }
}

TEST(HidQueries, T520ReadinessIgnoresRevision)
{
    auto rig = OpenT520();
    rig->meter->SetBusyAnswers("G00007", 2);
    const std::uint64_t start = rig->system.Clock().NowMs();
    EXPECT_TRUE(rig->comm.WaitUntilReady("17"));
    EXPECT_EQ(rig->system.Clock().NowMs() - start, 900u);
}

} // namespace
