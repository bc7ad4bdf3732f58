// Meter links for the downloader's tests: the HID families over the test's simulated HID system,
// the T-310 over the real serial system below a scratch device root (where no meter is found).
#pragma once

#include "meter/CCommT140.h"
#include "meter/CCommT310.h"
#include "meter/CCommT520.h"
#include "meter/MeterLinkFactory.h"
#include "platform/PosixSerialDeviceSystem.h"
#include "tests/support/SimHidDeviceSystem.h"

#include <memory>
#include <string>

class SimFlashLinks final : public MeterLinkFactory {
public:
    SimFlashLinks(SimHidDeviceSystem& hid, const std::string& root) : hid_(hid), root_(root) {}
    std::unique_ptr<CCommT310> CreateT310() override
    {
        return std::make_unique<CCommT310>(serial_, UsbSerialPortFinder(root_), root_);
    }
    std::unique_ptr<CCommT140> CreateT140() override { return std::make_unique<CCommT140>(hid_); }
    std::unique_ptr<CCommT520> CreateT520() override { return std::make_unique<CCommT520>(hid_); }

private:
    SimHidDeviceSystem& hid_;
    std::string root_;
    PosixSerialDeviceSystem serial_;
};
