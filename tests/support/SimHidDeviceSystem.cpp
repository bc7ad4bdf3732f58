#include "tests/support/SimHidDeviceSystem.h"

#include "tests/support/SimHidTransport.h"

#include <cerrno>

std::shared_ptr<MeterSimulator> SimHidDeviceSystem::AddMeter(const std::string& path, std::uint16_t vendorId,
                                                             std::uint16_t productId, std::unique_ptr<SimMeterMode> mode)
{
    auto meter = std::make_shared<MeterSimulator>(std::move(mode));
    devices_.push_back(Device{HidDeviceInfo{path, vendorId, productId}, meter,
                              std::make_shared<std::vector<std::uint8_t>>()});
    return meter;
}

std::vector<std::uint8_t> SimHidDeviceSystem::ReportIds(const std::string& path) const
{
    for (const Device& d : devices_) {
        if (d.info.path == path) return *d.reportIds;
    }
    return {};
}

std::vector<HidDeviceInfo> SimHidDeviceSystem::Enumerate(std::uint16_t vendorId, std::uint16_t productId)
{
    std::vector<HidDeviceInfo> result;
    for (const Device& d : devices_) {
        if (d.meter->IsUnplugged()) continue;
        if (vendorId != 0 && d.info.vendorId != vendorId) continue;
        if (productId != 0 && d.info.productId != productId) continue;
        result.push_back(d.info);
    }
    return result;
}

std::unique_ptr<MeterTransport> SimHidDeviceSystem::Open(const std::string& path, int* err)
{
    if (err) *err = 0;
    for (const Device& d : devices_) {
        if (d.info.path != path) continue;
        if (d.meter->IsUnplugged()) break;
        ++opens_;
        return std::make_unique<SimHidTransport>(d.meter, clock_, roundTripMs_, d.reportIds);
    }
    if (err) *err = ENOENT;
    return nullptr;
}
