// The parts above the core for the application object's tests: makes FakeMainWindow objects and
// records the end of the meter facade, all into one log so that tests can check the order.
#pragma once

#include "core/ZarnAppParts.h"
#include "tests/core/FakeMainWindow.h"

#include <functional>
#include <string>
#include <vector>

class FakeAppParts final : public ZarnAppParts {
public:
    std::unique_ptr<ZarnMainWindow> CreateMainWindow() override
    {
        log.push_back("create window");
        auto window = std::make_unique<FakeMainWindow>(&log);
        window->duringModal = duringModal;
        return window;
    }
    void DestroyMeterFacade() override
    {
        log.push_back("destroy facade");
        if (onDestroyFacade) onDestroyFacade();
    }

    std::vector<std::string> log;
    std::function<void()> duringModal;
    std::function<void()> onDestroyFacade;
};
