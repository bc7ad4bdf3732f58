// The meter worker against simulated meters: commands, replies, identity, presence and failures.
#include "tests/meter/HidMeterRig.h"
#include "tests/meter/WorkerRig.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

std::vector<UINT> MessagesTo(const RecordingMessageSink& sink, HWND window)
{
    std::vector<UINT> out;
    for (const auto& p : sink.PostsTo(window)) out.push_back(p.message);
    return out;
}

TEST(WorkerCommand, DefaultTimingsAreThoseTheMetersNeed)
{
    EXPECT_EQ(CKZARN_LMCtrl::kQueueWaitMs, 1000u);
    EXPECT_EQ(CKZARN_LMCtrl::kOpenRetryMs, 1000u);
    EXPECT_EQ(CKZARN_LMCtrl::kOpenAttempts, 11);
    EXPECT_EQ(CKZARN_LMCtrl::kMultipleMetersMs, 1000u);
    EXPECT_EQ(CKZARN_LMCtrl::kT520SettleMs, 3000u);
    WorkerRig rig;
    rig.ctrl->Start();
    ASSERT_TRUE(rig.signal->WaitUntilIdle());
    EXPECT_EQ(rig.signal->LastTimeoutMs(), 1000u);
    EXPECT_EQ(rig.ctrl->IsPollingEnabled(), 0);
}

TEST(WorkerCommand, ReadsProfilesOfAnAttachedMeterAndClosesTheLink)
{
    WorkerRig rig;
    SimHidMeter m = rig.AddT140("/dev/hidraw1");
    m.registers->SetSaved(PatternMemory(*m.registers, false));
    rig.StartPolling();
    ASSERT_EQ(rig.ctrl->IsT140Connected(), 1);
    const auto connections = rig.sink.PostsOf(WM_ZARN_T140_CONNECTION);
    ASSERT_EQ(connections.size(), 1u);
    EXPECT_EQ(connections[0].wParam, 1u);

    T140TransferBlock stale;
    stale.bytes.fill(0x77);
    rig.ctrl->SetT140Block(&stale);
    EXPECT_EQ(rig.Run(ZARN_CMD_T140_READ_PROFILES), 0);
    T140TransferBlock held;
    rig.ctrl->GetT140Block(&held);
    const T140TransferBlock expected = MemoryToBlock<T140TransferBlock>(m.registers->Saved(), false);
    for (int s = 0; s < 10; ++s) {
        for (int r = 0; r < 52; ++r) {
            ASSERT_EQ(held.bytes[T140TransferBlock::ProfileByte(s, r, 2, 3)],
                      expected.bytes[T140TransferBlock::ProfileByte(s, r, 2, 3)]);
        }
    }
    EXPECT_EQ(held.bytes[40], 0); // a read leaves only what it filled: the rest is zero, not stale
    EXPECT_FALSE(rig.links->LastT140()->IsOpen());
}

TEST(WorkerCommand, WritesCustomSettingsFromTheHeldBlockAndEveryProgressComesBeforeTheReply)
{
    WorkerRig rig;
    SimHidMeter m = rig.AddT520("/dev/hidraw2");
    rig.StartPolling();
    T520TransferBlock block;
    block.bytes[32] = 3;
    rig.ctrl->SetT520Block(&block);
    const HWND reply = rig.sink.CreateWindow();
    rig.ctrl->PostCommand(ZARN_CMD_T520_WRITE_PROFILES, -1, reply); // every slot and the header
    ASSERT_TRUE(rig.sink.WaitForCount(WM_ZARN_COMMAND_DONE, 1));
    const auto posts = rig.sink.PostsTo(reply);
    ASSERT_GE(posts.size(), 2u);
    EXPECT_EQ(posts.back().message, WM_ZARN_COMMAND_DONE);
    EXPECT_EQ(posts.back().lParam, 0);
    // Progress counts up (a text that ends early catches up in one post) and ends at its total.
    for (std::size_t i = 0; i + 1 < posts.size(); ++i) {
        EXPECT_EQ(posts[i].message, WM_ZARN_PROGRESS);
        if (i > 0) {
            EXPECT_GT(posts[i].wParam, posts[i - 1].wParam);
        }
    }
    EXPECT_EQ(static_cast<LPARAM>(posts[posts.size() - 2].wParam), posts[posts.size() - 2].lParam);
    T520TransferBlock after;
    rig.ctrl->GetT520Block(&after);
    EXPECT_EQ(after.bytes[32], 3); // a write leaves the held block as it was
    EXPECT_FALSE(rig.links->LastT520()->IsOpen());
}

TEST(WorkerCommand, IdentityOfARadioModelStoresBothVersionsAndNotifiesTwice)
{
    WorkerRig rig;
    rig.AddT140("/dev/hidraw1", 0x11);
    rig.StartPolling();
    EXPECT_EQ(rig.Run(ZARN_CMD_T140_READ_INFO), 0);
    EXPECT_EQ(rig.ctrl->GetModelName(), "T-140DR");
    EXPECT_EQ(rig.ctrl->GetMeterRevision(), "17");
    EXPECT_FALSE(rig.ctrl->GetVersionA().empty());
    EXPECT_FALSE(rig.ctrl->GetVersionB().empty());
    EXPECT_FALSE(rig.ctrl->GetMeterDate().empty());
    EXPECT_EQ(rig.ctrl->GetMeterState(), 1);
    const auto infos = rig.sink.PostsOf(WM_ZARN_T140_INFO);
    ASSERT_EQ(infos.size(), 2u);
    EXPECT_EQ(infos[0].wParam, 1u);
    EXPECT_EQ(infos[1].wParam, 1u);
}

TEST(WorkerCommand, UnplugClearsIdentityAndNotifiesConnectionThenIdentity)
{
    WorkerRig rig;
    SimHidMeter m = rig.AddT520("/dev/hidraw2");
    rig.StartPolling();
    EXPECT_EQ(rig.workerClock.SleptMs(), 3000u); // a T-520D is given time after it appears
    ASSERT_EQ(rig.Run(ZARN_CMD_T520_READ_INFO), 0);
    ASSERT_FALSE(rig.ctrl->GetModelName().empty());
    m.meter->Unplug();
    rig.Round();
    EXPECT_EQ(rig.ctrl->IsT520Connected(), 0);
    EXPECT_EQ(rig.ctrl->GetModelName(), "");
    EXPECT_EQ(rig.ctrl->GetVersionA(), "");
    EXPECT_EQ(rig.ctrl->GetMeterState(), 999);
    const auto posts = rig.sink.PostsTo(rig.mainWnd);
    ASSERT_GE(posts.size(), 2u);
    EXPECT_EQ(posts[posts.size() - 2].message, WM_ZARN_T520_CONNECTION);
    EXPECT_EQ(posts[posts.size() - 2].wParam, 0u);
    EXPECT_EQ(posts.back().message, WM_ZARN_T520_INFO);
    EXPECT_EQ(posts.back().wParam, 0u);
}

TEST(WorkerCommand, FailedReadKeepsTheHeldBlock)
{
    WorkerRig rig;
    SimHidMeter m = rig.AddT140("/dev/hidraw1");
    rig.StartPolling();
    T140TransferBlock before;
    before.bytes.fill(0x5A);
    rig.ctrl->SetT140Block(&before);
    m.meter->ResetExchangeCount();
    m.meter->InjectFault(MeterFault{MeterFaultKind::WrongLetter, 12, 0});
    EXPECT_EQ(rig.Run(ZARN_CMD_T140_READ_CUSTOM), static_cast<LPARAM>(ZARN_ERR_T140_READ));
    T140TransferBlock after;
    rig.ctrl->GetT140Block(&after);
    EXPECT_EQ(after.bytes, before.bytes);
    EXPECT_FALSE(rig.links->LastT140()->IsOpen());
}

TEST(WorkerCommand, WithoutAMeterNothingIsOpenedAndTheOperationFails)
{
    WorkerRig rig;
    rig.StartPolling();
    EXPECT_EQ(rig.Run(ZARN_CMD_T140_READ_PROFILES), static_cast<LPARAM>(ZARN_ERR_T140_READ));
    EXPECT_EQ(rig.Run(ZARN_CMD_T310_WRITE_CUSTOM), static_cast<LPARAM>(ZARN_ERR_T310_WRITE));
    EXPECT_EQ(rig.hid.OpenCount(), 0);
}

TEST(WorkerCommand, OpenIsTriedElevenTimesOneSecondApart)
{
    WorkerRig rig;
    rig.AddT310Port(); // listed, but the port cannot be opened
    rig.StartPolling();
    ASSERT_EQ(rig.ctrl->IsT310Connected(), 1);
    const std::uint64_t before = rig.workerClock.SleptMs();
    EXPECT_EQ(rig.Run(ZARN_CMD_T310_READ_PROFILES), static_cast<LPARAM>(ZARN_ERR_T310_OPEN));
    EXPECT_EQ(rig.workerClock.SleptMs() - before, 10u * 1000u);
}

TEST(WorkerCommand, CommandsThatDoNotRunStillGetOneReply)
{
    WorkerRig rig;
    SimHidMeter m = rig.AddT520("/dev/hidraw2");
    rig.StartPolling();
    m.meter->ClearLog();
    // A reset of a family that is not attached, and a code no family has.
    EXPECT_EQ(rig.Run(ZARN_CMD_T140_RESET), static_cast<LPARAM>(ZARN_ERR_T140_WRITE));
    EXPECT_EQ(rig.Run(77), static_cast<LPARAM>(kZarnErrorUnknownCommand));
    // While suspended nothing runs: the open code of the command's family.
    rig.ctrl->Suspend();
    T520TransferBlock marker;
    marker.bytes[100] = 9;
    rig.ctrl->SetT520Block(&marker);
    EXPECT_EQ(rig.Run(ZARN_CMD_T520_READ_PROFILES), static_cast<LPARAM>(ZARN_ERR_T520_OPEN));
    const HWND check = rig.sink.CreateWindow();
    rig.ctrl->PostCommand(ZARN_CMD_UPDATE_CHECK, 0, check);
    ASSERT_TRUE(rig.sink.WaitForCount(WM_ZARN_UPDATE_CHECK_DONE, 1));
    EXPECT_EQ(MessagesTo(rig.sink, check), std::vector<UINT>{WM_ZARN_UPDATE_CHECK_DONE});
    T520TransferBlock held;
    rig.ctrl->GetT520Block(&held);
    EXPECT_EQ(held.bytes[100], 9);
    for (const std::string& c : m.meter->Log()) EXPECT_NE(c.substr(0, 1), "W") << c;
    // Every reply is exactly one.
    EXPECT_EQ(rig.sink.PostsOf(WM_ZARN_COMMAND_DONE).size(), 3u);
}

TEST(WorkerCommand, ResetOfTheAttachedFamilySucceeds)
{
    WorkerRig rig;
    SimHidMeter m = rig.AddT140("/dev/hidraw1");
    rig.StartPolling();
    EXPECT_EQ(rig.Run(ZARN_CMD_T140_RESET), 0);
    EXPECT_EQ(m.registers->ResetCount(), 1);
    EXPECT_FALSE(rig.links->LastT140()->IsOpen());
}

TEST(WorkerCommand, UpdateCheckAgainstAnUnreachableServerStoresAnEmptyListAndEnablesPolling)
{
    WorkerRig rig;
    rig.ctrl->Start();
    ASSERT_TRUE(rig.signal->WaitUntilIdle());
    rig.ctrl->SetUpdateRequest("http://127.0.0.1:1", "http://127.0.0.1:1/version.txt", ZarnProxySettings());
    ZarnUpdateRecord stale;
    stale.key = "old";
    rig.ctrl->SetUpdateList({stale}, nullptr);
    const HWND reply = rig.sink.CreateWindow();
    rig.ctrl->PostCommand(ZARN_CMD_UPDATE_CHECK, 0, reply);
    ASSERT_TRUE(rig.sink.WaitForCount(WM_ZARN_UPDATE_LIST_READY, 1));
    ASSERT_TRUE(rig.signal->WaitUntilIdle());
    EXPECT_TRUE(rig.ctrl->GetUpdateList().empty());
    EXPECT_EQ(rig.ctrl->IsPollingEnabled(), 1);
    const auto posts = rig.sink.Posts();
    ASSERT_EQ(posts.size(), 2u);
    EXPECT_EQ(posts[0].message, WM_ZARN_UPDATE_CHECK_DONE); // done before the list notice
    EXPECT_EQ(posts[0].window, reply);
    EXPECT_EQ(posts[1].message, WM_ZARN_UPDATE_LIST_READY);
    EXPECT_EQ(posts[1].window, rig.mainWnd);
}

} // namespace
