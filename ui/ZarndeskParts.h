// The parts of Zarndesk above the core that the application object starts and ends: the main
// dialog and the meter facade.
#pragma once

#include "core/ZarnAppParts.h"

class ZarndeskParts final : public ZarnAppParts {
public:
    std::unique_ptr<ZarnMainWindow> CreateMainWindow() override;
    void DestroyMeterFacade() override;
};
