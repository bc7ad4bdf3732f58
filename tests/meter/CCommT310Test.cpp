// The T-310 link against the simulated meter behind a pseudo-terminal: the real termios port, the
// real sysfs discovery, the command set's exact transcripts, progress, round trips, and every fault
// kind at every exchange of one read and one write operation.
#include "meter/CCommT310.h"
#include "tests/support/SimT310Rig.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {

constexpr UINT kProgressMessage = WM_USER + 2;

class RecordingSink final : public MessageSink {
public:
    struct Message {
        UINT message;
        WPARAM wParam;
        LPARAM lParam;
    };
    BOOL PostMessage(HWND, UINT message, WPARAM wParam, LPARAM lParam) override
    {
        messages.push_back({message, wParam, lParam});
        return TRUE;
    }
    BOOL IsWindow(HWND window) const override { return window ? TRUE : FALSE; }
    std::vector<Message> messages;
};

std::string Hex(unsigned value, int width)
{
    char text[8];
    std::snprintf(text, sizeof text, "%0*X", width, value);
    return text;
}

// The commands that move the words of one run, as the meter must see them.
void ExpectReadRun(std::vector<std::string>& log, unsigned first, unsigned last)
{
    for (unsigned a = first; a <= last; ++a) {
        log.push_back("L0" + Hex(a, 3) + "1");
        log.push_back("L00002");
    }
}

// The three runs of each slot that travel (relative word numbers).
constexpr unsigned kRuns[3][2] = {{0x000, 0x00F}, {0x010, 0x127}, {0x12C, 0x1B7}};

unsigned SlotBase(int slot)
{
    return 0x200 + 0x200 * static_cast<unsigned>(slot);
}

// A block whose every word is different and nonzero.
T310TransferBlock PatternBlock(std::uint16_t seed)
{
    T310TransferBlock block;
    for (std::size_t i = 0; i < T310TransferBlock::kSize; i += 2) {
        block.SetWord(i, static_cast<std::uint16_t>(seed + i * 7 + 1));
    }
    return block;
}

std::vector<std::string> ExpectedWrites(const T310TransferBlock& block, int mask)
{
    std::vector<std::string> log;
    auto writeRun = [&](unsigned first, unsigned last) {
        for (unsigned a = first; a <= last; ++a) {
            log.push_back("L0" + Hex(a, 3) + "1");
            log.push_back("L" + Hex(block.GetWord(T310TransferBlock::OffsetOfAddress(a)), 4) + "3");
        }
    };
    if (mask & 0x8) {
        writeRun(0x100, 0x10F);
    }
    for (int slot = 0; slot < 3; ++slot) {
        if (mask & (1 << slot)) {
            for (const auto& run : kRuns) {
                writeRun(SlotBase(slot) + run[0], SlotBase(slot) + run[1]);
            }
        }
    }
    log.push_back("L00008");
    return log;
}

class T310LinkTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(rig.IsReady());
        rig.Mode().FillPattern(0x5A5A);
        rig.Link().SetMessageSink(&sink);
        ASSERT_TRUE(rig.OpenAndPrepare());
        rig.Link().SetNotifyWindow(HWND(7), kProgressMessage);
    }

    std::vector<std::pair<WPARAM, LPARAM>> Progress() const
    {
        std::vector<std::pair<WPARAM, LPARAM>> steps;
        for (const auto& m : sink.messages) {
            EXPECT_EQ(m.message, kProgressMessage);
            steps.emplace_back(m.wParam, m.lParam);
        }
        return steps;
    }

    SimT310Rig rig;
    RecordingSink sink;
};

TEST_F(T310LinkTest, ReadCustomSettingsSendsTheTwoWordsAndFillsOnlyTheirBytes)
{
    T310TransferBlock block;
    block.bytes.fill(0xEE);
    int err = -1;
    ASSERT_TRUE(rig.Link().ReadCustomSettings(&block, &err));
    EXPECT_EQ(err, 0);
    EXPECT_EQ(rig.Meter().Log(), (std::vector<std::string>{"L01101", "L00002", "L01111", "L00002"}));
    EXPECT_EQ(block.GetWord(32), rig.Mode().SavedWord(0x110));
    EXPECT_EQ(block.GetWord(34), rig.Mode().SavedWord(0x111));
    for (std::size_t i = 0; i < T310TransferBlock::kSize; ++i) {
        if (i < 32 || i >= 36) {
            ASSERT_EQ(block.bytes[i], 0xEE) << "byte " << i;
        }
    }
    EXPECT_EQ(Progress(), (std::vector<std::pair<WPARAM, LPARAM>>{{1, 2}, {2, 2}}));
}

TEST_F(T310LinkTest, WriteCustomSettingsCommitsOnceAndPostsFourStepsAgainstFour)
{
    T310TransferBlock block;
    block.SetWord(32, 0x1234);
    block.SetWord(34, 0xBEEF);
    ASSERT_TRUE(rig.Link().WriteCustomSettings(&block, nullptr));
    EXPECT_EQ(rig.Meter().Log(), (std::vector<std::string>{"L01101", "L12343", "L01111", "LBEEF3", "L00008"}));
    EXPECT_EQ(rig.Mode().SavedWord(0x110), 0x1234);
    EXPECT_EQ(rig.Mode().SavedWord(0x111), 0xBEEF);
    EXPECT_EQ(Progress(), (std::vector<std::pair<WPARAM, LPARAM>>{{1, 4}, {2, 4}, {3, 4}, {4, 4}}));
}

TEST_F(T310LinkTest, ReadProfileNamesReadsTheSixteenNameWordsOfEachSlot)
{
    T310TransferBlock block;
    ASSERT_TRUE(rig.Link().ReadProfileNames(&block, nullptr));
    std::vector<std::string> expected;
    for (int slot = 0; slot < 3; ++slot) {
        ExpectReadRun(expected, SlotBase(slot), SlotBase(slot) + 0xF);
    }
    EXPECT_EQ(rig.Meter().Log(), expected);
    EXPECT_EQ(rig.Link().ProgressTotal(), 48);
    EXPECT_EQ(rig.Link().ProgressCount(), 48);
    for (int slot = 0; slot < 3; ++slot) {
        for (unsigned w = 0; w < 16; ++w) {
            EXPECT_EQ(block.GetWord(T310TransferBlock::SlotOffset(slot) + 2 * w), rig.Mode().SavedWord(SlotBase(slot) + w));
        }
    }
}

TEST_F(T310LinkTest, ReadAllProfilesReadsHeaderAndThreeRunsPerSlotAndLeavesTheGapsAlone)
{
    T310TransferBlock block;
    block.bytes.fill(0xC3);
    ASSERT_TRUE(rig.Link().ReadAllProfiles(&block, nullptr));
    std::vector<std::string> expected;
    ExpectReadRun(expected, 0x100, 0x10F);
    for (int slot = 0; slot < 3; ++slot) {
        for (const auto& run : kRuns) {
            ExpectReadRun(expected, SlotBase(slot) + run[0], SlotBase(slot) + run[1]);
        }
    }
    EXPECT_EQ(rig.Meter().Log(), expected);
    EXPECT_EQ(expected.size(), 2648u);
    EXPECT_EQ(rig.Link().ProgressTotal(), 1324);
    EXPECT_EQ(rig.Link().ProgressCount(), 1324);
    // Custom words and the slot words that never travel keep the block's bytes.
    EXPECT_EQ(block.GetWord(32), 0xC3C3);
    EXPECT_EQ(block.GetWord(34), 0xC3C3);
    for (int slot = 0; slot < 3; ++slot) {
        for (unsigned w : {0x128u, 0x12Bu, 0x1B8u, 0x1FFu}) {
            EXPECT_EQ(block.GetWord(T310TransferBlock::OffsetOfAddress(SlotBase(slot) + w)), 0xC3C3) << slot << " " << w;
        }
        EXPECT_EQ(block.GetWord(T310TransferBlock::OffsetOfAddress(SlotBase(slot) + 0x127)),
                  rig.Mode().SavedWord(SlotBase(slot) + 0x127));
    }
}

struct WriteMaskCase {
    int mask;
    int total;
};

class T310WriteMaskTest : public T310LinkTest, public ::testing::WithParamInterface<WriteMaskCase> {};

TEST_P(T310WriteMaskTest, WritesTheChosenRunsInOrderThenOneCommit)
{
    const WriteMaskCase c = GetParam();
    const T310TransferBlock block = PatternBlock(static_cast<std::uint16_t>(c.mask * 31));
    ASSERT_TRUE(rig.Link().WriteProfiles(&block, c.mask, nullptr));
    EXPECT_EQ(rig.Meter().Log(), ExpectedWrites(block, c.mask));
    EXPECT_EQ(rig.Link().ProgressTotal(), c.total);
    EXPECT_EQ(rig.Link().ProgressCount(), c.total); // every word, the commit and the completion
    EXPECT_EQ(rig.Mode().Commits(), 1);
}

INSTANTIATE_TEST_SUITE_P(Masks, T310WriteMaskTest,
                         ::testing::Values(WriteMaskCase{0x9, 454}, WriteMaskCase{0x6, 874}, WriteMaskCase{0x8, 18},
                                           WriteMaskCase{0xF, 1326}));

TEST_F(T310LinkTest, WriteProfilesWithMaskZeroSendsNothing)
{
    const T310TransferBlock block;
    EXPECT_FALSE(rig.Link().WriteProfiles(&block, 0, nullptr));
    EXPECT_TRUE(rig.Meter().Log().empty());
}

TEST_F(T310LinkTest, WrittenProfilesReadBackIdentically)
{
    const T310TransferBlock written = PatternBlock(0x1357);
    ASSERT_TRUE(rig.Link().WriteProfiles(&written, 0xF, nullptr));
    ASSERT_TRUE(rig.Link().WriteCustomSettings(&written, nullptr));
    T310TransferBlock read;
    ASSERT_TRUE(rig.Link().ReadAllProfiles(&read, nullptr));
    ASSERT_TRUE(rig.Link().ReadCustomSettings(&read, nullptr));
    for (unsigned a = 0x100; a <= 0x111; ++a) {
        const std::size_t off = T310TransferBlock::OffsetOfAddress(a);
        ASSERT_EQ(read.GetWord(off), written.GetWord(off)) << std::hex << a;
    }
    for (int slot = 0; slot < 3; ++slot) {
        for (const auto& run : kRuns) {
            for (unsigned a = SlotBase(slot) + run[0]; a <= SlotBase(slot) + run[1]; ++a) {
                const std::size_t off = T310TransferBlock::OffsetOfAddress(a);
                ASSERT_EQ(read.GetWord(off), written.GetWord(off)) << std::hex << a;
            }
        }
    }
}

TEST_F(T310LinkTest, CommitPollsEveryTwentyMillisecondsWhileSaving)
{
    rig.Meter().SetCommitStatuses({3, 3, 3, 2});
    T310TransferBlock block;
    const auto before = rig.Clock().NowMs();
    ASSERT_TRUE(rig.Link().WriteCustomSettings(&block, nullptr));
    const auto log = rig.Meter().Log();
    ASSERT_EQ(log.size(), 8u);
    EXPECT_EQ(log[4], "L00008");
    EXPECT_EQ(log[5], "L00007");
    EXPECT_EQ(log[7], "L00007");
    EXPECT_EQ(rig.Clock().NowMs() - before, 60u);
    EXPECT_EQ(rig.Link().ProgressCount(), 4);
}

TEST_F(T310LinkTest, CommitStatusOneOrFifteenFailsAndKeepsTheSavedMemory)
{
    for (int status : {1, 15}) {
        SCOPED_TRACE(status);
        rig.Meter().SetCommitStatuses({3, status});
        const auto before = rig.Mode().SavedMemory();
        const T310TransferBlock block = PatternBlock(9);
        int err = -1;
        EXPECT_FALSE(rig.Link().WriteProfiles(&block, 0x1, &err));
        EXPECT_EQ(err, 0);
        EXPECT_EQ(rig.Mode().SavedMemory(), before);
    }
}

TEST_F(T310LinkTest, CommitThatNeverEndsIsGivenUpAfterItsDeadline)
{
    rig.Meter().SetCommitStatuses({3});
    T310TransferBlock block;
    const auto before = rig.Clock().NowMs();
    EXPECT_FALSE(rig.Link().WriteCustomSettings(&block, nullptr));
    const auto elapsed = rig.Clock().NowMs() - before;
    EXPECT_GE(elapsed, CCommT310::kCommitDeadlineMs);
    EXPECT_LT(elapsed, CCommT310::kCommitDeadlineMs + 1000);
    EXPECT_EQ(rig.Mode().Commits(), 0);
}

struct ModelCase {
    char digit;
    int code;
    const char* name;
};

TEST_F(T310LinkTest, ModelCodeAndName)
{
    for (const ModelCase c : {ModelCase{'2', 2, "T-310D/DR"}, ModelCase{'3', 3, "T-310CINE"}, ModelCase{'4', 999, "---"},
                              ModelCase{'X', 999, "---"}}) {
        SCOPED_TRACE(c.digit);
        rig.Mode().SetModelDigit(c.digit);
        rig.Meter().ClearLog();
        EXPECT_EQ(rig.Link().GetModelCode(nullptr), c.code);
        std::string name;
        rig.Link().GetModelName(&name, nullptr);
        EXPECT_EQ(name, c.name);
        EXPECT_EQ(rig.Meter().Log(), (std::vector<std::string>{"G00000", "G00000"}));
    }
}

TEST_F(T310LinkTest, RevisionAndDate)
{
    rig.Mode().SetRevision("16");
    rig.Mode().SetDate("20231107");
    std::string revision;
    std::string date;
    EXPECT_TRUE(rig.Link().GetRevision(&revision, nullptr));
    EXPECT_TRUE(rig.Link().GetDateString(&date, nullptr));
    EXPECT_EQ(revision, "16");
    EXPECT_EQ(date, "2023/11/07");
    EXPECT_EQ(rig.Meter().Log(), (std::vector<std::string>{"G00001", "G00002", "G00003"}));
}

TEST_F(T310LinkTest, DateRepliesMustCarryAnUpperCaseLetterOthersMayNot)
{
    // Exchange indices: 0 revision, 1 first date query, 2 second date query.
    struct Case {
        std::uint64_t index;
        const char* revision;
        const char* date;
    };
    for (const Case c : {Case{0, "15", "2024/03/15"}, Case{1, "15", ""}, Case{2, "15", "2024/"}}) {
        SCOPED_TRACE(c.index);
        rig.Meter().ClearFaults();
        rig.Meter().ResetExchangeCount();
        rig.Meter().InjectFault({MeterFaultKind::LowerCase, c.index, 0});
        std::string revision;
        std::string date;
        rig.Link().GetRevision(&revision, nullptr);
        rig.Link().GetDateString(&date, nullptr);
        EXPECT_EQ(revision, c.revision);
        EXPECT_EQ(date, c.date);
    }
}

TEST_F(T310LinkTest, OpenDeviceSetsTheLineAndTheLinkTimeOuts)
{
    ASSERT_TRUE(rig.Link().OpenDevice(nullptr));
    DCB dcb;
    ASSERT_TRUE(rig.Link().GetCommState(&dcb, nullptr));
    EXPECT_EQ(dcb.BaudRate, 115200u);
    EXPECT_EQ(dcb.ByteSize, 8);
    EXPECT_EQ(dcb.Parity, NOPARITY);
    EXPECT_EQ(dcb.StopBits, ONESTOPBIT);
    EXPECT_EQ(dcb.fParity, 0u);
    COMMTIMEOUTS timeouts;
    ASSERT_TRUE(rig.Link().GetCommTimeouts(&timeouts));
    EXPECT_EQ(timeouts, (COMMTIMEOUTS{100, 20, 200, 20, 200}));
}

TEST_F(T310LinkTest, CloseClearsTheProgressTarget)
{
    T310TransferBlock block;
    ASSERT_TRUE(rig.Link().ReadCustomSettings(&block, nullptr));
    ASSERT_TRUE(rig.Link().Close(nullptr));
    EXPECT_EQ(rig.Link().ProgressCount(), 0);
    EXPECT_EQ(rig.Link().ProgressTotal(), 0);
    // Without a target nothing is posted, and a closed link fails every exchange.
    sink.messages.clear();
    EXPECT_FALSE(rig.Link().ReadCustomSettings(&block, nullptr));
    ASSERT_TRUE(rig.OpenAndPrepare());
    ASSERT_TRUE(rig.Link().ReadCustomSettings(&block, nullptr));
    EXPECT_TRUE(sink.messages.empty());
}

TEST_F(T310LinkTest, UncommittedWordsOfAFailedWriteAreNotCommittedByTheNextOne)
{
    // The first write stops at its second word; the link is closed as the worker does.
    rig.Meter().InjectFault({MeterFaultKind::NoReply, 3, 0});
    T310TransferBlock bad;
    bad.SetWord(32, 0x1111);
    bad.SetWord(34, 0x2222);
    EXPECT_FALSE(rig.Link().WriteCustomSettings(&bad, nullptr));
    rig.Link().Close(nullptr);
    rig.Meter().ClearFaults();
    // The next write only touches the header; word 0x110 must keep its saved value.
    const std::uint16_t saved = rig.Mode().SavedWord(0x110);
    ASSERT_TRUE(rig.OpenAndPrepare());
    const T310TransferBlock header = PatternBlock(3);
    ASSERT_TRUE(rig.Link().WriteProfiles(&header, 0x8, nullptr));
    EXPECT_EQ(rig.Mode().SavedWord(0x110), saved);
}

// ---- handshake ------------------------------------------------------------------------------------

struct HandshakeCase {
    const char* name;
    std::vector<MeterFaultKind> attempts; // fault of each attempt, None = answered "["
    bool ok;
    std::size_t logged;
    bool errorCode;
};

TEST(T310Handshake, AttemptsUntilTheEchoComesOrSixHaveFailed)
{
    using K = MeterFaultKind;
    const std::vector<HandshakeCase> cases = {
        {"answered at once", {K::None}, true, 1, false},
        {"third attempt", {K::NoReply, K::NoReply, K::None}, true, 3, false},
        {"other byte then echo", {K::WrongLetter, K::None}, true, 2, false},
        {"other byte six times", {K::WrongLetter, K::WrongLetter, K::WrongLetter, K::WrongLetter, K::WrongLetter, K::WrongLetter, K::None}, false, 6, false},
        {"silent six times", {K::NoReply, K::NoReply, K::NoReply, K::NoReply, K::NoReply, K::NoReply, K::None}, false, 6, false},
        {"unplugged", {K::Unplug}, false, 0, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        SimT310Rig rig;
        ASSERT_TRUE(rig.IsReady());
        for (std::size_t i = 0; i < c.attempts.size(); ++i) {
            if (c.attempts[i] != K::None) {
                rig.Meter().InjectFault({c.attempts[i], i, 0});
            }
        }
        ASSERT_TRUE(rig.Link().OpenDevice(nullptr));
        int err = -1;
        EXPECT_EQ(rig.Link().PrepareDevice(&err) != FALSE, c.ok);
        EXPECT_EQ(err != 0, c.errorCode) << err;
        EXPECT_EQ(rig.Meter().Log(), std::vector<std::string>(c.logged, "["));
    }
}

// ---- discovery --------------------------------------------------------------------------------------

TEST(T310Discovery, OnlyPortsOfTheMeterUsbIdentityCount)
{
    SimT310Rig rig;
    ASSERT_TRUE(rig.IsReady());
    BOOL several = TRUE;
    EXPECT_TRUE(rig.Link().IsDevicePresent(&several));
    EXPECT_FALSE(several);
    EXPECT_EQ(rig.Link().FindT310Port(), "ttyUSB0");
    // Adapters with the same bridge but another identity, and a built-in port, are no meters.
    rig.Sysfs().AddUsbTty("ttyUSB1", 0x10C4, 0xEA60, 0);
    rig.Sysfs().AddUsbTty("ttyUSB2", 0x1F3C, 0x7001, 1);
    rig.Sysfs().AddUsbTty("ttyUSB3", 0x1F3C, 0x7002, 0);
    rig.Sysfs().AddPlainTty("ttyS0");
    EXPECT_TRUE(rig.Link().IsDevicePresent(&several));
    EXPECT_FALSE(several);
    EXPECT_FALSE(rig.Link().HasMultipleT310Ports());
    // A second meter makes two.
    rig.Sysfs().AddUsbTty("ttyUSB4", 0x1F3C, 0x7001, 0);
    EXPECT_TRUE(rig.Link().IsDevicePresent(&several));
    EXPECT_TRUE(several);
}

TEST(T310Discovery, OpenDeviceWithoutAMeterFailsWithTwenty)
{
    SimT310Rig rig;
    ASSERT_TRUE(rig.IsReady());
    rig.Line().Unplug();
    BOOL several = TRUE;
    EXPECT_FALSE(rig.Link().IsDevicePresent(&several));
    EXPECT_FALSE(several);
    int err = 0;
    EXPECT_FALSE(rig.Link().OpenDevice(&err));
    EXPECT_EQ(err, CCommT310::kNoDeviceError);
}

TEST(T310Discovery, UnplugMidReadFailsWithThePlatformError)
{
    SimT310Rig rig;
    ASSERT_TRUE(rig.IsReady());
    ASSERT_TRUE(rig.OpenAndPrepare());
    rig.Meter().InjectFault({MeterFaultKind::Unplug, 100, 0});
    T310TransferBlock block;
    int err = 0;
    EXPECT_FALSE(rig.Link().ReadAllProfiles(&block, &err));
    EXPECT_NE(err, 0);
    EXPECT_EQ(rig.Meter().Log().size(), 100u);
    EXPECT_FALSE(rig.Link().IsDevicePresent(nullptr));
}

// ---- every fault at every exchange ------------------------------------------------------------------

enum class Outcome { Fails, Succeeds, SucceedsWithOtherWord };

struct FaultKindCase {
    MeterFaultKind kind;
    std::uint32_t delayMs;
    const char* name;
};

const FaultKindCase kFaultKinds[] = {
    {MeterFaultKind::WrongLetter, 0, "wrong letter"},
    {MeterFaultKind::WrongEcho, 0, "wrong echo"},
    {MeterFaultKind::LowerCase, 0, "lower case"},
    {MeterFaultKind::ShortReply, 0, "short reply"},
    {MeterFaultKind::NoReply, 0, "no reply"},
    {MeterFaultKind::Delay, 100, "delay within the time-out"},
    {MeterFaultKind::Delay, 700, "delay past the time-out"},
    {MeterFaultKind::Unplug, 0, "unplug"},
};

// What a fault does to an exchange. Lower case and a delay within the read time-out are accepted;
// a wrong last digit of a word that is read carries no echo and cannot be seen by the link.
Outcome ExpectedOutcome(const FaultKindCase& f, bool readsData)
{
    switch (f.kind) {
    case MeterFaultKind::LowerCase: return Outcome::Succeeds;
    case MeterFaultKind::Delay: return f.delayMs < 620 ? Outcome::Succeeds : Outcome::Fails;
    case MeterFaultKind::WrongEcho: return readsData ? Outcome::SucceedsWithOtherWord : Outcome::Fails;
    default: return Outcome::Fails;
    }
}

TEST(T310Faults, ReadCustomSettingsAtEveryExchange)
{
    // Exchanges: address 0x110, read, address 0x111, read.
    const bool readsData[] = {false, true, false, true};
    for (const FaultKindCase& f : kFaultKinds) {
        for (std::uint64_t index = 0; index < 4; ++index) {
            SCOPED_TRACE(std::string(f.name) + " at " + std::to_string(index));
            SimT310Rig rig;
            ASSERT_TRUE(rig.IsReady());
            rig.Mode().FillPattern(77);
            ASSERT_TRUE(rig.OpenAndPrepare());
            rig.Meter().InjectFault({f.kind, index, f.delayMs});
            T310TransferBlock block;
            int err = -1;
            const BOOL ok = rig.Link().ReadCustomSettings(&block, &err);
            const Outcome expected = ExpectedOutcome(f, readsData[index]);
            EXPECT_EQ(ok != FALSE, expected != Outcome::Fails);
            EXPECT_EQ(err != 0, f.kind == MeterFaultKind::Unplug) << err;
            if (expected == Outcome::Fails) {
                // Nothing after the failing exchange is sent.
                EXPECT_EQ(rig.Meter().Log().size(), index + (f.kind == MeterFaultKind::Unplug ? 0 : 1));
            } else {
                const bool otherFirst = expected == Outcome::SucceedsWithOtherWord && index == 1;
                const bool otherSecond = expected == Outcome::SucceedsWithOtherWord && index == 3;
                EXPECT_EQ(block.GetWord(32) != rig.Mode().SavedWord(0x110), otherFirst);
                EXPECT_EQ(block.GetWord(34) != rig.Mode().SavedWord(0x111), otherSecond);
            }
        }
    }
}

TEST(T310Faults, WriteCustomSettingsAtEveryExchange)
{
    // Exchanges: address, word, address, word, commit (answers 3), poll (answers 2).
    constexpr std::uint64_t kCommitIndex = 4;
    for (const FaultKindCase& f : kFaultKinds) {
        for (std::uint64_t index = 0; index < 6; ++index) {
            SCOPED_TRACE(std::string(f.name) + " at " + std::to_string(index));
            SimT310Rig rig;
            ASSERT_TRUE(rig.IsReady());
            rig.Mode().FillPattern(78);
            rig.Meter().SetCommitStatuses({3, 2});
            ASSERT_TRUE(rig.OpenAndPrepare());
            const auto before = rig.Mode().SavedMemory();
            rig.Meter().InjectFault({f.kind, index, f.delayMs});
            T310TransferBlock block;
            block.SetWord(32, 0xA0A0);
            block.SetWord(34, 0x0B0B);
            int err = -1;
            const BOOL ok = rig.Link().WriteCustomSettings(&block, &err);
            const Outcome expected = ExpectedOutcome(f, false);
            EXPECT_EQ(ok != FALSE, expected != Outcome::Fails);
            EXPECT_EQ(err != 0, f.kind == MeterFaultKind::Unplug) << err;
            if (expected == Outcome::Fails) {
                EXPECT_EQ(rig.Meter().Log().size(), index + (f.kind == MeterFaultKind::Unplug ? 0 : 1));
                if (index <= kCommitIndex) {
                    rig.Link().Close(nullptr);
                    EXPECT_EQ(rig.Mode().SavedMemory(), before);
                }
            } else {
                EXPECT_EQ(rig.Mode().SavedWord(0x110), 0xA0A0);
                EXPECT_EQ(rig.Mode().SavedWord(0x111), 0x0B0B);
            }
        }
    }
}

} // namespace
