// The links of a real system: the T-310 family on its USB serial port (termios, sysfs lookup), the
// HID families through hidapi.
#pragma once

#include "meter/MeterLinkFactory.h"
#include "platform/PosixSerialDeviceSystem.h"

class SystemMeterLinkFactory final : public MeterLinkFactory {
public:
    std::unique_ptr<CCommT310> CreateT310() override;
    std::unique_ptr<CCommT140> CreateT140() override;
    std::unique_ptr<CCommT520> CreateT520() override;

private:
    PosixSerialDeviceSystem serial_;
};
