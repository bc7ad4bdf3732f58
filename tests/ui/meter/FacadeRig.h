// The meter facade on simulated meters: a worker whose links reach HID meters in process and a
// T-310 behind a pseudo-terminal, its window messages going through the program's Qt message
// sink; a main window that does what the main dialog does with the worker's notices; the registry
// and the user's data folder in a scratch folder; and a loopback update server. The worker's
// sleeps run on a test clock and its idle waits run out only when the test says so.
#pragma once

#include "tests/ui/meter/FacadeEnvironment.h"

#include "meter/CKZARN_LMCtrl.h"
#include "meter/ZarnMeterMessages.h"
#include "ui/meter/CZarnManager.h"
#include "platform/PosixSerialDeviceSystem.h"
#include "platform/qt/QtMessageSink.h"
#include "platform/qt/WindowMessageHandler.h"
#include "tests/ui/meter/ProgressDialogWatcher.h"
#include "core/util/CRegistryHelper.h"
#include "platform/RegistryTypes.h"
#include "tests/support/FakeUsbSysfs.h"
#include "tests/support/LoopbackHttpServer.h"
#include "tests/support/ManualClock.h"
#include "tests/support/ManualSemaphore.h"
#include "tests/support/MeterSimulator.h"
#include "tests/support/ScratchFolder.h"
#include "tests/support/SimHidDeviceSystem.h"
#include "tests/support/SimMeterLinkFactory.h"
#include "tests/support/SimRegisterMeter.h"
#include "tests/support/SimT310Mode.h"
#include "tests/support/SimT310SerialLink.h"
#include "tests/support/SimulatedLineWaiter.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QWidget>

#include <cstdlib>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

// Stands in for the main dialog: keeps the facade's cached states and identity current from the
// worker's notices and records every notice.
class MainWindowStandIn final : public QWidget, public WindowMessageHandler {
public:
    MainWindowStandIn() { handle = QtMessageSink::Instance().Register(this, this); }
    ~MainWindowStandIn() override { QtMessageSink::Instance().Unregister(handle); }

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        messages.push_back({message, wParam, lParam});
        CZarnManager* facade = CZarnManager::GetInstance();
        switch (message) {
        case WM_ZARN_T310_CONNECTION: facade->SetT310State(static_cast<int>(wParam)); break;
        case WM_ZARN_T140_CONNECTION: facade->SetT140State(static_cast<int>(wParam)); break;
        case WM_ZARN_T520_CONNECTION: facade->SetT520State(static_cast<int>(wParam)); break;
        case WM_ZARN_T310_INFO:
        case WM_ZARN_T140_INFO:
        case WM_ZARN_T520_INFO: facade->RefreshMeterInfo(); break;
        case WM_ZARN_UPDATE_LIST_READY: facade->UpdateVersionList(); break;
        default: break;
        }
        // What the main dialog does next with the notice (it tells its pages), when a test needs it.
        if (afterMessage) afterMessage(message, wParam, lParam);
        return 0;
    }
    int Count(UINT message) const
    {
        int n = 0;
        for (const auto& m : messages) n += m.message == message ? 1 : 0;
        return n;
    }

    struct Message {
        UINT message;
        WPARAM wParam;
        LPARAM lParam;
    };
    std::vector<Message> messages;
    std::function<void(UINT, WPARAM, LPARAM)> afterMessage;
    HWND handle;
};

struct FacadeRig : FacadeEnvironment {
    MainWindowStandIn mainWindow;
    ProgressDialogWatcher watcher;
    LoopbackHttpServer server;
    // The attached T-310's mode.
    SimT310Mode* t310Mode = nullptr;

    ~FacadeRig() { ShutDown(); }

    std::shared_ptr<MeterSimulator> AddT140(unsigned modelCode = 0x11, SimRegisterMeter** mode = nullptr)
    {
        auto registers = SimRegisterMeter::T140(modelCode);
        if (mode != nullptr) *mode = registers.get();
        return hid.AddMeter("/sim/t140", 0x1F3C, 0x7002, std::move(registers));
    }
    std::shared_ptr<MeterSimulator> AddT520(SimRegisterMeter** mode = nullptr)
    {
        auto registers = SimRegisterMeter::T520();
        if (mode != nullptr) *mode = registers.get();
        return hid.AddMeter("/sim/t520", 0x1F3C, 0x7004, std::move(registers));
    }
    void AddT310()
    {
        auto mode = std::make_unique<SimT310Mode>();
        t310Mode = mode.get();
        AttachT310(std::move(mode));
    }

    // Points the update settings at the loopback server's version file.
    void ServeVersionFile(const std::string& body)
    {
        LoopbackHttpServer::Route route;
        route.body = body;
        server.SetRoute("/ver/version.txt", route);
        CRegistryHelper registry(HKEY_LOCAL_MACHINE, 0);
        registry.PushKey("SOFTWARE\\KESTRIN\\Zarndesk\\Download Setting");
        registry.SetString("Base Url", server.BaseUrl());
        registry.SetString("Version Confirm Url", "ver/version.txt");
    }

    // What the main dialog does at its start: the first update check, then the worker polls.
    void Start()
    {
        ASSERT_EQ(facade->Initialize(&mainWindow), 1);
        Settle();
    }
};
