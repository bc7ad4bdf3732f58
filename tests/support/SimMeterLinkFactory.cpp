#include "tests/support/SimMeterLinkFactory.h"

#include "platform/UsbSerialPortFinder.h"

SimMeterLinkFactory::SimMeterLinkFactory(HidDeviceSystem& hid, SerialDeviceSystem& serial, std::string sysfsRoot,
                                         std::string deviceDir)
    : hid_(hid), serial_(serial), sysfsRoot_(std::move(sysfsRoot)), deviceDir_(std::move(deviceDir))
{
}

std::unique_ptr<CCommT310> SimMeterLinkFactory::CreateT310()
{
    auto link = std::make_unique<CCommT310>(serial_, UsbSerialPortFinder(sysfsRoot_), deviceDir_);
    t310_ = link.get();
    return link;
}

std::unique_ptr<CCommT140> SimMeterLinkFactory::CreateT140()
{
    auto link = std::make_unique<CCommT140>(hid_);
    t140_ = link.get();
    return link;
}

std::unique_ptr<CCommT520> SimMeterLinkFactory::CreateT520()
{
    auto link = std::make_unique<CCommT520>(hid_);
    t520_ = link.get();
    return link;
}
