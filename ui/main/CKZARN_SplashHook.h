// What the main window needs of the splash screen, which the application object owns: the splash
// while the window starts, and the splash whose end closes the window. The application installs
// its own; without one no splash is shown and closing is immediate.
#pragma once

#include "platform/WinTypes.h"

class CKZARN_MainDlg;

class CKZARN_SplashHook {
public:
    virtual ~CKZARN_SplashHook() = default;

    // Shows the splash over the starting main window, when the splash is enabled.
    virtual void ShowSplashScreen(CKZARN_MainDlg* mainWindow) = 0;

    // Enables the splash together with its switch that ends the main window, and shows it over
    // the window (a splash still up from start-up serves). TRUE when a splash is up: when it goes,
    // it calls CKZARN_MainDlg::DestroyWindow. FALSE when no splash could be shown.
    virtual BOOL ShowClosingSplash(CKZARN_MainDlg* mainWindow) = 0;
};
