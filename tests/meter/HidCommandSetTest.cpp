// Every operation of the HID command sets against the simulated meter: the exact command sequence,
// progress steps and totals, the block contents against the meter's own memory, and writes that
// read back unchanged.
#include "tests/meter/HidTranscripts.h"

#include "tests/meter/HidMeterFamilyTraits.h"

#include <gtest/gtest.h>

namespace {

template <typename Traits>
class HidCommandSetTest : public ::testing::Test {
protected:
    using Block = typename Traits::Block;
    using Rig = HidMeterRig<typename Traits::Comm>;

    std::unique_ptr<Rig> MakeRig(bool pattern)
    {
        auto rig = std::make_unique<Rig>(Traits::Make(), Traits::kProductId);
        if (pattern) rig->sim->SetSaved(PatternMemory(*rig->sim, Traits::kT520));
        EXPECT_TRUE(rig->Open());
        return rig;
    }
    SimRegisterMemory Pattern()
    {
        auto sim = Traits::Make();
        return PatternMemory(*sim, Traits::kT520);
    }
    static int Rows() { return Block::kRows; }

    // Progress posts are numbered 1, 2, 3, ... and all carry the total.
    static void ExpectSteps(const RecordingSink& sink, int steps, int total)
    {
        ASSERT_EQ(static_cast<int>(sink.posts.size()), steps);
        for (int i = 0; i < steps; ++i) {
            EXPECT_EQ(sink.posts[static_cast<std::size_t>(i)].message, kProgressMessage);
            EXPECT_EQ(sink.posts[static_cast<std::size_t>(i)].wParam, static_cast<WPARAM>(i + 1));
            EXPECT_EQ(sink.posts[static_cast<std::size_t>(i)].lParam, total);
        }
    }
    // Bytes [from, to) of two blocks are equal.
    static void ExpectRange(const Block& a, const Block& b, std::size_t from, std::size_t to)
    {
        for (std::size_t i = from; i < to; ++i) ASSERT_EQ(a.bytes[i], b.bytes[i]) << "byte " << i;
    }
};

using Families = ::testing::Types<T520Traits, T140Traits>;
TYPED_TEST_SUITE(HidCommandSetTest, Families);

TYPED_TEST(HidCommandSetTest, CustomSettingsReadAndWrite)
{
    const SimRegisterMemory pattern = this->Pattern();
    const auto items = CustomBytes(TypeParam::kT520);
    const auto full = MemoryToBlock<typename TypeParam::Block>(pattern, TypeParam::kT520);

    auto reader = this->MakeRig(true);
    typename TypeParam::Block read;
    ASSERT_TRUE(reader->comm.ReadCustomSettings(&read));
    Transcript expected = TypeParam::CustomPrefix();
    Append(expected, CustomRead(items));
    EXPECT_EQ(reader->Log(), expected);
    this->ExpectRange(read, full, 32, TypeParam::Block::kList10);
    this->ExpectRange(read, typename TypeParam::Block{}, 0, 32);
    this->ExpectRange(read, typename TypeParam::Block{}, TypeParam::Block::kList10, TypeParam::Block::kSize);
    this->ExpectSteps(reader->sink, TypeParam::kCustomItems, TypeParam::kCustomItems);

    auto writer = this->MakeRig(false);
    writer->meter->SetCommitStatuses({3, 3, 2});
    ASSERT_TRUE(writer->comm.WriteCustomSettings(&full));
    expected = TypeParam::CustomPrefix();
    Append(expected, CustomWrite(items, pattern));
    Append(expected, Commit(2));
    EXPECT_EQ(writer->Log(), expected);
    EXPECT_EQ(writer->sim->Saved().custom.size(), pattern.custom.size());
    for (const auto& [code, byte] : items) EXPECT_EQ(writer->sim->Saved().custom.at(code), pattern.custom.at(code));
    EXPECT_EQ(writer->sim->Saved().custom.at(0x006), 0u) << "item 0x006 is never transferred";
    this->ExpectSteps(writer->sink, TypeParam::kCustomItems + 2, TypeParam::kCustomWriteTotal);
    EXPECT_TRUE(writer->sim->Violations().empty());
}

TYPED_TEST(HidCommandSetTest, SettingTablesReadAndWrite)
{
    const SimRegisterMemory pattern = this->Pattern();
    const auto full = MemoryToBlock<typename TypeParam::Block>(pattern, TypeParam::kT520);

    auto reader = this->MakeRig(true);
    typename TypeParam::Block read;
    ASSERT_TRUE(reader->comm.ReadSettingTables(&read));
    EXPECT_EQ(reader->Log(), TablesRead(pattern));
    this->ExpectRange(read, full, TypeParam::Block::kList10, TypeParam::Block::kProfiles);
    this->ExpectRange(read, typename TypeParam::Block{}, 0, TypeParam::Block::kList10);
    EXPECT_EQ(reader->Total(), 70 + 30 * 16);
    EXPECT_EQ(reader->LastProgress(), 70 + 30 * 16);

    auto writer = this->MakeRig(false);
    writer->meter->SetCommitStatuses({3, 2});
    ASSERT_TRUE(writer->comm.WriteSettingTables(&full));
    EXPECT_EQ(writer->Log(), TablesWrite(pattern, TypeParam::kT520, 1));
    EXPECT_EQ(writer->sim->Saved().list10, pattern.list10);
    EXPECT_EQ(writer->sim->Saved().list11, pattern.list11);
    EXPECT_EQ(writer->sim->Saved().list12, pattern.list12);
    EXPECT_EQ(writer->Total(), 76 + 30 * 16);
    EXPECT_EQ(writer->LastProgress(), 76 + 30 * 16);
    EXPECT_TRUE(writer->sim->Violations().empty());
}

TYPED_TEST(HidCommandSetTest, ProfilesReadAndWrite)
{
    const SimRegisterMemory pattern = this->Pattern();
    const auto full = MemoryToBlock<typename TypeParam::Block>(pattern, TypeParam::kT520);

    auto reader = this->MakeRig(true);
    typename TypeParam::Block read;
    ASSERT_TRUE(reader->comm.ReadAllProfiles(&read));
    EXPECT_EQ(reader->Log(), AllProfilesRead(pattern, this->Rows()));
    this->ExpectRange(read, full, 0, 32);
    this->ExpectRange(read, full, TypeParam::Block::kProfiles, TypeParam::Block::kSize);
    this->ExpectRange(read, typename TypeParam::Block{}, 32, TypeParam::Block::kProfiles);
    const int steps = 16 + 10 * (16 + 4 * this->Rows());
    EXPECT_EQ(reader->Total(), steps);
    EXPECT_EQ(reader->LastProgress(), steps);

    auto writer = this->MakeRig(false);
    writer->meter->SetCommitStatuses({3, 2});
    ASSERT_TRUE(writer->comm.WriteProfiles(&full, 0x7FF));
    EXPECT_EQ(writer->Log(), ProfilesWrite(pattern, this->Rows(), 0x7FF, 1));
    EXPECT_EQ(writer->sim->Saved().header, pattern.header);
    EXPECT_EQ(writer->sim->Saved().slots, pattern.slots);
    EXPECT_EQ(writer->Total(), 2 + 18 + 10 * (16 + 4 * this->Rows()));
    EXPECT_EQ(writer->LastProgress(), writer->Total());
    EXPECT_TRUE(writer->sim->Violations().empty());

    // What was written reads back as the same block.
    typename TypeParam::Block again;
    ASSERT_TRUE(writer->comm.ReadAllProfiles(&again));
    this->ExpectRange(again, full, 0, 32);
    this->ExpectRange(again, full, TypeParam::Block::kProfiles, TypeParam::Block::kSize);
}

TYPED_TEST(HidCommandSetTest, ProfileNamesOnly)
{
    const SimRegisterMemory pattern = this->Pattern();
    auto rig = this->MakeRig(true);
    typename TypeParam::Block read;
    read.bytes.fill(0xAB);
    ASSERT_TRUE(rig->comm.ReadProfileNames(&read));
    EXPECT_EQ(rig->Log(), NamesRead(pattern));
    EXPECT_EQ(rig->Total(), 10 * 17);
    // Slot 0's name ends at its first unit: one unit read, the other fifteen keep their bytes.
    EXPECT_EQ(read.GetWord(TypeParam::Block::SlotOffset(0)), pattern.slots[0].name[0]);
    for (std::size_t i = 2; i < 32; ++i) EXPECT_EQ(read.bytes[TypeParam::Block::SlotOffset(0) + i], 0xAB);
    // Slot 9's name has sixteen units and no end mark: exactly sixteen are read.
    for (std::size_t u = 0; u < 16; ++u) EXPECT_EQ(read.GetWord(TypeParam::Block::SlotOffset(9) + 2 * u), pattern.slots[9].name[u]);
    EXPECT_EQ(read.bytes[TypeParam::Block::SlotOffset(9) + 32], 0xAB);
}

TYPED_TEST(HidCommandSetTest, HeaderAndOneSlotCommitTwice)
{
    const SimRegisterMemory pattern = this->Pattern();
    const auto full = MemoryToBlock<typename TypeParam::Block>(pattern, TypeParam::kT520);
    auto rig = this->MakeRig(false);
    ASSERT_TRUE(rig->comm.WriteProfiles(&full, 0x401));
    EXPECT_EQ(rig->Log(), ProfilesWrite(pattern, this->Rows(), 0x401, 0));
    EXPECT_EQ(rig->Total(), 2 + 18 + 16 + 4 * this->Rows());
    EXPECT_EQ(rig->sim->Saved().header, pattern.header);
    EXPECT_EQ(rig->sim->Saved().slots[0], pattern.slots[0]);
    EXPECT_EQ(rig->sim->Saved().slots[1], rig->sim->Factory().slots[1]);
}

TYPED_TEST(HidCommandSetTest, EmptyMaskSendsNothing)
{
    typename TypeParam::Block block;
    auto rig = this->MakeRig(false);
    EXPECT_FALSE(rig->comm.WriteProfiles(&block, 0));
    EXPECT_FALSE(rig->comm.WriteProfiles(&block, 0x800)); // bits above the header bit do not count
    EXPECT_TRUE(rig->Log().empty());
}

TYPED_TEST(HidCommandSetTest, ResetStepsEndAtTenOfTen)
{
    struct Case {
        std::vector<int> statuses;
        std::vector<WPARAM> steps;
        bool ok;
    };
    const Case cases[] = {
        {{2}, {1, 10}, true},
        {{3, 3, 2}, {1, 2, 3, 10}, true},
        {{15}, {1, 10}, false},
        {{3, 1}, {1, 2, 10}, false},
    };
    for (const Case& c : cases) {
        auto rig = this->MakeRig(true);
        rig->meter->SetCommitStatuses(c.statuses);
        EXPECT_EQ(rig->comm.ResetMeter() != FALSE, c.ok);
        std::vector<WPARAM> steps;
        for (const auto& p : rig->sink.posts) steps.push_back(p.wParam);
        EXPECT_EQ(steps, c.steps);
        EXPECT_EQ(rig->sim->ResetCount(), c.ok ? 1 : 0);
        Transcript expected{"W00F31"};
        Append(expected, Commit(static_cast<int>(c.statuses.size()) - 1));
        EXPECT_EQ(rig->Log(), expected);
        if (c.ok) {
            EXPECT_EQ(rig->sim->Saved(), rig->sim->Factory());
        }
    }
}

TYPED_TEST(HidCommandSetTest, CommitStatusDecidesAndSavingIsGivenUp)
{
    const SimRegisterMemory pattern = this->Pattern();
    const auto full = MemoryToBlock<typename TypeParam::Block>(pattern, TypeParam::kT520);
    struct Case {
        std::vector<int> statuses;
        bool ok;
    };
    const Case cases[] = {{{2}, true}, {{1}, false}, {{15}, false}, {{3, 3, 3, 2}, true}, {{3, 15}, false}, {{3}, false}};
    for (const Case& c : cases) {
        auto rig = this->MakeRig(false);
        rig->meter->SetCommitStatuses(c.statuses);
        const std::uint64_t start = rig->system.Clock().NowMs();
        EXPECT_EQ(rig->comm.WriteCustomSettings(&full) != FALSE, c.ok);
        rig->comm.Close();
        EXPECT_EQ(rig->sim->Saved() == rig->sim->Factory(), !c.ok);
        if (c.statuses == std::vector<int>{3}) {
            // A meter that never stops saving is given up after the deadline, not polled forever.
            const std::uint64_t spent = rig->system.Clock().NowMs() - start;
            EXPECT_GE(spent, CCommHidMeter::kCommitDeadlineMs);
            EXPECT_LT(spent, CCommHidMeter::kCommitDeadlineMs + 1000);
        }
    }
}

TYPED_TEST(HidCommandSetTest, RefusedEntryStopsTheTables)
{
    const SimRegisterMemory pattern = this->Pattern();
    const auto full = MemoryToBlock<typename TypeParam::Block>(pattern, TypeParam::kT520);
    auto rig = this->MakeRig(false);
    rig->sim->RefuseEntry(0x11, 4);
    EXPECT_FALSE(rig->comm.WriteSettingTables(&full));
    const Transcript log = rig->Log();
    ASSERT_FALSE(log.empty());
    EXPECT_EQ(log.back(), "W0000D");
    EXPECT_EQ(log[log.size() - 5], "W00043") << "entry 4 of list 0x11 was the last one sent";
    rig->comm.Close();
    EXPECT_EQ(rig->sim->Saved().list10, pattern.list10) << "list 0x10 was committed before";
    EXPECT_EQ(rig->sim->Saved().list11, rig->sim->Factory().list11);
}

TYPED_TEST(HidCommandSetTest, HeaderEchoIsCompared)
{
    const SimRegisterMemory pattern = this->Pattern();
    const auto full = MemoryToBlock<typename TypeParam::Block>(pattern, TypeParam::kT520);
    // Exchanges 0 and 1 select the header and its position; 2.. carry the units.
    for (std::uint64_t index = 2; index < 2 + static_cast<std::uint64_t>(TextLength(pattern.header)); ++index) {
        auto rig = this->MakeRig(false);
        rig->meter->InjectFault({MeterFaultKind::WrongEcho, index, 0});
        EXPECT_FALSE(rig->comm.WriteProfiles(&full, 0x400)) << "unit at exchange " << index;
        rig->comm.Close();
        EXPECT_EQ(rig->sim->Saved(), rig->sim->Factory());
    }
}

TYPED_TEST(HidCommandSetTest, ValueWiderThanItsFieldIsNotSent)
{
    typename TypeParam::Block block;
    block.bytes[32] = 0x10; // item 0x000 holds 16: no single hexadecimal digit carries it
    auto rig = this->MakeRig(false);
    EXPECT_FALSE(rig->comm.WriteCustomSettings(&block));
    for (const std::string& command : rig->Log()) EXPECT_EQ(command.size(), 6u);
    EXPECT_TRUE(rig->sim->Violations().empty());
}

} // namespace
