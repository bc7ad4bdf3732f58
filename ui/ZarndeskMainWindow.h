// Puts the program's main dialog behind the application object's view of a main window, and gives
// the dialog the application's splash window.
#pragma once

#include "core/ZarnMainWindow.h"
#include "ui/main/CKZARN_SplashHook.h"

#include <memory>

class CKZARN_MainDlg;

class ZarndeskMainWindow final : public ZarnMainWindow, public CKZARN_SplashHook {
public:
    ZarndeskMainWindow();
    ~ZarndeskMainWindow() override;

    QWidget* Widget() override;
    int DoModal() override;
    void DestroyWindow() override;
    int OnExternalProgramStarting(const std::string& file, const std::string& parameters) override;
    LRESULT OnExternalProgramEnded(WPARAM wParam, LPARAM lParam) override;

    void ShowSplashScreen(CKZARN_MainDlg* mainWindow) override;
    BOOL ShowClosingSplash(CKZARN_MainDlg* mainWindow) override;

private:
    std::unique_ptr<CKZARN_MainDlg> dialog_;
};
