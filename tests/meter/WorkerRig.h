// The meter worker wired to simulated meters: HID meters in process, the T-310's presence through
// a fake sysfs tree, a recording message sink with a main window, a test clock for the worker's
// sleeps and a command signal whose waits run out only when the test says so.
#pragma once

#include "meter/CKZARN_LMCtrl.h"
#include "meter/ZarnMeterError.h"
#include "meter/ZarnMeterMessages.h"
#include "platform/PosixSerialDeviceSystem.h"
#include "tests/support/FakeUsbSysfs.h"
#include "tests/support/GatedMeterMode.h"
#include "tests/support/ManualClock.h"
#include "tests/support/ManualSemaphore.h"
#include "tests/support/RecordingMessageSink.h"
#include "tests/support/ScratchFolder.h"
#include "tests/support/SimHidDeviceSystem.h"
#include "tests/support/SimMeterLinkFactory.h"
#include "tests/support/SimRegisterMeter.h"
#include "tests/support/SimulatedLineWaiter.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>

struct SimHidMeter {
    GatedMeterMode* gate = nullptr;
    SimRegisterMeter* registers = nullptr;
    std::shared_ptr<MeterSimulator> meter;
};

struct WorkerRig {
    ScratchFolder scratch;
    ManualClock workerClock;
    ManualClock serialClock;
    SimulatedLineWaiter waiter{serialClock};
    PosixSerialDeviceSystem serial{serialClock, waiter};
    SimHidDeviceSystem hid;
    std::unique_ptr<FakeUsbSysfs> sysfs;
    RecordingMessageSink sink;
    HWND mainWnd;
    ManualSemaphore* signal = nullptr;
    SimMeterLinkFactory* links = nullptr;
    std::unique_ptr<CKZARN_LMCtrl> ctrl;

    WorkerRig()
    {
        std::filesystem::create_directories(scratch.Path() + "/sys");
        std::filesystem::create_directories(scratch.Path() + "/dev");
        sysfs = std::make_unique<FakeUsbSysfs>(scratch.Path() + "/sys");
        mainWnd = sink.CreateWindow();
        auto semaphore = std::make_unique<ManualSemaphore>();
        signal = semaphore.get();
        auto factory = std::make_unique<SimMeterLinkFactory>(hid, serial, sysfs->Root(), scratch.Path() + "/dev");
        links = factory.get();
        ctrl = std::make_unique<CKZARN_LMCtrl>(sink, std::move(factory), &workerClock, std::move(semaphore));
        ctrl->SetNotifyWindow(mainWnd);
    }
    ~WorkerRig()
    {
        // Let any held exchange go so the worker can end.
        ctrl.reset();
    }

    SimHidMeter AddT140(const std::string& path, unsigned modelCode = 0x11)
    {
        return AddHid(path, 0x7002, SimRegisterMeter::T140(modelCode));
    }
    SimHidMeter AddT520(const std::string& path) { return AddHid(path, 0x7004, SimRegisterMeter::T520()); }
    SimHidMeter AddHid(const std::string& path, std::uint16_t productId, std::unique_ptr<SimRegisterMeter> mode)
    {
        SimHidMeter m;
        m.registers = mode.get();
        auto gate = std::make_unique<GatedMeterMode>(std::move(mode));
        m.gate = gate.get();
        m.meter = hid.AddMeter(path, 0x1F3C, productId, std::move(gate));
        return m;
    }
    // A T-310 port in sysfs only: present to the poll, but nothing to open.
    void AddT310Port(const std::string& name = "ttyUSB0") { sysfs->AddUsbTty(name, 0x1F3C, 0x7001, 0); }

    // Starts the worker and lets it sit idle with presence polling on.
    void StartPolling()
    {
        ctrl->Start();
        ASSERT_TRUE(signal->WaitUntilIdle());
        ctrl->SetPollingEnabled(1);
        Round();
    }
    // One idle round: the pending wait runs out, the worker polls and waits again.
    void Round()
    {
        signal->Expire();
        ASSERT_TRUE(signal->WaitUntilIdle());
    }
    // Posts a command and waits for its reply; returns the lParam of WM_ZARN_COMMAND_DONE.
    LPARAM Run(int type, int value = 0)
    {
        const HWND reply = sink.CreateWindow();
        ctrl->PostCommand(type, value, reply);
        EXPECT_TRUE(sink.WaitFor([reply](const std::vector<RecordingMessageSink::Post>& posts) {
            for (const auto& p : posts) {
                if (p.window == reply && p.message == WM_ZARN_COMMAND_DONE) return true;
            }
            return false;
        }));
        for (const auto& p : sink.PostsTo(reply)) {
            if (p.message == WM_ZARN_COMMAND_DONE) return p.lParam;
        }
        return -1;
    }
};
