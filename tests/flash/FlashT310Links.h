// Meter links for the downloader's T-310 tests: the T-310 over the simulated meter behind the rig's
// pseudo-terminal, the HID families over an empty simulated HID system.
#pragma once

#include "meter/CCommT140.h"
#include "meter/CCommT310.h"
#include "meter/CCommT520.h"
#include "meter/MeterLinkFactory.h"
#include "tests/support/SimHidDeviceSystem.h"
#include "tests/support/SimT310Rig.h"

#include <memory>

class T310Links final : public MeterLinkFactory {
public:
    explicit T310Links(SimT310Rig& rig) : rig_(rig) {}
    std::unique_ptr<CCommT310> CreateT310() override
    {
        return std::make_unique<CCommT310>(rig_.System(), UsbSerialPortFinder(rig_.Sysfs().Root()), rig_.DeviceDir());
    }
    std::unique_ptr<CCommT140> CreateT140() override { return std::make_unique<CCommT140>(hid_); }
    std::unique_ptr<CCommT520> CreateT520() override { return std::make_unique<CCommT520>(hid_); }

private:
    SimT310Rig& rig_;
    SimHidDeviceSystem hid_;
};
