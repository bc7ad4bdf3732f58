// Every operation of the HID command sets announces the steps it really posts: the posts count up
// one by one (a text that ends early catches up in one post), none passes the total, and the last
// reaches it. Run over names of every length and over long completions.
#include "tests/meter/HidTranscripts.h"

#include "tests/meter/HidMeterFamilyTraits.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace {

template <typename Comm, typename Block>
struct Operation {
    const char* name;
    std::function<BOOL(Comm&, Block&)> run;
};

template <typename Comm, typename Block>
std::vector<Operation<Comm, Block>> Operations()
{
    std::vector<Operation<Comm, Block>> ops = {
        {"ReadCustomSettings", [](Comm& c, Block& b) { return c.ReadCustomSettings(&b); }},
        {"WriteCustomSettings", [](Comm& c, Block& b) { return c.WriteCustomSettings(&b); }},
        {"ReadSettingTables", [](Comm& c, Block& b) { return c.ReadSettingTables(&b); }},
        {"WriteSettingTables", [](Comm& c, Block& b) { return c.WriteSettingTables(&b); }},
        {"ReadProfileNames", [](Comm& c, Block& b) { return c.ReadProfileNames(&b); }},
        {"ReadAllProfiles", [](Comm& c, Block& b) { return c.ReadAllProfiles(&b); }},
        {"ResetMeter", [](Comm& c, Block&) { return c.ResetMeter(); }},
    };
    for (unsigned mask : {0x001u, 0x200u, 0x400u, 0x401u, 0x155u, 0x7FFu}) {
        ops.push_back({"WriteProfiles", [mask](Comm& c, Block& b) { return c.WriteProfiles(&b, mask); }});
    }
    return ops;
}

// Checks the posts of one operation; `what` names it in failures.
void ExpectHonestProgress(const RecordingSink& sink, const std::string& what)
{
    ASSERT_FALSE(sink.posts.empty()) << what;
    const LPARAM total = sink.posts.front().lParam;
    WPARAM last = 0;
    for (const auto& p : sink.posts) {
        ASSERT_EQ(p.lParam, total) << what;
        ASSERT_GT(p.wParam, last) << what;
        ASSERT_LE(static_cast<LPARAM>(p.wParam), total) << what;
        last = p.wParam;
    }
    EXPECT_EQ(static_cast<LPARAM>(last), total) << what;
}

template <typename Traits>
class ProgressTotals : public ::testing::Test {};

using Families = ::testing::Types<T520Traits, T140Traits>;
TYPED_TEST_SUITE(ProgressTotals, Families);

TYPED_TEST(ProgressTotals, EveryOperationReachesItsTotalOnceAndNeverPassesIt)
{
    using Comm = typename TypeParam::Comm;
    using Block = typename TypeParam::Block;
    // Names of every length from none to sixteen units; full sixteen-unit names everywhere.
    for (const bool fullNames : {false, true}) {
        for (const auto& op : Operations<Comm, Block>()) {
            for (const std::vector<int>& statuses : {std::vector<int>{2}, std::vector<int>(30, 3)}) {
                HidMeterRig<Comm> rig(TypeParam::Make(), TypeParam::kProductId);
                SimRegisterMemory memory = PatternMemory(*rig.sim, TypeParam::kT520);
                if (fullNames) {
                    memory.header = SimText(16, 2);
                    for (auto& slot : memory.slots) slot.name = SimText(16, 5);
                    for (auto& entry : memory.list12) entry.name = SimText(16, 7);
                }
                rig.sim->SetSaved(memory);
                ASSERT_TRUE(rig.Open());
                std::vector<int> script = statuses;
                script.push_back(2); // a long completion still ends
                rig.meter->SetCommitStatuses(script);
                Block block = MemoryToBlock<Block>(memory, TypeParam::kT520);
                const std::string what = std::string(op.name) + (fullNames ? " full names" : " short names") +
                                         (statuses.size() > 1 ? " long completion" : "");
                ASSERT_TRUE(op.run(rig.comm, block)) << what;
                ExpectHonestProgress(rig.sink, what);
            }
        }
    }
}

} // namespace
