// The T-310 firmware player over the real serial link code against the simulated meter behind a
// pseudo-terminal (the simulator answers on a thread of its own).
#include "tests/flash/FlashT310Links.h"
#include "tests/flash/FlashTestKit.h"

#include "flash/CZarnflashPlayer.h"
#include "flash/CZarnflashSerialLink.h"
#include "tests/support/ScratchFolder.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

constexpr FlashPlayerForm kMainT310{6, "P0000F", 0x20000000, 0x20000001, 0x20000002,
                                    FlashPlayerForm::Kind::MainSerial};

class FlashT310 : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(rig.IsReady()); }
    int Play(const std::vector<std::string>& lines)
    {
        WriteFlashFile(scratch.File("QK850210.dlf"), lines);
        CZarnflashSerialLink link(links.CreateT310());
        CZarnflashPlayer player(kMainT310, link, target, rig.Clock());
        return player.Run(scratch.File("QK850210.dlf"), "");
    }

    SimT310Rig rig{true};
    T310Links links{rig};
    ScratchFolder scratch;
    RecordingFlashTarget target;
};

TEST_F(FlashT310, ScriptIsWrittenWithItsProgress)
{
    const auto lines = FlashScriptLines("P0000F", 3);
    EXPECT_EQ(0, Play(lines));
    EXPECT_EQ(std::vector<std::string>(lines.begin() + 2, lines.end() - 1), rig.FlashMode()->Memory("P0000F"));
    const auto log = rig.Meter().Log();
    ASSERT_FALSE(log.empty());
    EXPECT_EQ("H00000", log.back());
    const auto progress = target.Progress();
    ASSERT_GE(progress.size(), 3u);
    EXPECT_EQ(std::make_pair(100u, 0u), progress[0]);
    EXPECT_EQ(std::make_pair(7u, 1u), progress[1]); // after reading: range lines + 1, position 1
    EXPECT_EQ(std::make_pair(7u, 7u), progress.back());
    EXPECT_EQ(WM_UPDATE_JOB_DONE, target.Last().message);
}

TEST_F(FlashT310, SilentEntryIsAFailureWithOneLeaveCommand)
{
    rig.Meter().ResetExchangeCount();
    // Exchange 0 is the "[" handshake; 1 the entry command.
    rig.Meter().InjectFault({MeterFaultKind::NoReply, 1, 0});
    EXPECT_EQ(0x20000002, Play(FlashScriptLines("P0000F", 1)));
    const auto log = rig.Meter().Log();
    EXPECT_EQ(1, std::count(log.begin(), log.end(), std::string("H00000")));
    EXPECT_TRUE(rig.FlashMode()->Memory("P0000F").empty());
}

} // namespace
