#include "tests/support/SimT310Rig.h"

SimT310Rig::SimT310Rig() : SimT310Rig(false) {}

SimT310Rig::SimT310Rig(bool updateMode)
{
    deviceDir_ = scratch_.Path() + "/dev";
    sysfs_ = std::make_unique<FakeUsbSysfs>(scratch_.Path() + "/sys");
    auto mode = std::make_unique<SimT310Mode>();
    mode_ = mode.get();
    if (updateMode) {
        auto flash = std::make_unique<SimFlashMode>(std::move(mode));
        flash_ = flash.get();
        meter_ = std::make_unique<MeterSimulator>(std::move(flash));
    } else {
        meter_ = std::make_unique<MeterSimulator>(std::move(mode));
    }
    link_ = std::make_unique<SimT310SerialLink>(*meter_, waiter_, *sysfs_, deviceDir_);
    if (updateMode) link_->SetRecordLength(35);
    system_ = std::make_unique<PosixSerialDeviceSystem>(clock_, waiter_);
    comm_ = std::make_unique<CCommT310>(*system_, UsbSerialPortFinder(sysfs_->Root()), deviceDir_);
}

SimT310Rig::~SimT310Rig()
{
    // The link closes its port before the line goes away.
    comm_.reset();
    link_.reset();
}

bool SimT310Rig::OpenAndPrepare()
{
    if (!comm_->OpenDevice(nullptr)) {
        return false;
    }
    const COMMTIMEOUTS workerTimeouts{100, 20, 500, 20, 500};
    comm_->SetCommTimeouts(&workerTimeouts, nullptr);
    if (!comm_->PrepareDevice(nullptr)) {
        return false;
    }
    meter_->ClearLog();
    meter_->ResetExchangeCount();
    return true;
}
