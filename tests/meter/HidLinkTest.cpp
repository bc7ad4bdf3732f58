// The HID link itself: report framing, bounded reads, discovery and opening.
#include "tests/meter/HidMeterRig.h"

#include "meter/CCommT140.h"
#include "meter/CCommT520.h"

#include <gtest/gtest.h>

namespace {

TEST(HidLink, ReportIdFollowsTheFirstCharacter)
{
    HidMeterRig<CCommT520> rig(SimRegisterMeter::T520(), CCommT520::kProductId);
    ASSERT_TRUE(rig.Open());
    char reply[8];
    DWORD bytesRead = 0;
    rig.comm.Transact("R00000", 6, nullptr, reply, 6, &bytesRead);
    rig.comm.Transact("G00001", 6, nullptr, reply, 6, &bytesRead);
    rig.comm.Transact("r00000", 6, nullptr, reply, 6, &bytesRead);
    EXPECT_EQ(rig.system.ReportIds(kMeterPath), (std::vector<std::uint8_t>{2, 1, 1}));
    EXPECT_EQ(bytesRead, 7u);
}

TEST(HidLink, SilentOrLateMeterEndsTheReadWithinItsBound)
{
    struct Case {
        MeterFault fault;
        bool answered;
    };
    const Case cases[] = {
        {{MeterFaultKind::NoReply, 0, 0}, false},
        {{MeterFaultKind::Delay, 0, 641}, false},
        {{MeterFaultKind::Delay, 0, 640}, true},
    };
    for (const Case& c : cases) {
        HidMeterRig<CCommT520> rig(SimRegisterMeter::T520(), CCommT520::kProductId);
        ASSERT_TRUE(rig.Open()); // time-outs 20 ms per byte plus 500 ms: 640 ms for a report
        rig.meter->InjectFault(c.fault);
        const std::uint64_t start = rig.system.Clock().NowMs();
        int err = -1;
        std::string revision;
        EXPECT_EQ(rig.comm.GetRevision(&revision, &err) != FALSE, c.answered);
        EXPECT_EQ(err, 0) << "a time-out is a protocol failure, not a platform error";
        EXPECT_LE(rig.system.Clock().NowMs() - start, 640u);
    }
    // Before any time-outs are set, the default bound is the same rule with 500 ms.
    HidMeterRig<CCommT520> rig(SimRegisterMeter::T520(), CCommT520::kProductId);
    ASSERT_TRUE(rig.comm.Open(kMeterPath));
    rig.meter->InjectFault({MeterFaultKind::NoReply, 0, 0});
    std::string revision;
    const std::uint64_t start = rig.system.Clock().NowMs();
    EXPECT_FALSE(rig.comm.GetRevision(&revision));
    EXPECT_EQ(rig.system.Clock().NowMs() - start, 20u * 7 + 500);
}

TEST(HidLink, UnpluggedMeterReportsThePlatformError)
{
    HidMeterRig<CCommT140> rig(SimRegisterMeter::T140(), CCommT140::kProductId);
    ASSERT_TRUE(rig.Open());
    rig.meter->InjectFault({MeterFaultKind::Unplug, 1, 0});
    int err = 0;
    std::string text;
    EXPECT_TRUE(rig.comm.GetRevision(&text, &err));
    EXPECT_FALSE(rig.comm.GetRevision(&text, &err));
    EXPECT_NE(err, 0);
    EXPECT_EQ(text, "");
    BOOL several = TRUE;
    EXPECT_FALSE(rig.comm.IsDevicePresent(&several));
    EXPECT_FALSE(several);
    // Without an error pointer the failure is reported all the same.
    EXPECT_FALSE(rig.comm.GetRevision(&text));
}

TEST(HidLink, DiscoveryCountsOnlyTheFamilysMeters)
{
    SimHidDeviceSystem system;
    CCommT140 t140(system);
    CCommT520 t520(system);
    BOOL several = TRUE;
    std::string path = "stale";
    EXPECT_TRUE(t140.FindT140HidDevice(&path, &several));
    EXPECT_EQ(path, "");
    EXPECT_FALSE(several);
    EXPECT_FALSE(t140.FindT140HidDevice(nullptr, &several));
    int err = 0;
    EXPECT_FALSE(t140.OpenDevice(&err));
    EXPECT_EQ(err, 20);

    system.AddMeter("/dev/hidraw1", 0x1F3C, 0x7002, SimRegisterMeter::T140());
    system.AddMeter("/dev/hidraw2", 0x1F3C, 0x7004, SimRegisterMeter::T520());
    system.AddMeter("/dev/hidraw3", 0x1F3D, 0x7002, SimRegisterMeter::T140()); // another maker
    EXPECT_TRUE(t140.IsDevicePresent(&several));
    EXPECT_FALSE(several);
    EXPECT_TRUE(t520.IsDevicePresent(&several));
    EXPECT_FALSE(several);

    system.AddMeter("/dev/hidraw5", 0x1F3C, 0x7002, SimRegisterMeter::T140());
    EXPECT_TRUE(t140.IsDevicePresent(&several));
    EXPECT_TRUE(several);
    EXPECT_TRUE(t140.FindT140HidDevice(&path, &several));
    EXPECT_EQ(path, "/dev/hidraw5") << "the last one enumerated";
    EXPECT_TRUE(t140.OpenDevice(&err));
    EXPECT_EQ(err, 0);
    COMMTIMEOUTS timeouts;
    EXPECT_TRUE(t140.GetTimeouts(&timeouts));
    EXPECT_EQ(timeouts, (COMMTIMEOUTS{100, 20, 200, 20, 200}));
}

TEST(HidLink, CloseClearsTheProgressTarget)
{
    HidMeterRig<CCommT520> rig(SimRegisterMeter::T520(), CCommT520::kProductId);
    ASSERT_TRUE(rig.Open());
    int err = -1;
    EXPECT_TRUE(rig.comm.Close(&err));
    EXPECT_EQ(err, 0);
    EXPECT_FALSE(rig.comm.Close(&err));
    // Every exchange on a closed link fails, and no progress is posted after Close.
    T520TransferBlock block;
    EXPECT_FALSE(rig.comm.ReadProfileNames(&block));
    EXPECT_TRUE(rig.sink.posts.empty());
    // A window that is gone gets nothing, but steps are still counted.
    ASSERT_TRUE(rig.Open());
    rig.comm.SetNotifyWindow(HWND{99}, kProgressMessage);
    EXPECT_TRUE(rig.comm.ReadProfileNames(&block));
    EXPECT_TRUE(rig.sink.posts.empty());
    EXPECT_GT(rig.comm.ProgressCount(), 10);
}

} // namespace
