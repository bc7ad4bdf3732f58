// Everything a test needs to run the real T-310 link against a simulated meter: a scratch folder
// with a fake sysfs tree and device folder, the test clock and line waiter, the simulator with the
// T-310 command set behind a pseudo-terminal, the termios device system and a CCommT310 that finds
// and opens the simulated port exactly as it would a real one.
#pragma once

#include "meter/CCommT310.h"
#include "platform/PosixSerialDeviceSystem.h"
#include "tests/support/FakeUsbSysfs.h"
#include "tests/support/ManualClock.h"
#include "tests/support/MeterSimulator.h"
#include "tests/support/ScratchFolder.h"
#include "tests/support/SimFlashMode.h"
#include "tests/support/SimT310Mode.h"
#include "tests/support/SimT310SerialLink.h"
#include "tests/support/SimulatedLineWaiter.h"

#include <memory>
#include <string>

class SimT310Rig {
public:
    SimT310Rig();
    // With updateMode the meter also has its firmware update mode (SimFlashMode over the normal one).
    explicit SimT310Rig(bool updateMode);
    ~SimT310Rig();

    bool IsReady() const { return link_ && link_->IsReady(); }
    // What the worker does before a command: open, its own time-outs, the handshake. Then the
    // simulator's log and exchange count are cleared, so they hold the command's exchanges only.
    bool OpenAndPrepare();

    CCommT310& Link() { return *comm_; }
    MeterSimulator& Meter() { return *meter_; }
    SimT310Mode& Mode() { return *mode_; }
    // The update mode (null without one).
    SimFlashMode* FlashMode() { return flash_; }
    PosixSerialDeviceSystem& System() { return *system_; }
    SimT310SerialLink& Line() { return *link_; }
    ManualClock& Clock() { return clock_; }
    FakeUsbSysfs& Sysfs() { return *sysfs_; }
    const std::string& DeviceDir() const { return deviceDir_; }

private:
    ScratchFolder scratch_;
    std::string deviceDir_;
    ManualClock clock_;
    SimulatedLineWaiter waiter_{clock_};
    std::unique_ptr<FakeUsbSysfs> sysfs_;
    SimT310Mode* mode_ = nullptr;
    SimFlashMode* flash_ = nullptr;
    std::unique_ptr<MeterSimulator> meter_;
    std::unique_ptr<SimT310SerialLink> link_;
    std::unique_ptr<PosixSerialDeviceSystem> system_;
    std::unique_ptr<CCommT310> comm_;
};
