#include "platform/HidApiDeviceSystem.h"

#include "platform/HidApiTransport.h"

#include <hidapi/hidapi.h>

#include <cerrno>
#include <mutex>

namespace {
bool InitOnce()
{
    static std::once_flag once;
    static bool ok = false;
    std::call_once(once, [] { ok = hid_init() == 0; });
    return ok;
}
} // namespace

HidApiDeviceSystem::HidApiDeviceSystem(Clock& clock) : clock_(clock) {}

std::vector<HidDeviceInfo> HidApiDeviceSystem::Enumerate(std::uint16_t vendorId, std::uint16_t productId)
{
    std::vector<HidDeviceInfo> result;
    if (!InitOnce()) return result;
    hid_device_info* list = hid_enumerate(vendorId, productId);
    for (hid_device_info* d = list; d; d = d->next) {
        if (!d->path) continue;
        result.push_back(HidDeviceInfo{d->path, d->vendor_id, d->product_id});
    }
    hid_free_enumeration(list);
    return result;
}

std::unique_ptr<MeterTransport> HidApiDeviceSystem::Open(const std::string& path, int* err)
{
    if (err) *err = 0;
    if (!InitOnce()) {
        if (err) *err = EIO;
        return nullptr;
    }
    errno = 0;
    hid_device* device = hid_open_path(path.c_str());
    if (!device) {
        if (err) *err = errno != 0 ? errno : ENODEV;
        return nullptr;
    }
    return std::make_unique<HidApiTransport>(device, clock_);
}

HidApiDeviceSystem& HidApiDeviceSystem::Instance()
{
    static HidApiDeviceSystem system(SystemClock::Instance());
    return system;
}
