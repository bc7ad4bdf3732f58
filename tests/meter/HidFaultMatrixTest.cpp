// Every fault kind at every exchange of one read and one write operation per HID family: the
// operation reports failure (never success with wrong data), and nothing reaches the meter's saved
// memory before the commit that would have saved it.
#include "tests/meter/HidTranscripts.h"

#include "tests/meter/HidMeterFamilyTraits.h"

#include <gtest/gtest.h>

#include <functional>

namespace {

const MeterFaultKind kKinds[] = {MeterFaultKind::WrongLetter, MeterFaultKind::WrongEcho,  MeterFaultKind::LowerCase,
                                 MeterFaultKind::ShortReply,  MeterFaultKind::NoReply,    MeterFaultKind::Delay,
                                 MeterFaultKind::Unplug};

// Commands whose reply carries nothing but data: a changed digit there is a changed value, which no
// reply check can see.
bool IsPlainRead(const std::string& command)
{
    return command == "W00004" || command == "W00006" || command == "W00008" || command == "W0000A";
}

// Commands whose reply is checked for its letter only (the header text's selections).
bool IsLetterOnly(const std::vector<std::string>& transcript, std::size_t i)
{
    const std::string& c = transcript[i];
    return c == "W00011" || c == "W00F31" || (c == "W00009" && i > 0 && transcript[i - 1] == "W00011");
}

template <typename Traits>
struct Operation {
    using Block = typename Traits::Block;
    using Rig = HidMeterRig<typename Traits::Comm>;
    bool write;
    std::vector<int> commitStatuses;
    std::function<BOOL(typename Traits::Comm&, Block&)> run;
};

template <typename Traits>
void RunMatrix(const Operation<Traits>& op)
{
    using Block = typename Traits::Block;
    using Rig = HidMeterRig<typename Traits::Comm>;
    auto prepare = [&op](Rig& rig, Block& block) {
        auto sim = Traits::Make();
        const SimRegisterMemory pattern = PatternMemory(*sim, Traits::kT520);
        if (op.write) {
            block = MemoryToBlock<Block>(pattern, Traits::kT520);
        } else {
            rig.sim->SetSaved(pattern);
        }
        rig.meter->SetCommitStatuses(op.commitStatuses);
        ASSERT_TRUE(rig.Open());
    };

    // The clean run gives the transcript and the result every faulty run is held against.
    Rig clean(Traits::Make(), Traits::kProductId);
    Block cleanBlock;
    prepare(clean, cleanBlock);
    ASSERT_TRUE(op.run(clean.comm, cleanBlock));
    const Transcript transcript = clean.Log();
    clean.comm.Close();
    const SimRegisterMemory cleanSaved = clean.sim->Saved();
    std::size_t firstCommit = transcript.size();
    for (std::size_t i = 0; i < transcript.size(); ++i) {
        if (transcript[i] == "W0000F") {
            firstCommit = i;
            break;
        }
    }

    for (MeterFaultKind kind : kKinds) {
        for (std::size_t index = 0; index < transcript.size(); ++index) {
            Rig rig(Traits::Make(), Traits::kProductId);
            Block block;
            prepare(rig, block);
            const SimRegisterMemory before = rig.sim->Saved();
            rig.meter->InjectFault({kind, index, 10000});
            const BOOL ok = op.run(rig.comm, block);
            rig.comm.Close();
            const std::string where = std::string(MeterFaultName(kind)) + " at " + std::to_string(index) + " (" +
                                      transcript[index] + ")";
            if (kind == MeterFaultKind::LowerCase) {
                // Lower case is accepted everywhere but in the date queries: same outcome as clean.
                EXPECT_TRUE(ok) << where;
                EXPECT_EQ(block.bytes, cleanBlock.bytes) << where;
                EXPECT_EQ(rig.sim->Saved(), cleanSaved) << where;
                continue;
            }
            if (kind == MeterFaultKind::WrongEcho && IsPlainRead(transcript[index])) {
                // Only the value changes; when the read takes it, it must land where the clean run put it.
                if (ok) {
                    EXPECT_NE(block.bytes, cleanBlock.bytes) << where;
                }
                continue;
            }
            if (kind == MeterFaultKind::WrongEcho && IsLetterOnly(transcript, index)) {
                // Nothing to compare: the meter did what it was told, so the outcome is the clean one.
                EXPECT_TRUE(ok) << where;
                EXPECT_EQ(rig.sim->Saved(), cleanSaved) << where;
                continue;
            }
            EXPECT_FALSE(ok) << where;
            if (op.write && index < firstCommit) {
                EXPECT_EQ(rig.sim->Saved(), before) << where;
            }
            EXPECT_TRUE(rig.sim->Violations().empty()) << where;
        }
    }
}

TEST(HidFaultMatrix, T520ReadSettingTables)
{
    RunMatrix<T520Traits>({false, {2}, [](CCommT520& c, T520TransferBlock& b) { return c.ReadSettingTables(&b); }});
}

TEST(HidFaultMatrix, T520WriteProfiles)
{
    // Header text and slot 9 (sixteen name units): two commits, each polled.
    RunMatrix<T520Traits>(
        {true, {3, 2}, [](CCommT520& c, T520TransferBlock& b) { return c.WriteProfiles(&b, 0x600); }});
}

TEST(HidFaultMatrix, T140ReadCustomSettings)
{
    RunMatrix<T140Traits>({false, {2}, [](CCommT140& c, T140TransferBlock& b) { return c.ReadCustomSettings(&b); }});
}

TEST(HidFaultMatrix, T140WriteCustomSettings)
{
    RunMatrix<T140Traits>(
        {true, {3, 3, 2}, [](CCommT140& c, T140TransferBlock& b) { return c.WriteCustomSettings(&b); }});
}

TEST(HidFaultMatrix, T140WriteSettingTables)
{
    RunMatrix<T140Traits>(
        {true, {3, 2}, [](CCommT140& c, T140TransferBlock& b) { return c.WriteSettingTables(&b); }});
}

} // namespace
