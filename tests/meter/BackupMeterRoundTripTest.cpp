// A meter's profiles backed up to a file and restored into a meter come back unchanged, the
// extremes of every row byte included: read from a simulated meter, decoded, written as a backup,
// read back, encoded and written into a second simulated meter.
#include "core/util/CLangTable.h"
#include "meter/CKZARN_TransferData.h"
#include "tests/meter/HidTranscripts.h"

#include "tests/meter/HidMeterFamilyTraits.h"

#include <gtest/gtest.h>

#include <array>
#include <sstream>

namespace {

// Bytes of one group as the meter holds them: CPP-DRP, DRP, centre, DRM, CPM-DRM (tenths); +-12.7,
// no value (-128) and zero in every position.
constexpr std::array<std::array<int, 5>, 6> kExtremes = {{
    {127, 127, 127, -127, -127}, {-127, -127, -127, 127, 127}, {-128, -128, -128, -128, -128},
    {0, 0, 0, 0, 0},             {127, -127, 0, 127, -127},    {-128, 127, -128, -127, -128},
}};

template <typename Traits>
class BackupMeterRoundTrip : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        CLangTable::Free();
        ASSERT_EQ(CLangTable::GetInstance()->Load(ZARN_SOURCE_DIR "/data/String.txt"), 1);
    }
    static void TearDownTestSuite() { CLangTable::Free(); }
};

using Families = ::testing::Types<T520Traits, T140Traits>;
TYPED_TEST_SUITE(BackupMeterRoundTrip, Families);

TYPED_TEST(BackupMeterRoundTrip, ExtremeValuesSurviveBackupAndRestore)
{
    using Block = typename TypeParam::Block;
    HidMeterRig<typename TypeParam::Comm> source(TypeParam::Make(), TypeParam::kProductId);
    SimRegisterMemory memory = source.sim->Factory();
    for (int s = 0; s < 10; ++s) {
        auto& slot = memory.slots[static_cast<std::size_t>(s)];
        slot.name = SimText(3 + s, s + 1);
        for (int r = 0; r < Block::kRows; ++r) {
            for (int g = 0; g < 4; ++g) {
                const auto& e = kExtremes[static_cast<std::size_t>(s + r + g) % kExtremes.size()];
                for (int b = 0; b < 5; ++b) memory.Data(s, r, g, b) = static_cast<std::uint8_t>(e[static_cast<std::size_t>(b)]);
            }
        }
    }
    source.sim->SetSaved(memory);
    ASSERT_TRUE(source.Open());
    Block read;
    ASSERT_TRUE(source.comm.ReadAllProfiles(&read));

    CKZARN_TransferData table;
    if constexpr (TypeParam::kT520) {
        ASSERT_EQ(table.ReadT520Image(&read), 1);
    } else {
        ASSERT_EQ(table.ReadT140Image(&read), 1);
    }
    std::ostringstream file;
    ASSERT_EQ(table.WriteText(file), 1);
    CKZARN_TransferData restored;
    std::istringstream in(file.str());
    ASSERT_EQ(restored.ReadText(in), 1);
    Block out;
    if constexpr (TypeParam::kT520) {
        ASSERT_EQ(restored.WriteT520Image(&out), 1);
    } else {
        ASSERT_EQ(restored.WriteT140Image(&out), 1);
    }

    HidMeterRig<typename TypeParam::Comm> target(TypeParam::Make(), TypeParam::kProductId);
    ASSERT_TRUE(target.Open());
    ASSERT_TRUE(target.comm.WriteProfiles(&out, 0x3FF));
    for (std::size_t s = 0; s < 10; ++s) {
        const auto& want = memory.slots[s];
        const auto& got = target.sim->Saved().slots[s];
        EXPECT_EQ(got.data, want.data) << "slot " << s;
        const int units = TextLength(want.name);
        for (int u = 0; u < units; ++u) EXPECT_EQ(got.name[static_cast<std::size_t>(u)], want.name[static_cast<std::size_t>(u)]);
    }
}

} // namespace
