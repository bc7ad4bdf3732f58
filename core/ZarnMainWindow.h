// What the application object needs of the program's main window. The window classes live above
// the core, so the program hands the application a factory (ZarnAppParts) that makes one.
#pragma once

#include "platform/WinTypes.h"

#include <string>

class QWidget;

class ZarnMainWindow {
public:
    virtual ~ZarnMainWindow() = default;

    // The window itself: owner of the splash and the window a second instance brings forward.
    virtual QWidget* Widget() = 0;
    // Runs the window modally; returns when it has been destroyed. The result is not used.
    virtual int DoModal() = 0;
    // Ends the window at once, without its close handling (the end of a closing splash).
    virtual void DestroyWindow() = 0;
    // A child program is about to start: polling is suspended. Returns 1.
    virtual int OnExternalProgramStarting(const std::string& file, const std::string& parameters) = 0;
    // A child program has ended or could not be waited for: polling resumes. Returns 1.
    virtual LRESULT OnExternalProgramEnded(WPARAM wParam, LPARAM lParam) = 0;
};
