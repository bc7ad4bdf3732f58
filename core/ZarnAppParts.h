// The pieces of the program that sit above the core and that the application object starts and
// ends: the main window and the meter facade. The program supplies the real ones; tests fakes.
#pragma once

#include "core/ZarnMainWindow.h"

#include <memory>

class ZarnAppParts {
public:
    virtual ~ZarnAppParts() = default;

    // A new main window with no parent.
    virtual std::unique_ptr<ZarnMainWindow> CreateMainWindow() = 0;
    // Stops the meter worker and deletes the facade if it still exists.
    virtual void DestroyMeterFacade() = 0;
};
