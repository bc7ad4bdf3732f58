// The worker's update check against a server that keeps the transfer alive with a byte now and
// then: a cancel ends the check within a second and the next meter command runs; a stop ends the
// worker within a second.
#include "tests/meter/WorkerRig.h"
#include "tests/support/LoopbackHttpServer.h"

#include <gtest/gtest.h>

#include <chrono>

namespace {

using Clock = std::chrono::steady_clock;

struct DripServer {
    LoopbackHttpServer server;
    DripServer()
    {
        LoopbackHttpServer::IgnoreEnvironmentProxies();
        server.SetRoute("/version.txt", LoopbackHttpServer::Drip());
    }
    ~DripServer() { server.Stop(); }
};

TEST(WorkerUpdateCheck, CancelEndsAStalledCheckWithinASecondAndMeterCommandsRunAgain)
{
    DripServer drip;
    WorkerRig rig;
    SimHidMeter m = rig.AddT140("/dev/hidraw1");
    rig.StartPolling();
    rig.ctrl->SetUpdateRequest(drip.server.BaseUrl(), drip.server.BaseUrl() + "/version.txt", ZarnProxySettings());
    const HWND check = rig.sink.CreateWindow();
    rig.ctrl->PostCommand(ZARN_CMD_UPDATE_CHECK, 0, check);
    ASSERT_TRUE(drip.server.WaitForRequests(1));
    const Clock::time_point cancelled = Clock::now();
    rig.ctrl->CancelUpdateCheck();
    ASSERT_TRUE(rig.sink.WaitForCount(WM_ZARN_UPDATE_CHECK_DONE, 1));
    EXPECT_LT(Clock::now() - cancelled, std::chrono::seconds(1));
    EXPECT_TRUE(rig.ctrl->GetUpdateList().empty());
    EXPECT_EQ(rig.Run(ZARN_CMD_T140_RESET), 0);

    // A cancel reaches only the check it was meant for: the next one runs to its end.
    LoopbackHttpServer::Route list;
    list.body = "[Version]\nAPL,5.2.0,2024/03/01\n[Status]\nNormal\n";
    drip.server.SetRoute("/version.txt", list);
    rig.ctrl->PostCommand(ZARN_CMD_UPDATE_CHECK, 0, check);
    ASSERT_TRUE(rig.sink.WaitForCount(WM_ZARN_UPDATE_CHECK_DONE, 2));
    EXPECT_EQ(rig.ctrl->GetUpdateList().size(), 1u);
}

TEST(WorkerUpdateCheck, StopDuringAStalledCheckReturnsWithinASecond)
{
    DripServer drip;
    WorkerRig rig;
    rig.ctrl->Start();
    ASSERT_TRUE(rig.signal->WaitUntilIdle());
    rig.ctrl->SetUpdateRequest(drip.server.BaseUrl(), drip.server.BaseUrl() + "/version.txt", ZarnProxySettings());
    rig.ctrl->PostCommand(ZARN_CMD_UPDATE_CHECK, 0, rig.sink.CreateWindow());
    ASSERT_TRUE(drip.server.WaitForRequests(1));
    const Clock::time_point stopping = Clock::now();
    rig.ctrl->Stop();
    EXPECT_LT(Clock::now() - stopping, std::chrono::seconds(1));
    EXPECT_EQ(rig.ctrl->IsRunning(), 0);
}

} // namespace
