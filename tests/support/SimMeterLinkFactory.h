// Links for the meter worker that reach simulated meters: the HID families through a simulated HID
// system, the T-310 through a serial device system, a sysfs root and a device folder of the test's
// own. Keeps a pointer to every link it made, for tests that look at a link after a command.
#pragma once

#include "meter/MeterLinkFactory.h"
#include "platform/HidDeviceSystem.h"
#include "platform/SerialDeviceSystem.h"

#include <atomic>
#include <string>

class SimMeterLinkFactory final : public MeterLinkFactory {
public:
    SimMeterLinkFactory(HidDeviceSystem& hid, SerialDeviceSystem& serial, std::string sysfsRoot, std::string deviceDir);

    std::unique_ptr<CCommT310> CreateT310() override;
    std::unique_ptr<CCommT140> CreateT140() override;
    std::unique_ptr<CCommT520> CreateT520() override;

    // The links made last (valid while the worker that owns them runs).
    CCommT310* LastT310() const { return t310_.load(); }
    CCommT140* LastT140() const { return t140_.load(); }
    CCommT520* LastT520() const { return t520_.load(); }

private:
    HidDeviceSystem& hid_;
    SerialDeviceSystem& serial_;
    std::string sysfsRoot_;
    std::string deviceDir_;
    std::atomic<CCommT310*> t310_{nullptr};
    std::atomic<CCommT140*> t140_{nullptr};
    std::atomic<CCommT520*> t520_{nullptr};
};
