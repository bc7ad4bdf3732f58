// The meter worker between threads: queue order and completeness, prompt wake-up, stopping,
// the lock during transfers, whole-block copies, vanished reply windows, suspension and the
// several-meters rule.
#include "tests/meter/HidMeterRig.h"
#include "tests/meter/WorkerRig.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <future>
#include <map>
#include <thread>
#include <vector>

namespace {

TEST(WorkerConcurrency, ManyPostersLoseNothingAndKeepEachPostersOrder)
{
    WorkerRig rig;
    rig.StartPolling(); // no meter: every command fails at once without opening anything
    constexpr int kThreads = 8;
    constexpr int kPosts = 40;
    std::vector<std::vector<HWND>> windows(kThreads);
    for (auto& w : windows) {
        for (int i = 0; i < kPosts; ++i) w.push_back(rig.sink.CreateWindow());
    }
    std::vector<std::thread> posters;
    for (int t = 0; t < kThreads; ++t) {
        posters.emplace_back([&rig, &windows, t] {
            for (int i = 0; i < kPosts; ++i) rig.ctrl->PostCommand(ZARN_CMD_T140_READ_CUSTOM, 0, windows[t][i]);
        });
    }
    for (auto& p : posters) p.join();
    ASSERT_TRUE(rig.sink.WaitForCount(WM_ZARN_COMMAND_DONE, kThreads * kPosts));
    std::map<std::uint64_t, std::pair<int, int>> owner;
    for (int t = 0; t < kThreads; ++t) {
        for (int i = 0; i < kPosts; ++i) owner[windows[t][i].Id()] = {t, i};
    }
    std::vector<int> next(kThreads, 0);
    const auto done = rig.sink.PostsOf(WM_ZARN_COMMAND_DONE);
    ASSERT_EQ(done.size(), static_cast<std::size_t>(kThreads * kPosts));
    for (const auto& p : done) {
        const auto [t, i] = owner.at(p.window.Id());
        EXPECT_EQ(i, next[t]) << "poster " << t;
        next[t] = i + 1;
    }
}

TEST(WorkerConcurrency, TwoPostsToAnIdleWorkerRunWithoutWaitingOutTheQueue)
{
    WorkerRig rig;
    rig.StartPolling();
    const int timeoutsBefore = rig.signal->TimeoutCount();
    const std::uint64_t clockBefore = rig.workerClock.NowMs();
    rig.ctrl->PostCommand(ZARN_CMD_T140_READ_PROFILES, 0, rig.sink.CreateWindow());
    rig.ctrl->PostCommand(ZARN_CMD_T520_READ_PROFILES, 0, rig.sink.CreateWindow());
    ASSERT_TRUE(rig.sink.WaitForCount(WM_ZARN_COMMAND_DONE, 2));
    EXPECT_EQ(rig.signal->TimeoutCount(), timeoutsBefore);
    EXPECT_EQ(rig.workerClock.NowMs(), clockBefore);
}

TEST(WorkerConcurrency, TwoPostsWithTheRealSignalAreTakenAtOnce)
{
    RecordingMessageSink sink;
    ManualClock clock;
    SimHidDeviceSystem hid;
    ScratchFolder scratch;
    ManualClock serialClock;
    SimulatedLineWaiter waiter(serialClock);
    PosixSerialDeviceSystem serial(serialClock, waiter);
    CKZARN_LMCtrl ctrl(sink, std::make_unique<SimMeterLinkFactory>(hid, serial, scratch.Path(), scratch.Path()),
                       &clock);
    ctrl.Start();
    const auto start = std::chrono::steady_clock::now();
    ctrl.PostCommand(ZARN_CMD_T140_READ_PROFILES, 0, sink.CreateWindow());
    ctrl.PostCommand(ZARN_CMD_T140_READ_PROFILES, 0, sink.CreateWindow());
    ASSERT_TRUE(sink.WaitForCount(WM_ZARN_COMMAND_DONE, 2));
    // The second post found the first still queued or ran right after it: no 1000 ms wait between.
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(900));
    ctrl.Stop();
}

TEST(WorkerConcurrency, StopDuringATransferWaitsForItAndDropsWhatIsQueued)
{
    WorkerRig rig;
    SimHidMeter m = rig.AddT140("/dev/hidraw1");
    rig.StartPolling();
    m.gate->Close(30);
    const HWND running = rig.sink.CreateWindow();
    const HWND queued = rig.sink.CreateWindow();
    rig.ctrl->PostCommand(ZARN_CMD_T140_WRITE_PROFILES, 0x7FF, running);
    ASSERT_TRUE(m.gate->WaitUntilHeld());
    rig.ctrl->PostCommand(ZARN_CMD_T140_READ_PROFILES, 0, queued);
    std::atomic<bool> stopped{false};
    std::thread stopper([&] {
        rig.ctrl->Stop();
        stopped = true;
    });
    EXPECT_FALSE(stopped.load()); // the transfer is held: Stop cannot have returned
    // Let the transfer go only once Stop has cleared the run flag, so the worker sees it after
    // the running command and never takes the queued one.
    while (rig.ctrl->IsRunning() != 0) std::this_thread::yield();
    m.gate->Open();
    stopper.join();
    EXPECT_EQ(rig.ctrl->IsRunning(), 0);
    const auto runningPosts = rig.sink.PostsTo(running);
    ASSERT_FALSE(runningPosts.empty());
    EXPECT_EQ(runningPosts.back().message, WM_ZARN_COMMAND_DONE);
    EXPECT_EQ(runningPosts.back().lParam, 0);
    EXPECT_TRUE(rig.sink.PostsTo(queued).empty());
}

TEST(WorkerConcurrency, StartAndStopAtOnceInALoop)
{
    RecordingMessageSink sink;
    ManualClock clock;
    SimHidDeviceSystem hid;
    ScratchFolder scratch;
    ManualClock serialClock;
    SimulatedLineWaiter waiter(serialClock);
    PosixSerialDeviceSystem serial(serialClock, waiter);
    for (int i = 0; i < 200; ++i) {
        auto ctrl = std::make_unique<CKZARN_LMCtrl>(
            sink, std::make_unique<SimMeterLinkFactory>(hid, serial, scratch.Path(), scratch.Path()), &clock);
        ctrl->Start();
        if (i % 3 == 0) ctrl->PostCommand(ZARN_CMD_T140_READ_INFO, 0, nullptr);
        if (i % 2 == 0) ctrl->Stop();
        EXPECT_EQ(ctrl->IsRunning(), i % 2 == 0 ? 0 : 1);
        ctrl.reset(); // also without Stop: the destructor waits for the thread
    }
}

TEST(WorkerConcurrency, GettersAndSettersAnswerWhileATransferIsHeld)
{
    WorkerRig rig;
    SimHidMeter m = rig.AddT140("/dev/hidraw1");
    rig.StartPolling();
    m.gate->Close(20);
    rig.ctrl->PostCommand(ZARN_CMD_T140_READ_PROFILES, 0, rig.sink.CreateWindow());
    ASSERT_TRUE(m.gate->WaitUntilHeld());
    auto calls = std::async(std::launch::async, [&rig] {
        T140TransferBlock block;
        rig.ctrl->GetT140Block(&block);
        rig.ctrl->SetT520Block(nullptr);
        T520TransferBlock other;
        rig.ctrl->SetT520Block(&other);
        rig.ctrl->PostCommand(ZARN_CMD_NONE, 0, nullptr);
        return rig.ctrl->IsT140Connected() + static_cast<int>(rig.ctrl->GetModelName().size()) +
               rig.ctrl->IsPollingEnabled();
    });
    const bool answered = calls.wait_for(std::chrono::seconds(20)) == std::future_status::ready;
    m.gate->Open();
    ASSERT_TRUE(answered) << "a getter waited for the meter transfer";
    EXPECT_EQ(calls.get(), 2);
    EXPECT_EQ(rig.sink.WaitForCount(WM_ZARN_COMMAND_DONE, 1), true);
}

TEST(WorkerConcurrency, BlocksAreCopiedWhole)
{
    WorkerRig rig;
    SimHidMeter m = rig.AddT140("/dev/hidraw1");
    m.registers->SetSaved(PatternMemory(*m.registers, false));
    rig.StartPolling();
    ASSERT_EQ(rig.Run(ZARN_CMD_T140_READ_PROFILES), 0);
    T140TransferBlock fromMeter;
    rig.ctrl->GetT140Block(&fromMeter);
    T140TransferBlock a;
    a.bytes.fill(0xA1);
    T140TransferBlock b;
    b.bytes.fill(0xB2);
    T140TransferBlock zero;
    std::atomic<bool> done{false};
    std::atomic<int> torn{0};
    std::thread writer([&] {
        for (int i = 0; !done; ++i) rig.ctrl->SetT140Block(i % 2 ? &a : &b);
    });
    std::thread reader([&] {
        T140TransferBlock copy;
        while (!done) {
            rig.ctrl->GetT140Block(&copy);
            if (copy.bytes != a.bytes && copy.bytes != b.bytes && copy.bytes != fromMeter.bytes &&
                copy.bytes != zero.bytes) {
                ++torn;
            }
        }
    });
    for (int i = 0; i < 5; ++i) EXPECT_EQ(rig.Run(ZARN_CMD_T140_READ_PROFILES), 0);
    done = true;
    writer.join();
    reader.join();
    EXPECT_EQ(torn.load(), 0);
}

TEST(WorkerConcurrency, AReplyWindowDestroyedBeforeTheReplyGetsNothing)
{
    WorkerRig rig;
    SimHidMeter m = rig.AddT140("/dev/hidraw1");
    rig.StartPolling();
    m.gate->Close(5);
    const HWND reply = rig.sink.CreateWindow();
    rig.ctrl->PostCommand(ZARN_CMD_T140_READ_PROFILES, 0, reply);
    ASSERT_TRUE(m.gate->WaitUntilHeld());
    const std::size_t before = rig.sink.PostsTo(reply).size();
    rig.sink.DestroyWindow(reply);
    m.gate->Open();
    // The next command's reply shows the first has ended.
    EXPECT_EQ(rig.Run(ZARN_CMD_T140_READ_CUSTOM), 0);
    EXPECT_EQ(rig.sink.PostsTo(reply).size(), before);
}

TEST(WorkerConcurrency, SuspendedWorkerNeitherPollsNorRuns)
{
    WorkerRig rig;
    rig.StartPolling();
    rig.ctrl->Suspend();
    rig.Round(); // the worker now waits, suspended; meters are added only while it waits
    SimHidMeter m = rig.AddT140("/dev/hidraw1");
    rig.Round();
    EXPECT_EQ(rig.ctrl->IsT140Connected(), 0);
    EXPECT_EQ(rig.Run(ZARN_CMD_T140_READ_PROFILES), static_cast<LPARAM>(ZARN_ERR_T140_OPEN));
    EXPECT_TRUE(m.meter->Log().empty());
    rig.ctrl->Resume();
    rig.Round();
    EXPECT_EQ(rig.ctrl->IsT140Connected(), 1);
    EXPECT_EQ(rig.Run(ZARN_CMD_T140_READ_PROFILES), 0);
}

TEST(WorkerConcurrency, SeveralMetersNoticeOncePerEpisodeAndRunNothing)
{
    WorkerRig rig;
    SimHidMeter one = rig.AddT140("/dev/hidraw1");
    rig.AddT310Port();
    rig.ctrl->Start();
    ASSERT_TRUE(rig.signal->WaitUntilIdle());
    rig.ctrl->SetPollingEnabled(1);
    rig.signal->Expire();
    ASSERT_TRUE(rig.sink.WaitForCount(WM_ZARN_MULTIPLE_METERS, 1));
    // A command posted during the episode is answered, not run.
    const HWND reply = rig.sink.CreateWindow();
    rig.ctrl->PostCommand(ZARN_CMD_T140_READ_PROFILES, 0, reply);
    ASSERT_TRUE(rig.sink.WaitForCount(WM_ZARN_COMMAND_DONE, 1));
    const auto replies = rig.sink.PostsTo(reply);
    ASSERT_EQ(replies.size(), 1u);
    EXPECT_EQ(replies[0].lParam, static_cast<LPARAM>(ZARN_ERR_T140_OPEN));
    EXPECT_TRUE(one.meter->Log().empty());
    EXPECT_EQ(rig.sink.PostsOf(WM_ZARN_MULTIPLE_METERS).size(), 1u);
    EXPECT_EQ(rig.ctrl->IsT140Connected(), 0);
    EXPECT_EQ(rig.ctrl->IsT310Connected(), 0);
    // The worker keeps going round a second at a time while both stay.
    const std::uint64_t slept = rig.workerClock.SleptMs();
    const auto limit = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (rig.workerClock.SleptMs() < slept + 3000 && std::chrono::steady_clock::now() < limit) {
        std::this_thread::yield();
    }
    ASSERT_GE(rig.workerClock.SleptMs(), slept + 3000);
    EXPECT_EQ(rig.sink.PostsOf(WM_ZARN_MULTIPLE_METERS).size(), 1u);
    // One goes: the episode ends, the other counts as attached and commands run.
    rig.sysfs->Remove("ttyUSB0");
    ASSERT_TRUE(rig.signal->WaitUntilIdle());
    EXPECT_EQ(rig.ctrl->IsT140Connected(), 1);
    EXPECT_EQ(rig.Run(ZARN_CMD_T140_READ_CUSTOM), 0);
    // A later episode notices again.
    ASSERT_TRUE(rig.signal->WaitUntilIdle());
    SimHidMeter two = rig.AddT140("/dev/hidraw9");
    rig.signal->Expire();
    ASSERT_TRUE(rig.sink.WaitForCount(WM_ZARN_MULTIPLE_METERS, 2));
    two.meter->Unplug();
    ASSERT_TRUE(rig.signal->WaitUntilIdle());
}

} // namespace
