// The meter facade on simulated meters, as the facade's and the main window's rigs share it: a
// worker whose links reach HID meters in process and a T-310 behind a pseudo-terminal, its window
// messages going through the program's Qt message sink; the registry and the user's data folder in
// a scratch folder. The worker's sleeps run on a test clock and its idle waits run out only when
// the test says so.
#pragma once

// The simulator's headers come before any Qt header: one of their members is named like a Qt keyword.
#include "tests/support/FakeUsbSysfs.h"
#include "tests/support/ManualClock.h"
#include "tests/support/ManualSemaphore.h"
#include "tests/support/MeterSimulator.h"
#include "tests/support/ScratchFolder.h"
#include "tests/support/SimHidDeviceSystem.h"
#include "tests/support/SimMeterLinkFactory.h"
#include "tests/support/SimT310Mode.h"
#include "tests/support/SimT310SerialLink.h"
#include "tests/support/SimulatedLineWaiter.h"
#include "meter/CKZARN_LMCtrl.h"
#include "ui/meter/CZarnManager.h"
#include "platform/PosixSerialDeviceSystem.h"
#include "platform/qt/QtMessageSink.h"

#include <gtest/gtest.h>

#include <QCoreApplication>

#include <cstdlib>
#include <filesystem>
#include <memory>

struct FacadeEnvironment {
    ScratchFolder scratch;
    ManualClock workerClock;
    ManualClock serialClock;
    SimulatedLineWaiter waiter{serialClock};
    PosixSerialDeviceSystem serial{serialClock, waiter};
    SimHidDeviceSystem hid;
    std::unique_ptr<FakeUsbSysfs> sysfs;
    ManualSemaphore* signal = nullptr;
    CZarnManager* facade = nullptr;
    // The T-310, when attached.
    std::unique_ptr<MeterSimulator> t310;
    std::unique_ptr<SimT310SerialLink> t310Link;

    FacadeEnvironment()
    {
        ::setenv("ZARN_REGISTRY_FILE", scratch.File("registry.reg").c_str(), 1);
        ::setenv("XDG_DATA_HOME", scratch.File("data").c_str(), 1);
        std::filesystem::create_directories(scratch.File("sys"));
        std::filesystem::create_directories(scratch.File("dev"));
        sysfs = std::make_unique<FakeUsbSysfs>(scratch.File("sys"));
        auto semaphore = std::make_unique<ManualSemaphore>();
        signal = semaphore.get();
        auto links = std::make_unique<SimMeterLinkFactory>(hid, serial, sysfs->Root(), scratch.File("dev"));
        facade = CZarnManager::CreateInstance(std::make_unique<CKZARN_LMCtrl>(
            QtMessageSink::Instance(), std::move(links), &workerClock, std::move(semaphore)));
    }
    ~FacadeEnvironment() { ShutDown(); }
    FacadeEnvironment(const FacadeEnvironment&) = delete;
    FacadeEnvironment& operator=(const FacadeEnvironment&) = delete;

    // Ends the facade (and with it the worker), detaches the T-310 and forgets the scratch
    // registry and data folder. A rig calls it first in its own destructor, so that the worker
    // has ended before the rig's own members go; later calls do nothing.
    void ShutDown()
    {
        if (shutDown_) return;
        shutDown_ = true;
        CZarnManager::DestroyInstance();
        t310Link.reset();
        ::unsetenv("ZARN_REGISTRY_FILE");
        ::unsetenv("XDG_DATA_HOME");
    }

    // Attaches a T-310 in the given mode behind the pseudo-terminal.
    void AttachT310(std::unique_ptr<SimT310Mode> mode)
    {
        t310 = std::make_unique<MeterSimulator>(std::move(mode));
        t310Link = std::make_unique<SimT310SerialLink>(*t310, waiter, *sysfs, scratch.File("dev"));
        ASSERT_TRUE(t310Link->IsReady());
    }

    // Lets the worker finish its round and hands its notices to the windows.
    void Settle()
    {
        ASSERT_TRUE(signal->WaitUntilIdle());
        QCoreApplication::processEvents();
    }
    // One idle round of the worker: it polls for meters again.
    void Round()
    {
        signal->Expire();
        Settle();
    }

private:
    bool shutDown_ = false;
};
